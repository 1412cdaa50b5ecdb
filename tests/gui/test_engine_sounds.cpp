#include <QtTest>

#ifndef Q_OS_WIN
#include <QAudioDevice>
#include <QMediaDevices>
#endif

#include <filesystem>
#include <memory>
#include <string>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>

#include "browser/folder_tree.h"
#include "browser/select_folder_dialog.h"
#include "editor/engine_sounds.h"
#ifndef Q_OS_WIN
#include "editor/media_sound_player.h"
#endif
#include "support/editor_fixture.h"

using namespace qora;
using namespace qora::testing;
using gui::EngineSounds;
using gui::SoundPlayer;

namespace {

constexpr const char* kMissingSoundTail = "].  Check your Sounds folder in QORA preferences.";

// A player that plays nothing: it records what it is asked and ends its sound when the test says so.
class FakePlayer final : public SoundPlayer {
public:
    void play(const QString& path) override {
        played << path;
        m_playing = true;
    }
    void close() override {
        ++closes;
        m_playing = false;
    }
    bool isPlaying() const override { return m_playing; }

    void end() {
        m_playing = false;
        emit finished();
    }
    void fail(const QString& text) {
        m_playing = false;
        emit failed(text);
    }

    QStringList played;
    int closes = 0;

private:
    bool m_playing = false;
};

// A mono 16-bit PCM wave file of silence, `milliseconds` long.
std::string waveBytes(int milliseconds) {
    const std::uint32_t rate = 8000;
    const std::uint32_t dataSize = rate * 2 * static_cast<std::uint32_t>(milliseconds) / 1000;
    std::string bytes;
    const auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const auto u16 = [&](std::uint16_t v) {
        bytes += static_cast<char>(v & 0xFF);
        bytes += static_cast<char>(v >> 8);
    };
    bytes += "RIFF";
    u32(36 + dataSize);
    bytes += "WAVEfmt ";
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    bytes += "data";
    u32(dataSize);
    bytes.append(dataSize, '\0');
    return bytes;
}

struct SoundsEditor : EditorFixture {
    std::string soundFolder;

    // The template car, with a sound folder of its own and the given settings sections after [SETTINGS].
    explicit SoundsEditor(const std::string& sections = {}) {
        soundFolder = home.file("sounds");
        std::filesystem::create_directory(soundFolder);
        startWith("template.veh", "car.veh", "SoundFolder=" + soundFolder + "\r\n" + sections);
    }

    EngineSounds& sounds() const { return window->engineSounds(); }
    QComboBox* list(const char* name) const { return find<QComboBox>(name); }
    QLabel* panel(const char* name) const { return find<QLabel>(name); }

    QStringList items(const char* name) const {
        QStringList out;
        for (int i = 0; i < list(name)->count(); ++i)
            out << list(name)->itemText(i);
        return out;
    }

