#include "editor/page_appearance.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include "chart/chart_painter.h"
#include "editor/field_widgets.h"
#include "resources/artwork.h"

namespace qora::gui {

namespace {

constexpr int kHeaderHelpNumber = 1;
constexpr const char* kGroupStyled = "qoraGroupStyled";

bool startsWith(const QString& name, const char* prefix) {
    return name.startsWith(QLatin1String(prefix));
}

// Button-style tabs: raised buttons, the page in front pressed in.
const char* const kButtonTabs = "QTabBar::tab { color: palette(button-text); border: 1px solid palette(dark); "
                                "border-radius: 3px; padding: 4px 12px; margin: 3px 3px 3px 0px; "
                                "background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 palette(light), "
                                "stop: 1 palette(button)); }"
                                "QTabBar::tab:hover:!selected { background: palette(light); }"
                                "QTabBar::tab:selected { background: palette(mid); border-color: palette(shadow); }";
// Flat buttons: only the page in front (and the one under the mouse) stands out.
const char* const kFlatTabs = "QTabBar::tab { color: palette(window-text); background: transparent; "
                              "border: 1px solid transparent; border-radius: 3px; padding: 4px 12px; "
                              "margin: 3px 3px 3px 0px; }"
                              "QTabBar::tab:hover:!selected { background: palette(midlight); border-color: "
                              "palette(mid); }"
                              "QTabBar::tab:selected { color: palette(highlighted-text); background: "
                              "palette(highlight); border-color: palette(highlight); }";

} // namespace

// Group boxes drawn as the editor's header panels: a band in the header colours carrying the heading across the
// top of a framed body. Over a skin the body is darkened a little, so the fields stand out from the pattern.
class PageGroupStyle final : public QProxyStyle {
public:
    PageGroupStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    void setLook(const QColor& band, const QColor& heading, bool skinned) {
        m_band = band;
        m_heading = heading;
        m_skinned = skinned;
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control != CC_GroupBox || box == nullptr) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QRectF frame = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
        const QColor edge = m_skinned ? QColor(255, 255, 255, 56) : option->palette.color(QPalette::Mid);
        painter->setPen(QPen(edge, 1));
        painter->setBrush(m_skinned ? QColor(0, 0, 0, 64) : QColor(Qt::transparent));
        painter->drawRoundedRect(frame, 3, 3);

        const QRectF band(frame.left(), frame.top(), frame.width(), bandHeight(option->fontMetrics));
        // Rounded at the top only, where it meets the frame's corners.
        QPainterPath top;
        top.setFillRule(Qt::WindingFill);
        top.addRoundedRect(band, 3, 3);
        top.addRect(band.adjusted(0, band.height() / 2, 0, 0));
        painter->setPen(Qt::NoPen);
        painter->setBrush(m_band);
        painter->drawPath(top);

        QFont font = widget != nullptr ? widget->font() : painter->font();
        font.setBold(true);
        painter->setFont(font);
        painter->setPen(m_heading);
        painter->drawText(subControlRect(CC_GroupBox, option, SC_GroupBoxLabel, widget),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, box->text);
        painter->restore();
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        if (control != CC_GroupBox)
            return QProxyStyle::subControlRect(control, option, part, widget);
        const QRect all = option->rect;
        const int band = bandHeight(option->fontMetrics);
        switch (part) {
        case SC_GroupBoxFrame:
            return all;
        case SC_GroupBoxLabel:
            return QRect(all.left() + 8, all.top(), std::max(0, all.width() - 16), band);
        case SC_GroupBoxContents:
            return all.adjusted(3, band + 2, -3, -3);
        case SC_GroupBoxCheckBox:
            return {};
        default:
            return QProxyStyle::subControlRect(control, option, part, widget);
        }
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override {
        QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
        if (type == CT_GroupBox)
            size.rwidth() += 24; // the bold heading and the band's padding
        return size;
    }

private:
    static int bandHeight(const QFontMetrics& metrics) { return metrics.height() + 8; }

