// Renders QORA's icon into a hicolor icon tree: OUTDIR/<N>x<N>/apps/io.qora.Qora.png for every installed size.
// Run at build time (offscreen); the install rules pick the tree up.

#include <cstdio>

#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QStringList>

#include "resources/program_icon.h"

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: qora-render-icons OUTDIR\n");
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
