#pragma once

#include <string>
#include <string_view>

#include <QFile>
#include <QString>
#include <QStringDecoder>

// Conversions between the core's byte strings and Qt's strings. Vehicle texts and messages are Latin-1 bytes;
// paths are in the platform's own file-name encoding.
namespace qora::gui {

inline QString fromLatin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Characters Latin-1 cannot hold become "?": a vehicle file has no way to store them.
inline std::string toLatin1(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// A message may carry a path (UTF-8 on most systems) beside Latin-1 vehicle texts: valid UTF-8 is read as such,
// anything else as Latin-1.
inline QString messageText(std::string_view text) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString decoded = decoder(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    return decoder.hasError() ? fromLatin1(text) : decoded;
}

// Paths between Qt and the core: the system's bytes on Linux, UTF-8 on Windows (where the core turns them into
// UTF-16 at the system, and the ANSI code page Qt would use there cannot name every file).
inline QString fromPath(const std::string& path) {
#ifdef Q_OS_WIN
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
#else
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
#endif
}

inline std::string toPath(const QString& path) {
#ifdef Q_OS_WIN
    const QByteArray bytes = path.toUtf8();
#else
    const QByteArray bytes = QFile::encodeName(path);
#endif
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace qora::gui
