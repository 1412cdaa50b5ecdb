#include "editor/vehicle_header.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "browser/car_thumbnails.h"
#include "browser/file_commands.h"
#include "chart/chart_painter.h"
#include "editor/car_picture.h"
#include "editor/page_model.h"
#include "platform/qt_text.h"
#include "settings/settings.h"

namespace qora::gui {

namespace {

const QSize kCarPictureSize(112, 56);

QColor appColour(const Settings& settings, int index) {
    return ChartPainter::toQColor(settings.appColor(index));
}

} // namespace

VehicleHeader::VehicleHeader(const Settings& settings, std::function<QString()> description, QWidget* parent)
    : QFrame(parent), m_settings(settings), m_description(std::move(description)) {
    auto* header = this;
    header->setObjectName(QStringLiteral("pHeader"));
    header->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(6, 6, 6, 6);
    row->setSpacing(8);

    m_vehPic = new QLabel(header);
    m_vehPic->setObjectName(QStringLiteral("iVehPic"));
    m_vehPic->setFixedSize(kCarPictureSize);
    m_vehPic->setToolTip(tr("Vehicle"));
    row->addWidget(m_vehPic);

    auto* names = new QVBoxLayout;
    names->setSpacing(3);
    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(0);
    m_changedIndicator = new QFrame(header);
    m_changedIndicator->setObjectName(QStringLiteral("pHasChangedIndicator"));
    m_changedIndicator->setFixedWidth(12);
    m_changedIndicator->setAutoFillBackground(true);
    m_changedIndicator->setToolTip(tr("Red: the vehicle has unsaved changes"));
    nameRow->addWidget(m_changedIndicator);

    m_carName = new QLabel(header);
    m_carName->setObjectName(QStringLiteral("pCarName"));
    m_carName->setAutoFillBackground(true);
    m_carName->setMargin(4);
    m_carName->setTextFormat(Qt::PlainText);
    QFont nameFont = m_carName->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.25);
    m_carName->setFont(nameFont);
    m_carName->setMinimumWidth(200);
    m_carName->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    nameRow->addWidget(m_carName, 1);

    m_fileToNotepad = new QToolButton(header);
    m_fileToNotepad->setObjectName(QStringLiteral("bFileToNotepad"));
    m_fileToNotepad->setText(tr("Open File In Notepad"));
    m_fileToNotepad->setToolTip(tr("Open File In Notepad"));
    m_fileToNotepad->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    m_fileToNotepad->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_fileToNotepad->setEnabled(false);
    nameRow->addSpacing(4);
    nameRow->addWidget(m_fileToNotepad);
    names->addLayout(nameRow);

    auto* ghostRow = new QHBoxLayout;
    ghostRow->setSpacing(0);
    ghostRow->addSpacing(12);
    m_ghostCarName = new QLabel(header);
    m_ghostCarName->setObjectName(QStringLiteral("pGhostCarName"));
    m_ghostCarName->setAutoFillBackground(true);
    m_ghostCarName->setMargin(3);
    m_ghostCarName->setTextFormat(Qt::PlainText);
    m_ghostCarName->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    ghostRow->addWidget(m_ghostCarName, 1);
    m_ghostToNotepad = new QToolButton(header);
    m_ghostToNotepad->setObjectName(QStringLiteral("bGhostToNotepad"));
    m_ghostToNotepad->setText(tr("Open Ghost In Notepad"));
    m_ghostToNotepad->setToolTip(tr("Open Ghost In Notepad"));
    m_ghostToNotepad->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    m_ghostToNotepad->setEnabled(false);
    m_ghostToNotepad->hide();
    ghostRow->addSpacing(4);
    ghostRow->addWidget(m_ghostToNotepad);
    names->addLayout(ghostRow);

    m_editorName = new QLabel(tr("Prior Editor: "), header);
    m_editorName->setObjectName(QStringLiteral("lEditorName"));
    m_editorName->setTextFormat(Qt::PlainText);
    auto* editorRow = new QHBoxLayout;
    editorRow->addSpacing(12);
    editorRow->addWidget(m_editorName, 1);
    names->addLayout(editorRow);
    names->addStretch(1);
    row->addLayout(names, 1);

    m_ghostPic = new QLabel(header);
    m_ghostPic->setObjectName(QStringLiteral("iGhostPic"));
    m_ghostPic->setFixedSize(kCarPictureSize);
    m_ghostPic->setToolTip(tr("Ghost vehicle"));
    row->addWidget(m_ghostPic);

