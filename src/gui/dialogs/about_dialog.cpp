#include "dialogs/about_dialog.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "resources/artwork.h"
#include "settings/settings.h"

namespace qora::gui {

namespace {

QLabel* line(QWidget* parent, const QString& text, int top, const QColor& colour, bool bold = false) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPixelSize(11);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setGeometry(16, top, kAboutPictureSize.width() - 32, 15);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("dlgAbout"));
    setWindowTitle(tr("About QORA"));
    setModal(true);
    setFixedSize(kAboutPictureSize);

    const QColor quiet(196, 200, 210);
    const QColor amber(255, 190, 60);
    QLabel* version = line(this, tr("Version %1").arg(QString::fromLatin1(kProgramVersion)), 116, quiet);
    version->setObjectName(QStringLiteral("lVersion"));
    version->move(54, 116);
    line(this, tr("Licence: proprietary, all rights reserved."), 137, quiet)->setObjectName(QStringLiteral("lLicence"));
    line(this, tr("Help, the keyboard and qora-cli:"), 158, quiet)->setObjectName(QStringLiteral("lHelp"));
    m_guide = line(this, tr("Open the QORA user guide (Shift+F1)"), 172, amber, true);
    m_guide->setObjectName(QStringLiteral("lGuide"));
    m_guide->setCursor(Qt::PointingHandCursor);
    m_guide->adjustSize();
    m_guide->installEventFilter(this);
}

void AboutDialog::showAbout() {
    accept();
}

void AboutDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, artworkPixmap(kAboutPicture, kAboutPictureSize, devicePixelRatioF()));
}

void AboutDialog::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    QDialog::mousePressEvent(event);
}

void AboutDialog::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QDialog::mouseReleaseEvent(event);
    if (click)
        showAbout();
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_guide)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() == Qt::LeftButton && m_guide->rect().contains(release->position().toPoint())) {
            if (m_openGuide)
                m_openGuide();
            accept();
        }
        return true;
    }
    default:
        return QDialog::eventFilter(watched, event);
    }
}

} // namespace qora::gui
