#include "help/help_window.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace qora::gui {

namespace {

constexpr int kAnchorRole = Qt::UserRole;

bool readable(const QString& path) {
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
}

QUrl urlOf(const QString& path) {
    return path.startsWith(QLatin1String(":/")) ? QUrl(QStringLiteral("qrc") + path) : QUrl::fromLocalFile(path);
}

// A page the help browser shows itself: the guide's own file or another page of the same kind beside it.
bool isGuidePage(const QUrl& url) {
    if (url.scheme() != QLatin1String("qrc") && !url.isLocalFile())
        return false;
    const QString suffix = QFileInfo(url.path()).suffix().toLower();
    return suffix == QLatin1String("htm") || suffix == QLatin1String("html");
}

// The first anchor name a text block carries, for the contents pane.
QString anchorOf(const QTextBlock& block) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QStringList names = it.fragment().charFormat().anchorNames();
        if (!names.isEmpty())
            return names.constFirst();
    }
    return {};
}

} // namespace

QString builtInUserGuidePath() {
    return QStringLiteral(":/qora/help/") + QLatin1String(kUserGuideFileName);
}

QUrl locateUserGuide(const QString& programFolder, const QString& builtIn) {
    if (!programFolder.isEmpty()) {
        const QString own = QDir(programFolder).filePath(QLatin1String(kUserGuideFileName));
        if (readable(own))
            return urlOf(own);
    }
    if (readable(builtIn))
        return urlOf(builtIn);
    return {};
}