    setNoPicture(m_vehPic);
    setNoPicture(m_ghostPic);

    m_savedStatusTimer = new QTimer(this);
    m_savedStatusTimer->setObjectName(QStringLiteral("Timer1"));
    m_savedStatusTimer->setInterval(editor::kSaveAnimationIntervalMs);
    connect(m_savedStatusTimer, &QTimer::timeout, this, [this] { animateSavedStatus(); });
    m_ghostCarName->hide();
}

void VehicleHeader::setNoPicture(QLabel* picture) {
    picture->setPixmap(noCarPicture(picture->size(), devicePixelRatioF()));
}

void VehicleHeader::showStatus(const QString& text, const QColor& font, const QColor& background) {
    if (text == fromLatin1(editor::kDefaultStatus)) {
        m_carName->setText(m_description());
        QPalette car = m_carName->palette();
        car.setColor(QPalette::Window, appColour(m_settings, editor::kStatusBackgroundColor));
        car.setColor(QPalette::WindowText, appColour(m_settings, editor::kStatusFontColor));
        m_carName->setPalette(car);
        QPalette ghost = m_ghostCarName->palette();
        ghost.setColor(QPalette::Window, appColour(m_settings, editor::kGhostStatusBackgroundColor));
        ghost.setColor(QPalette::WindowText, appColour(m_settings, editor::kGhostStatusFontColor));
        m_ghostCarName->setPalette(ghost);
        return;
    }
    m_carName->setText(text);
    QPalette palette = m_carName->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, font);
    m_carName->setPalette(palette);
}

void VehicleHeader::restoreStatus() {
    showStatus(fromLatin1(editor::kDefaultStatus), QColor(), QColor());
}

void VehicleHeader::showChanged(bool changed) {
    QPalette palette = m_changedIndicator->palette();
    palette.setColor(QPalette::Window, changed ? QColor(255, 0, 0) : QColor(0, 255, 0));
    m_changedIndicator->setPalette(palette);
    m_changedIndicator->setToolTip(changed ? tr("The vehicle has unsaved changes") : tr("No unsaved changes"));
}

// The save animation: the text opens out from its middle, then blinks, then the status returns.
void VehicleHeader::animateSavedStatus() {
    const editor::SaveAnimationFrame frame = editor::saveAnimationFrame(m_animationCounter);
    if (frame.done || !isVisible()) {
        m_savedStatusTimer->stop();
        m_animationCounter = 0;
        restoreStatus();
        return;
    }
    m_carName->setText(fromLatin1(frame.text));
    ++m_animationCounter;
}

void VehicleHeader::showStatusNow(const QString& text, const QColor& font, const QColor& background) {
    showStatus(text, font, background);
    m_carName->repaint();
}

void VehicleHeader::setDescription(const QString& description) {
    m_carName->setText(description);
}

void VehicleHeader::playSavedAnimation() {
    m_animationCounter = 0;
    m_savedStatusTimer->start();
}

void VehicleHeader::stopSavedAnimation() {
    m_savedStatusTimer->stop();
    m_animationCounter = 0;
}

void VehicleHeader::setPriorEditor(const std::string& editorName) {
    m_editorName->setText(fromLatin1(browser::priorEditorText(editorName)));
}

void VehicleHeader::setVehiclePicture(const browser::CarPicture& picture) {
    const qreal ratio = devicePixelRatioF();
    m_vehPic->setPixmap(fitToFrame(carPicturePixmap(picture, ratio), picture.stretched, m_vehPic->size(), ratio));
}

void VehicleHeader::setGhostPicture(const browser::CarPicture& picture, const QString& ghostDescription) {
    const qreal ratio = devicePixelRatioF();
    m_ghostPic->setPixmap(fitToFrame(carPicturePixmap(picture, ratio), picture.stretched, m_ghostPic->size(), ratio));
    m_ghostPic->setToolTip(tr("Ghost vehicle: %1").arg(ghostDescription));
}

void VehicleHeader::clearGhostPicture() {
    setNoPicture(m_ghostPic);
    m_ghostPic->setToolTip(tr("Ghost vehicle"));
}

void VehicleHeader::showGhostRow(bool shown) {
    m_ghostToNotepad->setVisible(shown);
    m_ghostToNotepad->setEnabled(shown);
    m_ghostCarName->setVisible(shown);
    if (!shown)
        m_ghostCarName->clear();
}

void VehicleHeader::setGhostName(const QString& name) {
    m_ghostCarName->setText(name);
}

} // namespace qora::gui
