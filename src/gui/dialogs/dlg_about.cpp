#include "dialogs/dlg_about.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "resources/artwork.h"
#include "settings/settings.h"

namespace qora::gui {

namespace {

constexpr const char* kUrlProperty = "qoraUrl";

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

TdlgAbout::TdlgAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_openUrl([](const QUrl& url) {
          QDesktopServices::openUrl(url);
      }) {
    setObjectName(QStringLiteral("dlgAbout"));
    setWindowTitle(tr("About QORA"));
    setModal(true);
    setFixedSize(kAboutPictureSize);

    const QColor quiet(196, 200, 210);
    const QColor amber(255, 190, 60);
    QLabel* version = line(this, tr("Version %1").arg(QString::fromLatin1(kProgramVersion)), 116, quiet);
    version->setObjectName(QStringLiteral("lVersion"));
    version->move(54, 116);
    line(this, tr("Comments, suggestions, or bug reports"), 137, quiet)->setObjectName(QStringLiteral("lComments"));
    m_mail = line(this, QString::fromLatin1(kMailAddress), 151, amber, true);
    m_mail->setObjectName(QStringLiteral("lMail"));
    m_mail->setProperty(kUrlProperty, QStringLiteral("mailto:") + QString::fromLatin1(kMailAddress));
    line(this, tr("Check the site below for updates to this software"), 168, quiet)
        ->setObjectName(QStringLiteral("lUpdates"));
    m_web = line(this, QString::fromLatin1(kWebSite), 182, amber, true);
    m_web->setObjectName(QStringLiteral("lWebSite"));
    m_web->setProperty(kUrlProperty, QString::fromLatin1(kWebSite));
    for (QLabel* contact : {m_mail, m_web}) {
        contact->setCursor(Qt::PointingHandCursor);
        contact->setToolTip(contact->property(kUrlProperty).toString());
        contact->adjustSize();
        contact->installEventFilter(this);
    }
}

void TdlgAbout::Image1Click() {
    accept();
}

void TdlgAbout::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, artworkPixmap(kAboutPicture, kAboutPictureSize, devicePixelRatioF()));
}

void TdlgAbout::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    QDialog::mousePressEvent(event);
}

void TdlgAbout::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QDialog::mouseReleaseEvent(event);
    if (click)
        Image1Click();
}

bool TdlgAbout::eventFilter(QObject* watched, QEvent* event) {
    auto* contact = qobject_cast<QLabel*>(watched);
    if (contact == nullptr || (contact != m_mail && contact != m_web))
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() == Qt::LeftButton && contact->rect().contains(release->position().toPoint()) &&
            m_openUrl)
            m_openUrl(QUrl(contact->property(kUrlProperty).toString()));
        return true;
    }
    default:
        return QDialog::eventFilter(watched, event);
    }
}

} // namespace qora::gui
