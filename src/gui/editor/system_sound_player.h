#pragma once

#include <chrono>
#include <functional>
#include <optional>

#include "editor/engine_sounds.h"

class QIODevice;
class QTimer;

namespace qora::gui {

// How long a wave file plays: its data chunk's size over its format chunk's bytes per second, rounded up to the
// millisecond. A data chunk that claims more bytes than the file holds counts only those it holds. Nothing when
// the device does not hold a RIFF WAVE file with both chunks and a byte rate. Reads from the device's start.
std::optional<std::chrono::milliseconds> wavePlayingTime(QIODevice& file);

// The system's own wave player (on Windows PlaySoundW, which plays without waiting and never says when it is done).
// The end of a sound is therefore the wave file's playing time after its start; a file that is not a wave file, or
// that the system refuses to start (no sound device, a format it cannot play), is reported through failed().
class SystemSoundPlayer final : public SoundPlayer {
    Q_OBJECT

public:
    // Where the sound goes: start(path) begins playing the file without waiting and says whether it could;
    // stop() silences whatever was started.
    struct Output {
        std::function<bool(const QString& path)> start;
        std::function<void()> stop;
    };

    static constexpr const char* kNotAWaveFile = "The file is not a wave file that can be played.";
    static constexpr const char* kNotStarted =
        "The sound could not be played.  Check that a sound device is connected and working, then try again.";

#ifdef Q_OS_WIN
    // Windows' PlaySoundW.
    explicit SystemSoundPlayer(QObject* parent = nullptr);
#endif
    explicit SystemSoundPlayer(Output output, QObject* parent = nullptr);
    ~SystemSoundPlayer() override;

    void play(const QString& path) override;
    void close() override;
    bool isPlaying() const override { return m_active; }

private:
    // Ends the current sound and reports how it ended from the event loop, as the media player does.
    void report(bool failure, const QString& errorText);

    Output m_output;
    QTimer* m_end;
    bool m_active = false;
    unsigned m_sound = 0; // counts the sounds started, so a late report of an earlier one is dropped
};

} // namespace qora::gui
