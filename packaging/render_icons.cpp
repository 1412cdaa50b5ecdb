// Renders QORA's icon into a hicolor icon tree: OUTDIR/<N>x<N>/apps/io.qora.Qora.png for every installed size.
// Run at build time (offscreen); the install rules pick the tree up.
// With --ico FILE it writes the Windows icon instead (packaging/windows/qora.ico, which the Windows build takes
// as the program's icon resource): one PNG image per size Windows asks for, 16 to 256 pixels.

#include <cstdint>
#include <cstdio>

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>
#include <QStringList>

#include "resources/program_icon.h"

namespace {

constexpr int kWindowsIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

void appendLittleEndian(QByteArray& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// An icon file: the directory of images, then each image as a PNG (read by Windows since Vista, and by Wine).
int writeWindowsIcon(const QString& path) {
    QList<QByteArray> images;
    for (const int side : kWindowsIconSizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!qora::gui::programIconImage(side).save(&buffer, "png")) {
            std::fprintf(stderr, "qora-render-icons: cannot encode the %d pixel icon\n", side);
            return 1;
        }
        images.append(png);
    }
    QByteArray icon;
    appendLittleEndian(icon, 0, 2); // reserved
    appendLittleEndian(icon, 1, 2); // an icon, not a cursor
    appendLittleEndian(icon, static_cast<std::uint32_t>(images.size()), 2);
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (int i = 0; i < images.size(); ++i) {
        const int side = kWindowsIconSizes[i];
        appendLittleEndian(icon, side >= 256 ? 0 : static_cast<std::uint32_t>(side), 1); // 0 stands for 256
        appendLittleEndian(icon, side >= 256 ? 0 : static_cast<std::uint32_t>(side), 1);
        appendLittleEndian(icon, 0, 1); // no palette
        appendLittleEndian(icon, 0, 1);
        appendLittleEndian(icon, 1, 2);  // colour planes
        appendLittleEndian(icon, 32, 2); // bits per pixel
        appendLittleEndian(icon, static_cast<std::uint32_t>(images[i].size()), 4);
        appendLittleEndian(icon, offset, 4);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const QByteArray& image : images)
        icon.append(image);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(icon) != icon.size() || !file.commit()) {
        std::fprintf(stderr, "qora-render-icons: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() == 3 && arguments.at(1) == QStringLiteral("--ico"))
        return writeWindowsIcon(arguments.at(2));
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: qora-render-icons OUTDIR\n       qora-render-icons --ico FILE\n");
        return 2;
    }
    const QDir root(arguments.at(1));
    for (const int side : qora::gui::kProgramIconSizes) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(side);
        const QString path = root.filePath(folder + QLatin1Char('/') + QLatin1String(qora::gui::kDesktopId) +
                                           QStringLiteral(".png"));
        QImageWriter writer(path, "png");
        if (!root.mkpath(folder) || !writer.write(qora::gui::programIconImage(side))) {
            std::fprintf(stderr, "qora-render-icons: cannot write %s: %s\n", qPrintable(path),
                         qPrintable(writer.errorString()));
            return 1;
        }
    }
    return 0;
}