    void typeInto(const char* name, const QString& text) {
        QLineEdit* edit = list(name)->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    // Right-clicks the panel, as the user opens its list menu, and closes the menu again.
    void rightClick(const char* name) {
        QTest::mouseClick(panel(name), Qt::RightButton);
        sounds().listMenu()->hide();
    }

    // Runs a list menu command on the list of the panel last right-clicked.
    void command(const char* action) { QVERIFY2(triggerAction(window.get(), action), action); }

    FakePlayer* fakePlayer() {
        auto player = std::make_unique<FakePlayer>();
        FakePlayer* raw = player.get();
        sounds().setPlayer(std::move(player));
        return raw;
    }
};

} // namespace

class TestEngineSounds : public QObject {
    Q_OBJECT

private slots:
    void panelsAndListsStartFromTheSettingsSorted() {
        SoundsEditor editor("[INSIDE_IDLE_SOUNDS]\r\nSound0=zz.wav\r\nSound1=Aa.wav\r\nSound2=mid.WAV\r\n"
                            "[OUTSIDE_REVVED_SOUNDS]\r\nSound0=b.wav\r\nSound1=A.wav\r\n");
        QCOMPARE(editor.items("eIIdleSound"), (QStringList{"Aa.wav", "mid.WAV", "zz.wav"}));
        QCOMPARE(editor.items("eORevvedSound"), (QStringList{"A.wav", "b.wav"}));
        QCOMPARE(editor.items("eIRevvedSound"), QStringList());
        QCOMPARE(editor.list("eIIdleSound")->currentText(), QStringLiteral("IDLEID.WAV")); // the vehicle's value

        const std::pair<const char*, const char*> panels[] = {{"piIdleSound", "Idle Sound:"},
                                                              {"piRevSound", "Rev Sound:"},
                                                              {"poIdleSound", "Idle Sound:"},
                                                              {"poRevSound", "Rev Sound:"}};
        for (const auto& [name, text] : panels) {
            QLabel* panel = editor.panel(name);
            QVERIFY2(panel != nullptr, name);
            QCOMPARE(panel->text(), QString::fromLatin1(text));
            QCOMPARE(panel->toolTip(), QStringLiteral("Left-Click=Play ~ Right-Click=List menu"));
            QCOMPARE(panel->cursor().shape(), Qt::PointingHandCursor);
        }

        QStringList menu;
        for (QAction* action : editor.sounds().listMenu()->actions())
            menu << (action->isSeparator() ? QStringLiteral("-") : action->objectName() + "=" + action->text());
        QCOMPARE(menu, (QStringList{"mAddSound=Add Sound To List", "mDeleteSound=Delete Sound From List",
                                    "mDeleteAllSounds=Clear All Sounds From List", "-",
                                    "mBrowseSounds=Browse Sound Folder..."}));

        // Free text is typed up to 12 characters.
        editor.typeInto("eIIdleSound", QStringLiteral("abcdefghijklmnop"));
        QCOMPARE(editor.list("eIIdleSound")->currentText(), QStringLiteral("abcdefghijkl"));
    }

    void addingFollowsTheWaveRulesAndKeepsTheListSorted() {
        SoundsEditor editor("[INSIDE_IDLE_SOUNDS]\r\nSound0=zz.wav\r\nSound1=Aa.wav\r\n");
        editor.rightClick("piIdleSound");
        QCOMPARE(editor.sounds().menuTarget(), editor.panel("piIdleSound"));

        editor.typeInto("eIIdleSound", QStringLiteral("idle22"));
        editor.command("mAddSound");
        QCOMPARE(editor.items("eIIdleSound"), (QStringList{"Aa.wav", "idle22.wav", "zz.wav"}));
        QCOMPARE(editor.list("eIIdleSound")->currentText(), QStringLiteral("idle22")); // the text stays as typed

        editor.typeInto("eIIdleSound", QStringLiteral("  Rev.WAV "));
        editor.command("mAddSound");
        QCOMPARE(editor.items("eIIdleSound"), (QStringList{"Aa.wav", "idle22.wav", "Rev.WAV", "zz.wav"}));
        QCOMPARE(editor.prompt.beeps(), std::size_t(0));

        // Refused with a beep: another extension, a point inside the name, a name listed in another letter case
        // (with or without its ".wav"), an empty text.
        for (const char* refused : {"idle.mp3", "a.b.wav", "IDLE22.wav", "AA", "   "}) {
            const std::size_t before = editor.prompt.beeps();
            editor.typeInto("eIIdleSound", QString::fromLatin1(refused));
            editor.command("mAddSound");
            QVERIFY2(editor.prompt.beeps() == before + 1, refused);
        }
        QCOMPARE(editor.items("eIIdleSound"), (QStringList{"Aa.wav", "idle22.wav", "Rev.WAV", "zz.wav"}));
        QVERIFY(editor.prompt.messages().empty());

        // The menu works on the list of the panel right-clicked last; the lists are the settings' lists.
        editor.rightClick("poRevSound");
        editor.typeInto("eORevvedSound", QStringLiteral("out"));
        editor.command("mAddSound");
        QCOMPARE(editor.items("eORevvedSound"), QStringList{"out.wav"});
        QCOMPARE(editor.items("eIIdleSound").size(), 4);
        QVERIFY(editor.window->settings().outsideRevvedSounds == std::vector<std::string>{"out.wav"});
    }