HelpWindow::HelpWindow(QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_openExternal([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("fHelp"));
    setWindowTitle(tr("QORA Help"));
    // Closing the editor ends the program even while the guide is still open.
    setAttribute(Qt::WA_QuitOnClose, false);

    m_contents = new QTreeWidget(this);
    m_contents->setObjectName(QStringLiteral("twContents"));
    m_contents->setHeaderLabel(tr("Contents"));
    m_contents->setRootIsDecorated(true);
    m_contents->setUniformRowHeights(true);
    connect(m_contents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { goToAnchor(item->data(0, kAnchorRole).toString()); });
    connect(m_contents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { goToAnchor(item->data(0, kAnchorRole).toString()); });

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("tbGuide"));
    // Links are followed here, so that a link leaving the guide can go to the desktop instead.
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::openLink);
    // A move inside the same page changes the history but not always the source.
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] { selectContentsEntry(); });
    connect(m_browser, &QTextBrowser::historyChanged, this, [this] { selectContentsEntry(); });
    connect(m_browser, &QTextBrowser::highlighted, this, [this](const QUrl& link) {
        if (link.isEmpty())
            statusBar()->clearMessage();
        else
            statusBar()->showMessage(link.scheme() == QLatin1String("qrc") || link.isRelative() ? QString()
                                                                                               : link.toString());
    });

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("spHelp"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(m_contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({270, 640});

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(splitter, 1);
    layout->addWidget(createFindBar());
    setCentralWidget(central);

    createActions();
    statusBar()->setSizeGripEnabled(true);
    resize(940, 680);
}

void HelpWindow::createActions() {
    QToolBar* bar = addToolBar(tr("Navigation"));
    bar->setObjectName(QStringLiteral("tbHelp"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    const auto action = [this, bar](const char* name, const QString& text, QStyle::StandardPixmap icon,
                                    const QKeySequence& keys, const QString& tip) {
        auto* a = new QAction(style()->standardIcon(icon), text, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(keys);
        a->setToolTip(tip.isEmpty() ? text : tip + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) +
                                                  QLatin1Char(')'));
        bar->addAction(a);
        return a;
    };
    m_back = action("aBack", tr("&Back"), QStyle::SP_ArrowBack, QKeySequence::Back, tr("Back"));
    m_forward = action("aForward", tr("&Forward"), QStyle::SP_ArrowForward, QKeySequence::Forward, tr("Forward"));
    QAction* home = action("aHome", tr("&Home"), QStyle::SP_DirHomeIcon, QKeySequence(Qt::ALT | Qt::Key_Home),
                           tr("Back to the start of the guide"));
    bar->addSeparator();
    QAction* findAction =
        action("aFind", tr("&Find"), QStyle::SP_FileDialogContentsView, QKeySequence::Find, tr("Find in the guide"));
    bar->addSeparator();
    QAction* web = action("aOpenInBrowser", tr("Open in &Web Browser"), QStyle::SP_DesktopIcon, {}, {});
    web->setToolTip(tr("Show the guide in your web browser"));

    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(home, &QAction::triggered, this, [this] { goToAnchor(QString()); });
    connect(findAction, &QAction::triggered, this, &HelpWindow::showFindBar);
    connect(web, &QAction::triggered, this, &HelpWindow::openInWebBrowser);

    // Keys without a button: find the next and previous match, and the text size.
    const auto key = [this](const QKeySequence& keys, auto slot) {
        auto* a = new QAction(this);
        a->setShortcut(keys);
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
    };
    key(QKeySequence::FindNext, [this] { findFromBar(false); });
    key(QKeySequence::FindPrevious, [this] { findFromBar(true); });
    key(QKeySequence::ZoomIn, [this] { m_browser->zoomIn(1); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { m_browser->zoomIn(1); });
    key(QKeySequence::ZoomOut, [this] { m_browser->zoomOut(1); });
    key(QKeySequence::Close, [this] { close(); });
}

QWidget* HelpWindow::createFindBar() {
    m_findBar = new QWidget(this);
    m_findBar->setObjectName(QStringLiteral("pFindBar"));
    auto* row = new QHBoxLayout(m_findBar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);

    auto* caption = new QLabel(tr("Fi&nd:"), m_findBar);
    m_findText = new QLineEdit(m_findBar);
    m_findText->setObjectName(QStringLiteral("eFind"));
    m_findText->setClearButtonEnabled(true);
    m_findText->setPlaceholderText(tr("Text to find in the guide"));
    caption->setBuddy(m_findText);

    const auto button = [this](const char* name, const QString& text, const QString& tip) {
        auto* b = new QToolButton(m_findBar);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setToolTip(tip);
        b->setAutoRaise(true);
        return b;
    };
    QToolButton* next = button("bFindNext", tr("Next"), tr("Next match (Enter)"));
    QToolButton* previous = button("bFindPrevious", tr("Previous"), tr("Previous match (Shift+Enter)"));
    QToolButton* hide = button("bFindClose", QStringLiteral("\u2715"), tr("Close the find bar (Esc)"));
    m_findStatus = new QLabel(m_findBar);
    m_findStatus->setObjectName(QStringLiteral("lFindStatus"));

    row->addWidget(caption);
    row->addWidget(m_findText, 1);
    row->addWidget(previous);
    row->addWidget(next);
    row->addWidget(m_findStatus);
    row->addStretch(0);
    row->addWidget(hide);

    connect(next, &QToolButton::clicked, this, [this] { findFromBar(false); });
    connect(previous, &QToolButton::clicked, this, [this] { findFromBar(true); });
    connect(hide, &QToolButton::clicked, this, [this] {
        m_findBar->hide();
        m_browser->setFocus();
    });
    connect(m_findText, &QLineEdit::returnPressed, this, [this] { findFromBar(false); });
    // Typing searches as it goes, from the start of the current match so that the match can grow.
    connect(m_findText, &QLineEdit::textEdited, this, [this](const QString& text) {
        QTextCursor cursor = m_browser->textCursor();
        cursor.setPosition(cursor.selectionStart());
        m_browser->setTextCursor(cursor);
        if (text.isEmpty())
            m_findStatus->clear();
        else
            findFromBar(false);
    });
    auto* backwards = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Return), m_findText);
    backwards->setContext(Qt::WidgetShortcut);
    connect(backwards, &QShortcut::activated, this, [this] { findFromBar(true); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_findBar);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, hide, &QToolButton::click);

    m_findBar->hide();
    return m_findBar;
}

void HelpWindow::showGuide(const QUrl& guide) {
    if (guide == m_guide && !m_browser->document()->isEmpty())
        return;
    m_guide = guide;
    m_browser->clearHistory();
    m_browser->setSource(guide, QTextDocument::HtmlResource);
    buildContents();
    selectContentsEntry();
}

void HelpWindow::openLink(const QUrl& link) {
    const QUrl target = m_browser->source().resolved(link);
    if (isGuidePage(target))
        m_browser->setSource(target, QTextDocument::HtmlResource);
    else
        m_openExternal(target);
}

void HelpWindow::goToAnchor(const QString& anchor) {
    QUrl target = m_guide;
    if (!anchor.isEmpty())
        target.setFragment(anchor);
    if (target == m_browser->source()) {
        // Already there: bring the heading back to the top after the user scrolled away from it.
        if (anchor.isEmpty())
            m_browser->verticalScrollBar()->setValue(0);
        else
            m_browser->scrollToAnchor(anchor);
        return;
    }
    m_browser->setSource(target, QTextDocument::HtmlResource);
    if (anchor.isEmpty())
        m_browser->verticalScrollBar()->setValue(0);
}

// The contents pane lists the guide's second- and third-level headings that carry an anchor, so it also fits a
// guide the user wrote.
void HelpWindow::buildContents() {
    m_contents->clear();
    QTreeWidgetItem* section = nullptr;
    const QTextDocument* document = m_browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level != 2 && level != 3)
            continue;
        const QString anchor = anchorOf(block);
        const QString title = block.text().simplified();
        if (anchor.isEmpty() || title.isEmpty())
            continue;
        QTreeWidgetItem* item = (level == 3 && section != nullptr) ? new QTreeWidgetItem(section)
                                                                   : new QTreeWidgetItem(m_contents);
        if (level == 2 || section == nullptr)
            section = item;
        item->setText(0, title);
        item->setToolTip(0, title);
        item->setData(0, kAnchorRole, anchor);
    }
    m_contents->expandAll();
    m_contents->setVisible(m_contents->topLevelItemCount() > 0);
}

