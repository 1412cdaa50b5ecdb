#include "editor/engine_sounds.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

#include "browser/folder_tree.h"
#include "browser/select_folder_dialog.h"
#include "editor/field_widgets.h"
#ifdef Q_OS_WIN
#include "editor/system_sound_player.h"
#else
#include "editor/media_sound_player.h"
#endif
#include "editor/sound_lists.h"
#include "platform/dialog_runner.h"
#include "platform/file_system.h"
#include "platform/prompt.h"
#include "platform/qt_text.h"
#include "platform/text.h"
#include "settings/settings.h"

namespace qora::gui {

namespace {

std::string title(std::string_view text) {
    return std::string(text);
}

} // namespace

// ---- The panels and their lists -----------------------------------------------------------------------------

EngineSounds::EngineSounds(Prompt& prompt, Settings& settings, DialogRunner& dialogs, QWidget* window,
                           std::function<void()> markChanged, Guard guard)
    : QObject(window), m_prompt(prompt), m_settings(settings), m_dialogs(dialogs), m_window(window),
      m_markChanged(std::move(markChanged)), m_guard(std::move(guard)) {
    setObjectName(QStringLiteral("EngineSounds"));
    createMenu();
}

void EngineSounds::createMenu() {
    m_menu = new QMenu(m_window);
    m_menu->setObjectName(QStringLiteral("pmSoundList"));
    const auto item = [this](const char* name, const QString& text, const std::function<void()>& command) {
        QAction* action = m_menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, command] { m_guard(command); });
    };
    item("mAddSound", tr("Add Sound To List"), [this] { addSound(); });
    item("mDeleteSound", tr("Delete Sound From List"), [this] { deleteSounds(false); });
    item("mDeleteAllSounds", tr("Clear All Sounds From List"), [this] { deleteSounds(true); });
    m_menu->addSeparator();
    item("mBrowseSounds", tr("Browse Sound Folder..."), [this] { searchSounds(); });
}

void EngineSounds::addPanel(QLabel* panel, FieldCombo* list, SoundList items) {
    m_panels.push_back(Panel{panel, list, items});
    panel->setToolTip(QString::fromLatin1(kPanelHint));
    panel->setCursor(Qt::PointingHandCursor);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    panel->setMargin(1);
    panel->installEventFilter(this);
}

void EngineSounds::loadLists() {
    for (const Panel& panel : m_panels) {
        editor::sortSounds(m_settings.*panel.items);
        showItems(panel);
    }
}

const EngineSounds::Panel* EngineSounds::panelOf(const QObject* label) const {
    for (const Panel& panel : m_panels)
        if (panel.label == label)
            return &panel;
    return nullptr;
}

void EngineSounds::showItems(const Panel& panel) {
    QStringList items;
    for (const std::string& item : m_settings.*panel.items)
        items << fromLatin1(item);
    panel.list->setItems(items);
}

std::string EngineSounds::listText(const Panel& panel) const {
    return text::trim(toLatin1(panel.list->currentText()));
}

bool EngineSounds::eventFilter(QObject* watched, QEvent* event) {
    auto* label = qobject_cast<QLabel*>(watched);
    if (label == nullptr || panelOf(label) == nullptr)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton)
            setSoundMenuTarget(label);
        else if (mouse->button() == Qt::LeftButton)
            m_pressed = label;
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click = mouse->button() == Qt::LeftButton && m_pressed == label &&
                           label->rect().contains(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton)
            m_pressed = nullptr;
        if (click)
            m_guard([this, label] { mPlayerPlay(label); });
        return true;
    }
    case QEvent::MouseButtonDblClick:
        return true;
    case QEvent::ContextMenu:
        // The keyboard's menu key arrives without a press: the panel it is meant for becomes the target too.
        m_menuTarget = label;
        m_menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

// ---- Playing ------------------------------------------------------------------------------------------------

SoundPlayer& EngineSounds::player() {
    if (m_player == nullptr) {
#ifdef Q_OS_WIN
        m_player = new SystemSoundPlayer(this);
#else
        m_player = new MediaSoundPlayer(this);
#endif
        connectPlayer();
    }
    return *m_player;
}