    void deletingAndClearingAreSavedWithTheSettings() {
        SoundsEditor editor("[INSIDE_REVVED_SOUNDS]\r\nSound0=one.wav\r\nSound1=Two.wav\r\nSound2=three.wav\r\n"
                            "[OUTSIDE_IDLE_SOUNDS]\r\nSound0=keep.wav\r\n");
        editor.rightClick("piRevSound");
        editor.typeInto("eIRevvedSound", QStringLiteral(" two.WAV "));
        editor.command("mDeleteSound");
        QCOMPARE(editor.items("eIRevvedSound"), (QStringList{"one.wav", "three.wav"}));

        for (const char* refused : {"two.wav", ""}) {
            const std::size_t before = editor.prompt.beeps();
            editor.typeInto("eIRevvedSound", QString::fromLatin1(refused));
            editor.command("mDeleteSound");
            QVERIFY2(editor.prompt.beeps() == before + 1, refused);
        }

        editor.typeInto("eIRevvedSound", QStringLiteral("mine.wav"));
        editor.prompt.answer(PromptAnswer::No);
        editor.command("mDeleteAllSounds");
        const auto questions = editor.prompt.questions();
        QCOMPARE(questions.size(), std::size_t(1));
        QCOMPARE(questions[0].title, std::string("QORA List Management"));
        QCOMPARE(questions[0].text,
                 std::string("This will delete the entire list of sounds from this list.  Continue?"));
        QVERIFY(questions[0].buttons == PromptButtons::YesNo);
        QVERIFY(questions[0].icon == PromptIcon::Exclamation);
        QCOMPARE(editor.items("eIRevvedSound"), (QStringList{"one.wav", "three.wav"}));

        editor.prompt.answer(PromptAnswer::Yes);
        editor.command("mDeleteAllSounds");
        QCOMPARE(editor.items("eIRevvedSound"), QStringList());
        QCOMPARE(editor.list("eIRevvedSound")->currentText(), QStringLiteral("mine.wav"));
        editor.command("mDeleteAllSounds"); // nothing to clear: nothing asked
        QCOMPARE(editor.prompt.questions().size(), std::size_t(2));

        // Without general warnings the list is cleared at once.
        editor.window->settings().generalWarnings = false;
        editor.rightClick("poIdleSound");
        editor.command("mDeleteAllSounds");
        QCOMPARE(editor.items("eOIdleSound"), QStringList());
        QCOMPARE(editor.prompt.questions().size(), std::size_t(2));

        editor.rightClick("piIdleSound");
        editor.typeInto("eIIdleSound", QStringLiteral("new"));
        editor.command("mAddSound");
        editor.prompt.answer(PromptAnswer::No); // do not save the vehicle
        QVERIFY(editor.window->close());
        const std::string saved = readBytes(editor.home.file("qora.ini"));
        QVERIFY(saved.find("[INSIDE_IDLE_SOUNDS]\r\nSound0=new.wav\r\n") != std::string::npos);
        QVERIFY(saved.find("one.wav") == std::string::npos);
        QVERIFY(saved.find("keep.wav") == std::string::npos);
    }

