#include "editor/media_sound_player.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

namespace qora::gui {

namespace {

// What a backend that fails without saying why is reported as.
constexpr const char* kUnknownPlayerError = "The sound could not be played.";

constexpr const char* kNoAudioOutput =
    "No audio output was found, so the sound cannot be played.  Connect speakers or headphones, or check the "
    "system's sound settings, then try again.";

} // namespace

MediaSoundPlayer::MediaSoundPlayer(QObject* parent)
    : SoundPlayer(parent), m_player(new QMediaPlayer(this)), m_output(new QAudioOutput(this)) {
    m_player->setAudioOutput(m_output);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia)
            report(false, QString());
        else if (status == QMediaPlayer::InvalidMedia)
            report(true, m_player->errorString());
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString& text) {
        if (error != QMediaPlayer::NoError)
            report(true, text);
    });
}

void MediaSoundPlayer::play(const QString& path) {
    close();
    ++m_sound;
    m_active = true;
    // Without a sound device the player plays nothing and says nothing: the user is told instead.
    if (QMediaDevices::audioOutputs().isEmpty()) {
        report(true, QString::fromLatin1(kNoAudioOutput));
        return;
    }
    m_output->setDevice(QMediaDevices::defaultAudioOutput());
    m_player->setSource(QUrl::fromLocalFile(path));
    m_player->play();
}

void MediaSoundPlayer::close() {
    ++m_sound;
    m_active = false;
    if (m_player->playbackState() != QMediaPlayer::StoppedState)
        m_player->stop();
    if (!m_player->source().isEmpty())
        m_player->setSource(QUrl());
}

void MediaSoundPlayer::report(bool failure, const QString& errorText) {
    if (!m_active)
        return;
    m_active = false;
    const unsigned sound = m_sound;
    const QString text = errorText.isEmpty() ? QString::fromLatin1(kUnknownPlayerError) : errorText;
    QMetaObject::invokeMethod(
        this,
        [this, sound, failure, text] {
            if (sound != m_sound)
                return;
            if (failure)
                emit failed(text);
            else
                emit finished();
        },
        Qt::QueuedConnection);
}

} // namespace qora::gui
