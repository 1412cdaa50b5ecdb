#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QObject>
#include <QString>

class QAction;
class QLabel;
class QMenu;
class QWidget;

namespace qora {
class Prompt;
class Settings;
} // namespace qora

namespace qora::gui {

class DialogRunner;
class FieldCombo;

// Plays one wave file at a time without blocking. How a play ends is reported later, from the event loop:
// finished() when the sound has played to its end, failed() with the player's error text when it cannot be
// played. A closed player reports nothing more about the sound it held.
class SoundPlayer : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts the file, closing any sound still held.
    virtual void play(const QString& path) = 0;
    // Stops the sound and lets go of its file.
    virtual void close() = 0;
    // Whether a sound has been started and has neither ended, failed nor been closed.
    virtual bool isPlaying() const = 0;

signals:
    void finished();
    void failed(const QString& errorText);
};

// The engine sounds of the Details page. Each of the four label panels stands beside its sound list: a left click
// plays the list's sound from the sound folder of the settings and a second click stops it; a right click opens the
// list menu pmSoundList, whose commands edit that list's items. The items are the settings' sound lists, so they
// are saved with the settings.
class EngineSounds final : public QObject {
    Q_OBJECT

public:
    using SoundList = std::vector<std::string> Settings::*;
    // Runs a command, showing a failure that escapes it instead of letting it leave the event loop.
    using Guard = std::function<void(const std::function<void()>&)>;

    static constexpr const char* kPanelHint = "Left-Click=Play ~ Right-Click=List menu";

    // `window` parents the list menu and the folder dialog; `markChanged` marks the vehicle changed.
    EngineSounds(Prompt& prompt, Settings& settings, DialogRunner& dialogs, QWidget* window,
                 std::function<void()> markChanged, Guard guard);

    // Makes the label the panel of the list whose items are the settings' `items`.
    void addPanel(QLabel* panel, FieldCombo* list, SoundList items);
    // Sorts the settings' lists and shows them as the lists' items (the window's start).
    void loadLists();

    // The player, created on first use; tests may put another in place (it is owned from then on).
    SoundPlayer& player();
    void setPlayer(std::unique_ptr<SoundPlayer> player);

    QLabel* lastPlayed() const { return m_lastPlayed; }
    QLabel* menuTarget() const { return m_menuTarget; }
    QMenu* listMenu() const { return m_menu; }

    // Left click on a panel: plays its list's sound, or stops it when it is the sound playing.
    void mPlayerPlay(QLabel* sender);
    // The player has finished, or failed with errorText: it is closed and no panel counts as played last.
    void mPlayerNotify(const QString& errorText);
    // Right button pressed on a panel: the list menu works on its list.
    void setSoundMenuTarget(QLabel* sender);
    void addSound();
    // Deletes the item named by the list's text, or with `all` every item (after asking, with general warnings).
    void deleteSounds(bool all);
    // Chooses a wave file of the sound folder as the list's text.
    void searchSounds();
    void playSoundFile(const std::string& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Panel {
        QLabel* label;
        FieldCombo* list;
        SoundList items;
    };

    void createMenu();
    const Panel* panelOf(const QObject* label) const;
    void showItems(const Panel& panel);
    std::string listText(const Panel& panel) const;
    void connectPlayer();

    Prompt& m_prompt;
    Settings& m_settings;
    DialogRunner& m_dialogs;
    QWidget* m_window;
    std::function<void()> m_markChanged;
    Guard m_guard;
    std::vector<Panel> m_panels;
    SoundPlayer* m_player = nullptr; // a child of this object
    QLabel* m_lastPlayed = nullptr;
    QLabel* m_menuTarget = nullptr;
    QLabel* m_pressed = nullptr; // the panel the left button went down on
    QMenu* m_menu = nullptr;
};

} // namespace qora::gui