    QColor m_band;
    QColor m_heading;
    bool m_skinned = false;
};

QColor screenColour(Color colour) {
    return ChartPainter::toQColor(colour);
}

Color settingsColour(const QColor& colour) {
    return rgbColor(static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
                    static_cast<std::uint8_t>(colour.blue()));
}

ColourRole colourRole(const QWidget* control) {
    if (control == nullptr)
        return ColourRole::None;
    const QString name = control->objectName();
    if (qobject_cast<const QGroupBox*>(control))
        return ColourRole::Header;
    if (const auto* help = qobject_cast<const HelpLabel*>(control))
        return help->helpNumber() == kHeaderHelpNumber ? ColourRole::Header : ColourRole::Prompt;
    if (qobject_cast<const QLabel*>(control)) {
        if (startsWith(name, "Panel"))
            return ColourRole::Header;
        if (startsWith(name, "c"))
            return ColourRole::ClearText;
        if (startsWith(name, "h"))
            return ColourRole::HotText;
        return ColourRole::None;
    }
    if (qobject_cast<const QLineEdit*>(control)) {
        if (startsWith(name, "ge") || startsWith(name, "gdl"))
            return ColourRole::Ghost;
        return startsWith(name, "e") ? ColourRole::Edit : ColourRole::None;
    }
    if (qobject_cast<const QComboBox*>(control)) {
        if (startsWith(name, "ge") || startsWith(name, "gdl"))
            return ColourRole::Ghost;
        for (const char* prefix : {"dl", "cb", "eI", "eO"})
            if (startsWith(name, prefix))
                return ColourRole::Edit;
    }
    return ColourRole::None;
}

PageAppearance::PageAppearance(QTabWidget* pages, QObject* parent)
    : QObject(parent), m_pages(pages), m_groupStyle(new PageGroupStyle) {
    m_groupStyle->setParent(this);
    const QPalette system = QApplication::palette();
    m_colours.fill(system.color(QPalette::WindowText));
    for (int page = 0; page < m_pages->count(); ++page)
        if (auto* scroll = qobject_cast<QScrollArea*>(m_pages->widget(page)); scroll && scroll->widget())
            scroll->widget()->installEventFilter(this);
}

PageAppearance::~PageAppearance() = default;

void PageAppearance::setSkin(const QPixmap& skin) {
    m_skin = skin;
    apply();
}

void PageAppearance::setColours(const AppColours& colours) {
    m_colours = colours;
    apply();
}

void PageAppearance::setPageStyle(int style) {
    m_pageStyle = style == TabbedPages || style == ButtonPages ? style : FlatButtonPages;
    const bool tabs = m_pageStyle == TabbedPages;
    m_pages->setDocumentMode(!tabs);
    m_pages->tabBar()->setDrawBase(tabs);
    m_pages->tabBar()->setStyleSheet(tabs                          ? QString()
                                     : m_pageStyle == ButtonPages ? QString::fromLatin1(kButtonTabs)
                                                                  : QString::fromLatin1(kFlatTabs));
}

void PageAppearance::setTabIcons(bool shown) {
    for (int page = 0; page < m_pages->count(); ++page)
        m_pages->setTabIcon(page, shown ? tabIcon(page) : QIcon());
}

bool PageAppearance::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && !m_skin.isNull()) {
        if (auto* page = qobject_cast<QWidget*>(watched)) {
            QPainter painter(page);
            painter.drawTiledPixmap(page->rect(), m_skin);
        }
    }
    return QObject::eventFilter(watched, event);
}

