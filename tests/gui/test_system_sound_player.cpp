#include <QtTest>

#include <chrono>
#include <cstdint>
#include <string>

#include <QBuffer>

#include "editor/system_sound_player.h"

using namespace std::chrono_literals;
using qora::gui::SoundPlayer;
using qora::gui::SystemSoundPlayer;
using qora::gui::wavePlayingTime;

namespace {

void appendLittleEndian(std::string& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string chunk(const char* id, const std::string& body) {
    std::string bytes(id, 4);
    appendLittleEndian(bytes, static_cast<std::uint32_t>(body.size()), 4);
    bytes += body;
    if (body.size() % 2 != 0)
        bytes += '\0';
    return bytes;
}

std::string formatChunk(std::uint32_t bytesPerSecond) {
    std::string body;
    appendLittleEndian(body, 1, 2); // PCM
    appendLittleEndian(body, 1, 2); // mono
    appendLittleEndian(body, bytesPerSecond / 2, 4);
    appendLittleEndian(body, bytesPerSecond, 4);
    appendLittleEndian(body, 2, 2);
    appendLittleEndian(body, 16, 2);
    return chunk("fmt ", body);
}

std::string riff(const std::string& chunks) {
    std::string bytes = "RIFF";
    appendLittleEndian(bytes, static_cast<std::uint32_t>(4 + chunks.size()), 4);
    return bytes + "WAVE" + chunks;
}

// 16-bit mono at 8000 samples a second: 16000 bytes a second.
std::string wave(int milliseconds) {
    return riff(formatChunk(16000) + chunk("data", std::string(std::size_t(16 * milliseconds), '\0')));
}

std::optional<std::chrono::milliseconds> playingTime(const std::string& bytes) {
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return wavePlayingTime(buffer);
}

// The system's output as the player sees it: records the files started and the stops, and refuses to start
// when told to.
struct FakeOutput {
    QStringList started;
    int stops = 0;
    bool refuse = false;

    SystemSoundPlayer::Output output() {
        return {[this](const QString& path) {
                    if (refuse)
                        return false;
                    started << path;
                    return true;
                },
                [this] { ++stops; }};
    }
};

} // namespace

class TestSystemSoundPlayer : public QObject {
    Q_OBJECT

private slots:
    void playingTimeComesFromTheFormatAndDataChunks() {
        QCOMPARE(playingTime(wave(250)), std::optional(250ms));
        QCOMPARE(playingTime(wave(0)), std::optional(0ms));
        // Other chunks before, between and after, one of odd length (padded), are stepped over.
        const std::string list = chunk("LIST", std::string(7, 'x'));
        QCOMPARE(playingTime(riff(list + formatChunk(16000) + list + chunk("data", std::string(8000, '\0')) + list)),
                 std::optional(500ms));
        // Data before the format chunk is allowed.
        QCOMPARE(playingTime(riff(chunk("data", std::string(32000, '\0')) + formatChunk(16000))),
                 std::optional(2000ms));
        // A part of a millisecond counts as a whole one, so the end is never reported early.
        QCOMPARE(playingTime(riff(formatChunk(16000) + chunk("data", std::string(17, '\0')))), std::optional(2ms));
    }

    void aTruncatedDataChunkCountsTheBytesTheFileHolds() {
        std::string bytes = riff(formatChunk(16000));
        bytes += "data";
        appendLittleEndian(bytes, 0xFFFFFFFFu, 4); // as written by a recorder that never finished the file
        bytes += std::string(4000, '\0');
        QCOMPARE(playingTime(bytes), std::optional(250ms));
    }

    void whatIsNoWaveFileHasNoPlayingTime() {
        QCOMPARE(playingTime(""), std::nullopt);
        QCOMPARE(playingTime("RIFF but not a wave at all"), std::nullopt);
        QCOMPARE(playingTime(riff(chunk("data", std::string(100, '\0')))), std::nullopt);  // no format
        QCOMPARE(playingTime(riff(formatChunk(16000))), std::nullopt);                     // no data
        QCOMPARE(playingTime(riff(formatChunk(0) + chunk("data", "ab"))), std::nullopt);  // no byte rate
        std::string shortFormat = riff(chunk("fmt ", "abcd") + chunk("data", "ab"));
        QCOMPARE(playingTime(shortFormat), std::nullopt);
    }

