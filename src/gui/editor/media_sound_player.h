#pragma once

#include "editor/engine_sounds.h"

class QAudioOutput;
class QMediaPlayer;

namespace qora::gui {

// Qt Multimedia's media player on the default audio output. Without an audio device, or without the codecs for
// the file, the backend's error text arrives through failed(); the player reports only the first error of a sound.
class MediaSoundPlayer final : public SoundPlayer {
    Q_OBJECT

public:
    explicit MediaSoundPlayer(QObject* parent = nullptr);

    void play(const QString& path) override;
    void close() override;
    bool isPlaying() const override { return m_active; }

private:
    // Ends the current sound and reports how it ended once control is back in the event loop, so the receiver may
    // show a message box or start another sound without re-entering the media backend.
    void report(bool failure, const QString& errorText);

    QMediaPlayer* m_player;
    QAudioOutput* m_output;
    bool m_active = false;
    unsigned m_sound = 0; // counts the sounds started, so a late report of an earlier one is dropped
};

} // namespace qora::gui