void PageAppearance::apply() {
    const bool skinned = hasSkin();
    m_groupStyle->setLook(m_colours[HeaderBackground], m_colours[HeaderText], skinned);

    // Plain text on the pages (unnamed headings, check boxes, figures) and the spin buttons' arrows.
    const QPalette system = QApplication::palette();
    for (int page = 0; page < m_pages->count(); ++page) {
        auto* scroll = qobject_cast<QScrollArea*>(m_pages->widget(page));
        QWidget* content = scroll ? scroll->widget() : m_pages->widget(page);
        if (content == nullptr)
            continue;
        QPalette palette = content->palette();
        palette.setColor(QPalette::WindowText, skinned ? m_colours[ClearText] : system.color(QPalette::WindowText));
        content->setPalette(palette);
        content->update();
    }
    // Arrows of buttons without a panel of their own (the spin buttons) stand on the page too; controls that draw
    // their own light surface keep dark arrows.
    const auto arrows = [&](QWidget* control, bool onPage) {
        const QColor text = onPage && skinned ? m_colours[ClearText] : system.color(QPalette::WindowText);
        QPalette palette = control->palette();
        palette.setColor(QPalette::WindowText, text);
        palette.setColor(QPalette::ButtonText, onPage && skinned ? text : system.color(QPalette::ButtonText));
        control->setPalette(palette);
    };
    for (QToolButton* button : m_pages->findChildren<QToolButton*>())
        arrows(button, button->autoRaise());
    for (QScrollBar* bar : m_pages->findChildren<QScrollBar*>())
        arrows(bar, false);

    for (QWidget* control : m_pages->findChildren<QWidget*>())
        colourControl(control, colourRole(control));
}

void PageAppearance::colourControl(QWidget* control, ColourRole role) {
    const QPalette system = QApplication::palette();
    QPalette palette = control->palette();
    const auto colour = [&](QPalette::ColorRole background, int backgroundIndex, QPalette::ColorRole text,
                            int textIndex) {
        palette.setColor(background, m_colours[static_cast<std::size_t>(backgroundIndex)]);
        palette.setColor(text, m_colours[static_cast<std::size_t>(textIndex)]);
    };
    switch (role) {
    case ColourRole::None:
        return;
    case ColourRole::Header:
        if (auto* box = qobject_cast<QGroupBox*>(control)) {
            if (!box->property(kGroupStyled).toBool()) {
                box->setStyle(m_groupStyle);
                box->setProperty(kGroupStyled, true);
            }
            box->update();
            return;
        }
        colour(QPalette::Window, HeaderBackground, QPalette::WindowText, HeaderText);
        control->setAutoFillBackground(true);
        break;
    case ColourRole::Prompt: {
        colour(QPalette::Window, PromptBackground, QPalette::WindowText, PromptText);
        control->setAutoFillBackground(true);
        // A prompt panel fills its cell, so the prompts of a group line up as one column of panels.
        control->setContentsMargins(5, 0, 5, 0);
        if (QWidget* parent = control->parentWidget(); parent && parent->layout()) {
            QLayout* layout = parent->layout();
            const int index = layout->indexOf(control);
            QLayoutItem* item = index >= 0 ? layout->itemAt(index) : nullptr;
            if (item != nullptr && item->alignment() == (Qt::AlignLeft | Qt::AlignVCenter))
                layout->setAlignment(control, Qt::Alignment());
        }
        break;
    }
    case ColourRole::Edit:
        colour(QPalette::Base, EditBackground, QPalette::Text, EditText);
        if (qobject_cast<QComboBox*>(control))
            colour(QPalette::Button, EditBackground, QPalette::ButtonText, EditText);
        break;
    case ColourRole::Ghost:
        colour(QPalette::Base, GhostBackground, QPalette::Text, GhostText);
        if (qobject_cast<QComboBox*>(control))
            colour(QPalette::Button, GhostBackground, QPalette::ButtonText, GhostText);
        break;
    case ColourRole::ClearText:
    case ColourRole::HotText:
        // The transparent-text colours are for text over a skin; plain pages keep the system's text colour.
        palette.setColor(QPalette::WindowText, !hasSkin()                      ? system.color(QPalette::WindowText)
                                               : role == ColourRole::HotText ? m_colours[HotClearText]
                                                                             : m_colours[ClearText]);
        break;
    }
    control->setPalette(palette);
}

} // namespace qora::gui