    void browsingPicksAWaveFileOfTheSoundFolder() {
        SoundsEditor editor;
        writeBytes(editor.soundFolder + "/b.WAV", waveBytes(10));
        writeBytes(editor.soundFolder + "/a.wav", waveBytes(10));
        writeBytes(editor.soundFolder + "/notes.txt", "x");
        QVERIFY(!editor.window->isChanged());

        editor.rightClick("poIdleSound");
        editor.dialogs
            .then([](QDialog& dialog) {
                auto* select = qobject_cast<gui::SelectFolderDialog*>(&dialog);
                if (select == nullptr)
                    return int(QDialog::Rejected);
                QListWidget* files = select->files();
                [&] {
                    QCOMPARE(select->caption(), QStringLiteral("Select Wave File"));
                    QVERIFY(select->folders()->isHidden() && !select->folders()->isEnabled());
                    QVERIFY(select->drives()->isHidden() && !select->drives()->isEnabled());
                    QVERIFY(!files->isHidden() && files->isEnabled());
                    QStringList names;
                    for (int row = 0; row < files->count(); ++row)
                        names << files->item(row)->text();
                    names.sort(Qt::CaseInsensitive);
                    QCOMPARE(names, (QStringList{"a.wav", "b.WAV"}));
                }();
                files->setCurrentItem(files->findItems(QStringLiteral("b.WAV"), Qt::MatchExactly).value(0));
                select->okButton()->click();
                return select->result();
            })
            .then([](QDialog&) { return int(QDialog::Rejected); });
        editor.command("mBrowseSounds");
        QCOMPARE(editor.dialogs.shown, QStringList{"dlgSelectFolder"});
        QCOMPARE(editor.list("eOIdleSound")->currentText(), QStringLiteral("b.WAV"));
        QVERIFY(editor.window->isChanged());

        editor.command("mBrowseSounds"); // cancelled: the text stays
        QCOMPARE(editor.list("eOIdleSound")->currentText(), QStringLiteral("b.WAV"));

        // A sound folder that is unset, or not a folder, is reported instead.
        for (const std::string& folder : {std::string(), editor.soundFolder + "/a.wav"}) {
            editor.window->settings().soundFolder = folder;
            editor.command("mBrowseSounds");
        }
        const auto messages = editor.prompt.messages();
        QCOMPARE(messages.size(), std::size_t(2));
        for (const auto& message : messages) {
            QCOMPARE(message.title, std::string("QORA Media Manager"));
            QCOMPARE(message.text, std::string("The location of your sound folder is either unspecified or incorrect.  "
                                               "Please specify its location in Edit\\Preferences."));
            QVERIFY(message.icon == PromptIcon::Stop);
        }
        QCOMPARE(editor.dialogs.shown.size(), 2);
    }

    void aMissingSoundFileIsReported() {
        SoundsEditor editor;
        FakePlayer* player = editor.fakePlayer();
        editor.typeInto("eIIdleSound", QStringLiteral(" nofile "));
        QTest::mouseClick(editor.panel("piIdleSound"), Qt::LeftButton);
        editor.window->settings().soundFolder.clear();
        QTest::mouseClick(editor.panel("piIdleSound"), Qt::LeftButton);

        const auto messages = editor.prompt.messages();
        QCOMPARE(messages.size(), std::size_t(2));
        QCOMPARE(messages[0].title, std::string("QORA Media Player"));
        QCOMPARE(messages[0].text, "Could not find file [" + editor.soundFolder + "/nofile" + kMissingSoundTail);
        QVERIFY(messages[0].icon == PromptIcon::Stop);
        // Without a sound folder the path starts at the root.
        QCOMPARE(messages[1].text, std::string("Could not find file [/nofile") + kMissingSoundTail);
        QVERIFY(player->played.isEmpty());

        editor.typeInto("eIIdleSound", QStringLiteral("  "));
        QTest::mouseClick(editor.panel("piIdleSound"), Qt::LeftButton); // no name: nothing happens
        QCOMPARE(editor.prompt.calls.size(), std::size_t(2));
    }