void HelpWindow::selectContentsEntry() {
    const QString anchor = m_browser->source().fragment();
    QTreeWidgetItemIterator it(m_contents);
    for (; *it != nullptr; ++it) {
        if ((*it)->data(0, kAnchorRole).toString() == anchor) {
            const QSignalBlocker blocker(m_contents);
            m_contents->setCurrentItem(*it);
            m_contents->scrollToItem(*it);
            return;
        }
    }
    m_contents->clearSelection();
}

bool HelpWindow::find(const QString& text, bool backward) {
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (m_browser->find(text, flags))
        return true;
    // Round the end of the guide to its other end.
    QTextCursor cursor = m_browser->textCursor();
    cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    m_browser->setTextCursor(cursor);
    if (m_browser->find(text, flags))
        return true;
    cursor.clearSelection();
    m_browser->setTextCursor(cursor);
    return false;
}

void HelpWindow::showFindBar() {
    m_findBar->show();
    m_findText->setFocus(Qt::ShortcutFocusReason);
    m_findText->selectAll();
}

void HelpWindow::findFromBar(bool backward) {
    if (!m_findBar->isVisible() || m_findText->text().isEmpty()) {
        showFindBar();
        return;
    }
    const bool found = find(m_findText->text(), backward);
    m_findStatus->setText(found ? QString() : tr("Not found"));
    QPalette palette = m_findText->palette();
    palette.setColor(QPalette::Base, found ? QApplication::palette().color(QPalette::Base) : QColor(255, 220, 220));
    m_findText->setPalette(palette);
}

// A web browser cannot read the built-in guide: it gets the installed copy, or else a copy in the cache folder.
void HelpWindow::openInWebBrowser() {
    if (m_guide.isLocalFile()) {
        m_openExternal(m_guide);
        return;
    }
    const QString installed = QDir(QCoreApplication::applicationDirPath())
                                   .filePath(QStringLiteral("../share/qora/") + QLatin1String(kUserGuideFileName));
    if (QFileInfo::exists(installed)) {
        m_openExternal(QUrl::fromLocalFile(QFileInfo(installed).canonicalFilePath()));
        return;
    }
    // In the user's own cache folder rather than the shared temporary one, where another user could place a file
    // or a link under the same name first.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QDir().mkpath(folder);
    const QString copy = QDir(folder).filePath(QStringLiteral("qora-") + QLatin1String(kUserGuideFileName));
    QFile::remove(copy);
    if (!QFile::copy(m_guide.scheme() == QLatin1String("qrc") ? QLatin1Char(':') + m_guide.path() : m_guide.path(),
                     copy)) {
        statusBar()->showMessage(tr("The guide could not be copied for the web browser."), 5000);
        return;
    }
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    m_openExternal(QUrl::fromLocalFile(copy));
}

} // namespace qora::gui
