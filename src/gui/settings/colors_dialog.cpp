#include "settings/colors_dialog.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/page_appearance.h"
#include "platform/dialog_runner.h"
#include "platform/prompt.h"
#include "resources/artwork.h"
#include "settings/settings.h"

namespace qora::gui {

namespace {

// Background and text colour of each sample; the transparent labels have no background (-1).
struct SampleColours {
    int background;
    int text;
};
constexpr std::array<SampleColours, ColorsDialog::kSampleCount> kSampleColours{{
    {HeaderBackground, HeaderText},
    {PromptBackground, PromptText},
    {EditBackground, EditText},
    {GhostBackground, GhostText},
    {-1, ClearText},
    {-1, HotClearText},
}};

constexpr std::array<int, 10> kEditedColours{HeaderBackground, HeaderText,  PromptBackground, PromptText,
                                             EditBackground,   EditText,    GhostBackground,  GhostText,
                                             ClearText,        HotClearText};

// The samples stand on the pages' skin, as the controls they show do.
class SampleBoard final : public QWidget {
public:
    using QWidget::QWidget;
    void setSkin(const QPixmap& skin) {
        m_skin = skin;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawTiledPixmap(rect(), m_skin);
        painter.setPen(QColor(255, 255, 255, 60));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    QPixmap m_skin;
};

} // namespace

ColorSample::ColorSample(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
    setMinimumHeight(fontMetrics().height() + 10);
}

void ColorSample::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button();
    event->accept();
}

void ColorSample::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = event->button() == m_pressed && rect().contains(event->position().toPoint());
    m_pressed = Qt::NoButton;
    event->accept();
    if (click)
        emit clicked(event->button());
}

ColorsDialog::ColorsDialog(Prompt& prompt, DialogRunner& dialogs, QWidget* parent)
    : BaseDialog(tr("Edit Data Colors"), parent), m_prompt(&prompt), m_dialogs(&dialogs) {
    setObjectName(QStringLiteral("dlgDataColors"));

    auto* board = new SampleBoard(this);
    m_board = board;
    board->setObjectName(QStringLiteral("pSample"));
    board->setSkin(artworkPixmap(kPageBackground, devicePixelRatioF()));
    auto* grid = new QGridLayout(board);
    grid->setContentsMargins(12, 10, 12, 12);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);

    auto* title = new QLabel(tr("SAMPLE"), board);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    QPalette light = title->palette();
    light.setColor(QPalette::WindowText, QColor(230, 232, 238));
    title->setPalette(light);
    grid->addWidget(title, 0, 0, 1, 3);

    static constexpr std::array<const char*, kSampleCount> kNames{"pHeaderSample", "pPromptSample", "pVehicleSample",
                                                                  "pGhostSample",  "cClearSample",  "hHotSample"};
    const std::array<QString, kSampleCount> captions{tr("HEADER PANEL"),     tr("Data Prompt:"),
                                                     tr("vehicle data"),     tr("ghost data"),
                                                     tr("Transparent Text"), tr("Hot Transparent Text")};
    for (int i = 0; i < kSampleCount; ++i) {
        auto* sample = new ColorSample(captions[static_cast<std::size_t>(i)], board);
        sample->setObjectName(QString::fromLatin1(kNames[static_cast<std::size_t>(i)]));
        sample->setMargin(4);
        const bool panel = kSampleColours[static_cast<std::size_t>(i)].background >= 0;
        sample->setAutoFillBackground(panel);
        if (i == VehicleSample || i == GhostSample)
            sample->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        sample->setToolTip(panel ? tr("Left-click: text colour.  Right-click: background colour.")
                                 : tr("Left-click: text colour."));
        const auto which = static_cast<Sample>(i);
        connect(sample, &ColorSample::clicked, this,
                [this, which](Qt::MouseButton button) { sampleClicked(which, button); });
        m_samples[static_cast<std::size_t>(i)] = sample;
    }
    QFont headerFont = m_samples[HeaderSample]->font();
    headerFont.setBold(true);
    m_samples[HeaderSample]->setFont(headerFont);
    grid->addWidget(m_samples[HeaderSample], 1, 0, 1, 3);
    grid->addWidget(m_samples[PromptSample], 2, 0);
    grid->addWidget(m_samples[VehicleSample], 2, 1);
    grid->addWidget(m_samples[GhostSample], 2, 2);
    grid->addWidget(m_samples[ClearSample], 3, 0);
    grid->addWidget(m_samples[HotSample], 3, 1, 1, 2);
    for (int column = 0; column < 3; ++column)
        grid->setColumnStretch(column, 1);
    contentLayout()->addWidget(board);

    auto* instruction = new QLabel(
        tr("LEFT-CLICK to change a controls text color.  RIGHT-CLICK to change a controls background color."), this);
    instruction->setObjectName(QStringLiteral("lInstruction"));
    instruction->setWordWrap(true);
    contentLayout()->addWidget(instruction);

    m_reset = new QPushButton(tr("&Reset To Default Windows Colors"), this);
    m_reset->setObjectName(QStringLiteral("bResetColors"));
    connect(m_reset, &QPushButton::clicked, this, &ColorsDialog::resetToDefaults);
    auto* resetRow = new QHBoxLayout;
    resetRow->addWidget(m_reset);
    resetRow->addStretch(1);
    contentLayout()->addLayout(resetRow);

    setMinimumWidth(440);
    resetToDefaults();
}