    void aSecondClickStopsAndAnotherPanelSwitches() {
        SoundsEditor editor;
        for (const char* name : {"idle.wav", "rev.wav"})
            writeBytes(editor.soundFolder + "/" + name, waveBytes(10));
        FakePlayer* player = editor.fakePlayer();
        editor.typeInto("eIIdleSound", QStringLiteral("idle.wav"));
        editor.typeInto("eIRevvedSound", QStringLiteral("rev.wav"));
        const QString idle = QString::fromStdString(editor.soundFolder + "/idle.wav");
        const QString rev = QString::fromStdString(editor.soundFolder + "/rev.wav");

        QTest::mouseClick(editor.panel("piIdleSound"), Qt::LeftButton);
        QCOMPARE(player->played, QStringList{idle});
        QCOMPARE(editor.sounds().lastPlayed(), editor.panel("piIdleSound"));

        QTest::mouseClick(editor.panel("piIdleSound"), Qt::LeftButton); // stops
        QVERIFY(!player->isPlaying());
        QCOMPARE(player->played.size(), 1);
        QCOMPARE(editor.sounds().lastPlayed(), nullptr);

        QTest::mouseClick(editor.panel("piIdleSound"), Qt::LeftButton);
        QTest::mouseClick(editor.panel("piRevSound"), Qt::LeftButton); // switches
        QCOMPARE(player->played, (QStringList{idle, idle, rev}));
        QVERIFY(player->isPlaying());
        QCOMPARE(editor.sounds().lastPlayed(), editor.panel("piRevSound"));

        // A sound that has ended no longer counts: the next click on its panel plays it again.
        player->end();
        QCOMPARE(editor.sounds().lastPlayed(), nullptr);
        QTest::mouseClick(editor.panel("piRevSound"), Qt::LeftButton);
        QCOMPARE(player->played.size(), 4);

        player->fail(QStringLiteral("No audio device."));
        const auto messages = editor.prompt.messages();
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(messages[0].title, std::string("QORA Media Player"));
        QCOMPARE(messages[0].text, std::string("No audio device."));
        QVERIFY(messages[0].icon == PromptIcon::Exclamation);
        QCOMPARE(editor.sounds().lastPlayed(), nullptr);
    }

#ifndef Q_OS_WIN
    // The real player on this machine (offscreen, usually without an audio device): a generated wave file either
    // plays to its end or fails with the player's own text in the warning box; the window never waits for it.
    void theMediaPlayerNeverHangsAndReportsItsErrors() {
        SoundsEditor editor;
        writeBytes(editor.soundFolder + "/long.wav", waveBytes(3000));
        writeBytes(editor.soundFolder + "/short.wav", waveBytes(300));
        writeBytes(editor.soundFolder + "/broken.wav", "RIFF but not a wave at all");
        auto owned = std::make_unique<gui::MediaSoundPlayer>();
        gui::MediaSoundPlayer* player = owned.get();
        editor.sounds().setPlayer(std::move(owned));
        QSignalSpy finished(player, &SoundPlayer::finished);
        QSignalSpy failed(player, &SoundPlayer::failed);
        QLabel* panel = editor.panel("poIdleSound");

        editor.typeInto("eOIdleSound", QStringLiteral("long.wav"));
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(panel, Qt::LeftButton);
        if (QMediaDevices::audioOutputs().isEmpty()) {
            // A machine without a sound device: the user is told so, instead of hearing nothing without a word.
            QTRY_COMPARE(failed.count(), 1);
            QCOMPARE(editor.prompt.messages().size(), std::size_t(1));
            QCOMPARE(editor.prompt.messages()[0].text,
                     std::string("No audio output was found, so the sound cannot be played.  Connect speakers or "
                                 "headphones, or check the system's sound settings, then try again."));
            QVERIFY(!player->isPlaying());
            QVERIFY(clock.elapsed() < 2000);
            return;
        }
        QVERIFY(player->isPlaying());
        QTest::mouseClick(panel, Qt::LeftButton); // stops at once
        QVERIFY(!player->isPlaying());
        QCOMPARE(editor.sounds().lastPlayed(), nullptr);
        QVERIFY(clock.elapsed() < 2000);
        QTest::qWait(300);
        QCOMPARE(finished.count() + failed.count(), 0); // a stopped sound reports nothing

        editor.typeInto("eOIdleSound", QStringLiteral("short.wav"));
        QTest::mouseClick(panel, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() + failed.count() > 0, 15000);
        QCOMPARE(editor.sounds().lastPlayed(), nullptr);
        QVERIFY(!player->isPlaying());
        if (failed.isEmpty()) {
            QVERIFY(editor.prompt.messages().empty());
        } else {
            QCOMPARE(editor.prompt.messages().size(), std::size_t(1));
            QCOMPARE(editor.prompt.messages()[0].text, failed.at(0).at(0).toString().toStdString());
        }

        editor.prompt.calls.clear();
        finished.clear();
        failed.clear();
        editor.typeInto("eOIdleSound", QStringLiteral("broken.wav"));
        QTest::mouseClick(panel, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(failed.count() > 0, 15000);
        QTest::qWait(300); // later errors of the same sound are not reported again
        QCOMPARE(failed.count(), 1);
        QCOMPARE(finished.count(), 0);
        const auto messages = editor.prompt.messages();
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(messages[0].title, std::string("QORA Media Player"));
        QCOMPARE(messages[0].text, failed.at(0).at(0).toString().toStdString());
        QVERIFY(!messages[0].text.empty());
        QVERIFY(messages[0].icon == PromptIcon::Exclamation);
        QCOMPARE(editor.sounds().lastPlayed(), nullptr);
    }
#endif
};

QTEST_MAIN(TestEngineSounds)
#include "test_engine_sounds.moc"
