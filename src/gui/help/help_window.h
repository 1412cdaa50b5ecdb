#pragma once

#include <functional>

#include <QMainWindow>
#include <QString>
#include <QUrl>

class QAction;
class QLabel;
class QLineEdit;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace qora::gui {

// The user guide's file name, in the program folder where a user may put a guide of their own.
inline constexpr const char* kUserGuideFileName = "qorahelp.htm";

// The guide built into the program.
QString builtInUserGuidePath();

// The guide to show: "qorahelp.htm" in the program folder when it is there and readable (a modder's own guide),
// else the built-in one; an empty URL when neither can be read.
QUrl locateUserGuide(const QString& programFolder, const QString& builtIn = builtInUserGuidePath());

// "QORA Help": the user guide in a browser beside the editor, with a contents pane made from the guide's
// headings, Back, Forward and Home, a find bar (Ctrl+F) and text zoom. Links inside the guide (and to other pages
// beside it) open here; anything else (web sites, mail) goes to the desktop's own programs.
class HelpWindow final : public QMainWindow {
    Q_OBJECT

public:
    using ExternalOpener = std::function<void(const QUrl&)>;

    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows a guide and lists its headings in the contents pane. A guide already shown is left where the user is.
    void showGuide(const QUrl& guide);
    QUrl guide() const { return m_guide; }
    QTextBrowser* browser() const { return m_browser; }
    QTreeWidget* contents() const { return m_contents; }

    // Selects the next match of the text after the current selection (before it when backward), wrapping round
    // the guide; false when the guide does not hold it.
    bool find(const QString& text, bool backward = false);
    void showFindBar();

    // Where links that do not belong to the guide go; the desktop's handler unless replaced (tests replace it).
    void setExternalOpener(ExternalOpener opener) { m_openExternal = std::move(opener); }

private:
    void createActions();
    QWidget* createFindBar();
    void openLink(const QUrl& link);
    void goToAnchor(const QString& anchor);
    void buildContents();
    void selectContentsEntry();
    void findFromBar(bool backward);
    void openInWebBrowser();

    QUrl m_guide;
    QTextBrowser* m_browser = nullptr;
    QTreeWidget* m_contents = nullptr;
    QWidget* m_findBar = nullptr;
    QLineEdit* m_findText = nullptr;
    QLabel* m_findStatus = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
    ExternalOpener m_openExternal;
};

} // namespace qora::gui
