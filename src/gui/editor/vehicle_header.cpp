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

    m_vehiclePicture = new QLabel(header);
    m_vehiclePicture->setObjectName(QStringLiteral("iVehPic"));
    m_vehiclePicture->setFixedSize(kCarPictureSize);
    m_vehiclePicture->setToolTip(tr("Vehicle"));
    row->addWidget(m_vehiclePicture);

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

    m_vehicleName = new QLabel(header);
    m_vehicleName->setObjectName(QStringLiteral("pCarName"));
    m_vehicleName->setAutoFillBackground(true);
    m_vehicleName->setMargin(4);
    m_vehicleName->setTextFormat(Qt::PlainText);
    QFont nameFont = m_vehicleName->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.25);
    m_vehicleName->setFont(nameFont);
    m_vehicleName->setMinimumWidth(200);
    m_vehicleName->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    nameRow->addWidget(m_vehicleName, 1);

    m_vehicleNotepad = new QToolButton(header);
    m_vehicleNotepad->setObjectName(QStringLiteral("bFileToNotepad"));
    m_vehicleNotepad->setText(tr("Open File In Notepad"));
    m_vehicleNotepad->setToolTip(tr("Open File In Notepad"));
    m_vehicleNotepad->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    m_vehicleNotepad->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_vehicleNotepad->setEnabled(false);
    nameRow->addSpacing(4);
    nameRow->addWidget(m_vehicleNotepad);
    names->addLayout(nameRow);

    auto* ghostRow = new QHBoxLayout;
    ghostRow->setSpacing(0);
    ghostRow->addSpacing(12);
    m_ghostName = new QLabel(header);
    m_ghostName->setObjectName(QStringLiteral("pGhostCarName"));
    m_ghostName->setAutoFillBackground(true);
    m_ghostName->setMargin(3);
    m_ghostName->setTextFormat(Qt::PlainText);
    m_ghostName->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    ghostRow->addWidget(m_ghostName, 1);
    m_ghostNotepad = new QToolButton(header);
    m_ghostNotepad->setObjectName(QStringLiteral("bGhostToNotepad"));
    m_ghostNotepad->setText(tr("Open Ghost In Notepad"));
    m_ghostNotepad->setToolTip(tr("Open Ghost In Notepad"));
    m_ghostNotepad->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    m_ghostNotepad->setEnabled(false);
    m_ghostNotepad->hide();
    ghostRow->addSpacing(4);
    ghostRow->addWidget(m_ghostNotepad);
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

    m_ghostPicture = new QLabel(header);
    m_ghostPicture->setObjectName(QStringLiteral("iGhostPic"));
    m_ghostPicture->setFixedSize(kCarPictureSize);
    m_ghostPicture->setToolTip(tr("Ghost vehicle"));
    row->addWidget(m_ghostPicture);

    setNoPicture(m_vehiclePicture);
    setNoPicture(m_ghostPicture);

    m_savedStatusTimer = new QTimer(this);
    m_savedStatusTimer->setObjectName(QStringLiteral("Timer1"));
    m_savedStatusTimer->setInterval(editor::kSaveAnimationIntervalMs);
    connect(m_savedStatusTimer, &QTimer::timeout, this, [this] { animateSavedStatus(); });
    m_ghostName->hide();
}

void VehicleHeader::setNoPicture(QLabel* picture) {
    picture->setPixmap(noCarPicture(picture->size(), devicePixelRatioF()));
}

void VehicleHeader::showStatus(const QString& text, const QColor& font, const QColor& background) {
    if (text == fromLatin1(editor::kDefaultStatus)) {
        m_vehicleName->setText(m_description());
        QPalette car = m_vehicleName->palette();
        car.setColor(QPalette::Window, appColour(m_settings, editor::kStatusBackgroundColor));
        car.setColor(QPalette::WindowText, appColour(m_settings, editor::kStatusFontColor));
        m_vehicleName->setPalette(car);
        QPalette ghost = m_ghostName->palette();
        ghost.setColor(QPalette::Window, appColour(m_settings, editor::kGhostStatusBackgroundColor));
        ghost.setColor(QPalette::WindowText, appColour(m_settings, editor::kGhostStatusFontColor));
        m_ghostName->setPalette(ghost);
        return;
    }
    m_vehicleName->setText(text);
    QPalette palette = m_vehicleName->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, font);
    m_vehicleName->setPalette(palette);
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
    m_vehicleName->setText(fromLatin1(frame.text));
    ++m_animationCounter;
}

void VehicleHeader::showStatusNow(const QString& text, const QColor& font, const QColor& background) {
    showStatus(text, font, background);
    m_vehicleName->repaint();
}

void VehicleHeader::setDescription(const QString& description) {
    m_vehicleName->setText(description);
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
    m_vehiclePicture->setPixmap(
        fitToFrame(carPicturePixmap(picture, ratio), picture.stretched, m_vehiclePicture->size(), ratio));
}

void VehicleHeader::setGhostPicture(const browser::CarPicture& picture, const QString& ghostDescription) {
    const qreal ratio = devicePixelRatioF();
    m_ghostPicture->setPixmap(
        fitToFrame(carPicturePixmap(picture, ratio), picture.stretched, m_ghostPicture->size(), ratio));
    m_ghostPicture->setToolTip(tr("Ghost vehicle: %1").arg(ghostDescription));
}

void VehicleHeader::clearGhostPicture() {
    setNoPicture(m_ghostPicture);
    m_ghostPicture->setToolTip(tr("Ghost vehicle"));
}

void VehicleHeader::showGhostRow(bool shown) {
    m_ghostNotepad->setVisible(shown);
    m_ghostNotepad->setEnabled(shown);
    m_ghostName->setVisible(shown);
    if (!shown)
        m_ghostName->clear();
}

void VehicleHeader::setGhostName(const QString& name) {
    m_ghostName->setText(name);
}

} // namespace qora::gui