void EngineSounds::setPlayer(std::unique_ptr<SoundPlayer> player) {
    delete m_player;
    m_player = player.release();
    m_player->setParent(this);
    connectPlayer();
}

void EngineSounds::connectPlayer() {
    connect(m_player, &SoundPlayer::finished, this, [this] { m_guard([this] { mPlayerNotify(QString()); }); });
    connect(m_player, &SoundPlayer::failed, this,
            [this](const QString& errorText) { m_guard([this, errorText] { mPlayerNotify(errorText); }); });
}

void EngineSounds::mPlayerPlay(QLabel* sender) {
    const Panel* panel = panelOf(sender);
    if (panel == nullptr)
        return;
    const std::string name = listText(*panel);
    if (name.empty())
        return;
    const std::string path = editor::soundPath(m_settings.soundFolder, toPath(fromLatin1(name)));
    if (player().isPlaying() && sender == m_lastPlayed) {
        player().close();
        m_lastPlayed = nullptr;
        return;
    }
    m_lastPlayed = sender;
    playSoundFile(path);
}

void EngineSounds::playSoundFile(const std::string& path) {
    SoundPlayer& sounds = player();
    if (sounds.isPlaying())
        sounds.close();
    if (!fileSystem().fileExists(path)) {
        m_prompt.tell(title(editor::kMediaPlayerTitle), editor::missingSoundText(path), PromptIcon::Stop);
        return;
    }
    sounds.play(fromPath(path));
}

void EngineSounds::mPlayerNotify(const QString& errorText) {
    player().close();
    m_lastPlayed = nullptr;
    if (!errorText.isEmpty())
        m_prompt.tell(title(editor::kMediaPlayerTitle), errorText.toStdString(), PromptIcon::Exclamation);
}

// ---- The list menu ------------------------------------------------------------------------------------------

void EngineSounds::setSoundMenuTarget(QLabel* sender) {
    m_menuTarget = sender;
}

void EngineSounds::addSound() {
    const Panel* panel = panelOf(m_menuTarget);
    if (panel == nullptr)
        return;
    if (!editor::addSound(m_settings.*panel->items, listText(*panel))) {
        m_prompt.beep();
        return;
    }
    showItems(*panel);
}

void EngineSounds::deleteSounds(bool all) {
    const Panel* panel = panelOf(m_menuTarget);
    if (panel == nullptr)
        return;
    std::vector<std::string>& items = m_settings.*panel->items;
    if (all) {
        if (items.empty())
            return;
        if (m_settings.generalWarnings &&
            m_prompt.ask(title(editor::kListManagementTitle), std::string(editor::kClearSoundsQuestion),
                         PromptButtons::YesNo, PromptIcon::Exclamation) != PromptAnswer::Yes)
            return;
        items.clear();
    } else if (!editor::deleteSound(items, listText(*panel))) {
        m_prompt.beep();
        return;
    }
    showItems(*panel);
}

void EngineSounds::searchSounds() {
    const Panel* panel = panelOf(m_menuTarget);
    if (panel == nullptr)
        return;
    const std::string& folder = m_settings.soundFolder;
    if (folder.empty() || !fileSystem().folderExists(folder)) {
        m_prompt.tell(title(editor::kMediaManagerTitle), std::string(editor::kNoSoundFolderText), PromptIcon::Stop);
        return;
    }
    SelectFolderDialog dialog(m_prompt, m_window, fromLatin1(editor::kSelectWaveCaption));
    for (QWidget* part : {static_cast<QWidget*>(dialog.folders()), static_cast<QWidget*>(dialog.drives())}) {
        part->hide();
        part->setEnabled(false);
    }
    dialog.setFolder(folder);
    dialog.showFileList(editor::kWaveMask);
    if (m_dialogs.run(dialog) != QDialog::Accepted)
        return;
    const std::string file = dialog.selectedFile();
    if (file.empty())
        return;
    panel->list->setFieldText(fromPath(file));
    m_markChanged();
}

} // namespace qora::gui