void ColorsDialog::load(const Settings& settings) {
    for (int index = 0; index < static_cast<int>(m_colours.size()); ++index)
        m_colours[static_cast<std::size_t>(index)] = settings.appColor(index);
    showColours();
}

void ColorsDialog::store(Settings& settings) const {
    for (int index : kEditedColours)
        settings.setAppColor(index, m_colours[static_cast<std::size_t>(index)]);
}

void ColorsDialog::setBackdrop(const QPixmap& skin) {
    if (!skin.isNull())
        static_cast<SampleBoard*>(m_board)->setSkin(skin);
}

void ColorsDialog::resetToDefaults() {
    m_colours[HeaderBackground] = clActiveCaption;
    m_colours[HeaderText] = clCaptionText;
    m_colours[PromptBackground] = clHighlight;
    m_colours[PromptText] = clHighlightText;
    m_colours[EditBackground] = clWindow;
    m_colours[EditText] = clWindowText;
    m_colours[GhostBackground] = rgbColor(0xC0, 0xC0, 0xC0);
    m_colours[GhostText] = rgbColor(0x00, 0x80, 0x80);
    m_colours[ClearText] = rgbColor(0xFF, 0xFF, 0xFF);
    m_colours[HotClearText] = rgbColor(0x00, 0xFF, 0x00);
    showColours();
}

void ColorsDialog::sampleClicked(Sample which, Qt::MouseButton button) {
    const SampleColours colours = kSampleColours[static_cast<std::size_t>(which)];
    int index = -1;
    if (button == Qt::LeftButton)
        index = colours.text;
    else if (button == Qt::RightButton)
        index = colours.background;
    else
        return;
    if (index < 0) {
        m_prompt->beep(); // a transparent label has no background to colour
        return;
    }
    QColorDialog dialog(screenColour(m_colours[static_cast<std::size_t>(index)]), this);
    dialog.setObjectName(QStringLiteral("dlgDataColor"));
    dialog.setWindowTitle(button == Qt::LeftButton ? tr("Text Color") : tr("Background Color"));
    if (m_dialogs->run(dialog) != QDialog::Accepted || !dialog.selectedColor().isValid())
        return;
    m_colours[static_cast<std::size_t>(index)] = settingsColour(dialog.selectedColor());
    showColours();
}

void ColorsDialog::showColours() {
    for (int i = 0; i < kSampleCount; ++i) {
        ColorSample* sample = m_samples[static_cast<std::size_t>(i)];
        const SampleColours colours = kSampleColours[static_cast<std::size_t>(i)];
        QPalette palette = sample->palette();
        if (colours.background >= 0)
            palette.setColor(QPalette::Window, screenColour(m_colours[static_cast<std::size_t>(colours.background)]));
        palette.setColor(QPalette::WindowText, screenColour(m_colours[static_cast<std::size_t>(colours.text)]));
        sample->setPalette(palette);
    }
}

} // namespace qora::gui