    void aSoundEndsAfterItsPlayingTime() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("engine.wav"));
        writeFile(path, wave(200));
        FakeOutput system;
        SystemSoundPlayer player(system.output());
        QSignalSpy finished(&player, &SoundPlayer::finished);
        QSignalSpy failed(&player, &SoundPlayer::failed);
        QElapsedTimer clock;
        clock.start();
        player.play(path);
        QCOMPARE(system.started, QStringList{path});
        QVERIFY(player.isPlaying());
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000);
        QVERIFY(clock.elapsed() >= 200);
        QVERIFY(!player.isPlaying());
        QCOMPARE(failed.count(), 0);
        QCOMPARE(system.stops, 0); // the sound is over: nothing to silence
    }

    void closingStopsTheSoundAndReportsNothing() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("engine.wav"));
        writeFile(path, wave(100));
        FakeOutput system;
        SystemSoundPlayer player(system.output());
        QSignalSpy finished(&player, &SoundPlayer::finished);
        QSignalSpy failed(&player, &SoundPlayer::failed);
        player.play(path);
        player.close();
        QCOMPARE(system.stops, 1);
        QVERIFY(!player.isPlaying());
        player.close(); // nothing playing: nothing more to stop
        QCOMPARE(system.stops, 1);
        QTest::qWait(300);
        QCOMPARE(finished.count() + failed.count(), 0);
    }

    void aNewSoundReplacesThePlayingOne() {
        QTemporaryDir folder;
        const QString first = folder.filePath(QStringLiteral("first.wav"));
        const QString second = folder.filePath(QStringLiteral("second.wav"));
        writeFile(first, wave(150));
        writeFile(second, wave(600));
        FakeOutput system;
        SystemSoundPlayer player(system.output());
        QSignalSpy finished(&player, &SoundPlayer::finished);
        player.play(first);
        player.play(second);
        QCOMPARE(system.stops, 1);
        QTest::qWait(300); // the first sound's time has passed: it is not reported
        QCOMPARE(finished.count(), 0);
        QVERIFY(player.isPlaying());
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000);
    }

    void failuresAreReportedFromTheEventLoopOncePerSound() {
        QTemporaryDir folder;
        const QString broken = folder.filePath(QStringLiteral("broken.wav"));
        const QString good = folder.filePath(QStringLiteral("good.wav"));
        writeFile(broken, "RIFF but not a wave at all");
        writeFile(good, wave(50));
        FakeOutput system;
        SystemSoundPlayer player(system.output());
        QSignalSpy failed(&player, &SoundPlayer::failed);
        QSignalSpy finished(&player, &SoundPlayer::finished);

        player.play(broken);
        QVERIFY(system.started.isEmpty()); // never handed to the system
        QCOMPARE(failed.count(), 0);        // not from inside play()
        QVERIFY(!player.isPlaying());
        QTRY_COMPARE(failed.count(), 1);
        QCOMPARE(failed.at(0).at(0).toString(), QString::fromLatin1(SystemSoundPlayer::kNotAWaveFile));

        player.play(folder.filePath(QStringLiteral("missing.wav")));
        QTRY_COMPARE(failed.count(), 2);
        QCOMPARE(failed.at(1).at(0).toString(), QString::fromLatin1(SystemSoundPlayer::kNotAWaveFile));

        // No sound device, or a format the system cannot play.
        system.refuse = true;
        player.play(good);
        QTRY_COMPARE(failed.count(), 3);
        QCOMPARE(failed.at(2).at(0).toString(), QString::fromLatin1(SystemSoundPlayer::kNotStarted));
        QTest::qWait(200);
        QCOMPARE(failed.count(), 3);
        QCOMPARE(finished.count(), 0);
    }

    void aPlayerGoneWhilePlayingSilencesItsSound() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("engine.wav"));
        writeFile(path, wave(1000));
        FakeOutput system;
        {
            SystemSoundPlayer player(system.output());
            player.play(path);
        }
        QCOMPARE(system.stops, 1);
    }

private:
    static void writeFile(const QString& path, const std::string& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
    }
};

QTEST_MAIN(TestSystemSoundPlayer)
#include "test_system_sound_player.moc"
