#pragma once

#include <array>

#include <QColor>
#include <QObject>
#include <QPixmap>

#include "settings/color_text.h"

class QTabWidget;
class QWidget;

namespace qora::gui {

class PageGroupStyle;

// The application colours, as the settings number them.
enum AppColour : int {
    HeaderBackground = 0,
    HeaderText,
    PromptBackground,
    PromptText,
    EditBackground,
    EditText,
    GhostBackground,
    GhostText,
    CarBackground,
    CarText,
    GhostCarBackground,
    GhostCarText,
    ClearText,
    HotClearText,
};
inline constexpr int kAppColourCount = 14;
using AppColours = std::array<QColor, kAppColourCount>;

// A settings colour on the screen: system colours become the matching colours of the application's palette.
QColor screenColour(Color colour);
// A colour picked on the screen as the settings keep it.
Color settingsColour(const QColor& colour);

// Page control styles, as the settings store them.
enum PageStyle : int { TabbedPages = 0, ButtonPages = 1, FlatButtonPages = 2 };

// Which application colours a page control takes, found from its kind and objectName:
// - header panels (group headings, "Panel..." labels, help labels whose help number is 1): 0 and 1;
// - the other help labels (field prompts, sound panels): 2 and 3;
// - vehicle fields (edits "e...", lists "dl...", "cb...", "eI...", "eO..."): 4 and 5;
// - ghost fields ("ge...", "gdl..."): 6 and 7;
// - transparent labels "c..." (12) and the clickable "h..." (13).
enum class ColourRole { None, Header, Prompt, Edit, Ghost, ClearText, HotText };
ColourRole colourRole(const QWidget* control);

// The look of the editor's seven pages: the background skin tiled behind every page, the application colours on
// their controls, group headings painted as header panels, the page control's style and its tab icons.
//
// Text written straight onto a page takes the transparent-text colours while a skin is on, and the system's text
// colour on plain pages, where the skin's light colours would be unreadable.
class PageAppearance final : public QObject {
    Q_OBJECT

public:
    PageAppearance(QTabWidget* pages, QObject* parent);
    ~PageAppearance() override;

    // A null picture gives plain pages in the button-face colour.
    void setSkin(const QPixmap& skin);
    const QPixmap& skin() const { return m_skin; }
    bool hasSkin() const { return !m_skin.isNull(); }

    void setColours(const AppColours& colours);
    const AppColours& colours() const { return m_colours; }

    void setPageStyle(int style);
    int pageStyle() const { return m_pageStyle; }
    void setTabIcons(bool shown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Colours every page control by its role; controls without one keep theirs.
    void apply();
    void colourControl(QWidget* control, ColourRole role);

    QTabWidget* m_pages;
    QPixmap m_skin;
    AppColours m_colours;
    int m_pageStyle = FlatButtonPages;
    PageGroupStyle* m_groupStyle;
};

} // namespace qora::gui
