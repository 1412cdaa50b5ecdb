#include "editor/system_sound_player.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QTimer>

#ifdef Q_OS_WIN
#include <windows.h>
#include <mmsystem.h>
#endif

namespace qora::gui {

namespace {

std::uint32_t littleEndian32(const char* bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

} // namespace

std::optional<std::chrono::milliseconds> wavePlayingTime(QIODevice& file) {
    char header[12];
    if (!file.seek(0) || file.read(header, 12) != 12 || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0)
        return std::nullopt;
    std::optional<std::uint32_t> bytesPerSecond;
    std::optional<std::uint64_t> dataSize;
    qint64 at = 12;
    while (!dataSize || !bytesPerSecond) {
        char chunk[8];
        if (!file.seek(at) || file.read(chunk, 8) != 8)
            break;
        const std::uint64_t size = littleEndian32(chunk + 4);
        const qint64 body = at + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            char format[12];
            if (size < 12 || file.read(format, 12) != 12)
                return std::nullopt;
            bytesPerSecond = littleEndian32(format + 8);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            const auto held = static_cast<std::uint64_t>(std::max<qint64>(0, file.size() - body));
            dataSize = std::min(size, held);
        }
        // Chunks are padded to an even length.
        at = body + static_cast<qint64>(size + (size & 1));
    }
    if (!dataSize || !bytesPerSecond || *bytesPerSecond == 0)
        return std::nullopt;
    return std::chrono::milliseconds((*dataSize * 1000 + *bytesPerSecond - 1) / *bytesPerSecond);
}

#ifdef Q_OS_WIN
SystemSoundPlayer::SystemSoundPlayer(QObject* parent)
    : SystemSoundPlayer(Output{[](const QString& path) {
                                   const QString native = QDir::toNativeSeparators(path);
                                   return PlaySoundW(reinterpret_cast<LPCWSTR>(native.utf16()), nullptr,
                                                     SND_ASYNC | SND_FILENAME | SND_NODEFAULT) != FALSE;
                               },
                               [] { PlaySoundW(nullptr, nullptr, 0); }},
                        parent) {}
#endif

SystemSoundPlayer::SystemSoundPlayer(Output output, QObject* parent)
    : SoundPlayer(parent), m_output(std::move(output)), m_end(new QTimer(this)) {
    m_end->setSingleShot(true);
    connect(m_end, &QTimer::timeout, this, [this] { report(false, QString()); });
}

SystemSoundPlayer::~SystemSoundPlayer() {
    // A sound left playing would outlive the window that started it.
    if (m_active)
        m_output.stop();
}

void SystemSoundPlayer::play(const QString& path) {
    close();
    ++m_sound;
    m_active = true;
    QFile file(path);
    const auto playingTime = file.open(QIODevice::ReadOnly) ? wavePlayingTime(file) : std::nullopt;
    file.close();
    if (!playingTime) {
        report(true, QString::fromLatin1(kNotAWaveFile));
        return;
    }
    if (!m_output.start(path)) {
        report(true, QString::fromLatin1(kNotStarted));
        return;
    }
    m_end->start(*playingTime);
}

void SystemSoundPlayer::close() {
    ++m_sound;
    m_end->stop();
    if (m_active) {
        m_active = false;
        m_output.stop();
    }
}

void SystemSoundPlayer::report(bool failure, const QString& errorText) {
    if (!m_active)
        return;
    m_active = false;
    m_end->stop();
    const unsigned sound = m_sound;
    QMetaObject::invokeMethod(
        this,
        [this, sound, failure, errorText] {
            if (sound != m_sound)
                return;
            if (failure)
                emit failed(errorText);
            else
                emit finished();
        },
        Qt::QueuedConnection);
}

} // namespace qora::gui
