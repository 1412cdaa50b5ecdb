#include <QtTest>

#include <cstdint>
#include <set>

#include "resources/program_icon.h"

using namespace qora::gui;

namespace {

std::uint32_t littleEndian(const QByteArray& bytes, qsizetype at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

} // namespace

class TestProgramIcon : public QObject {
    Q_OBJECT

private slots:
    void everyInstalledSizeIsASquareBadgeWithTransparentCorners() {
        for (const int side : kProgramIconSizes) {
            const QImage icon = programIconImage(side);
            QCOMPARE(icon.size(), QSize(side, side));
            QVERIFY(icon.hasAlphaChannel());
            QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(icon.pixel(side - 1, side - 1)), 0);
            QCOMPARE(qAlpha(icon.pixel(side / 2, side / 2)), 255);
            // Not a flat blot: badge, ring and stripe are all there, even at 16 pixels.
            std::set<QRgb> colours;
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x)
                    colours.insert(icon.pixel(x, y));
            QVERIFY2(colours.size() >= 12, qPrintable(QString::number(side)));
        }
    }

    void paintingIsRepeatableAndSizesAreBounded() {
        QCOMPARE(programIconImage(48), programIconImage(48));
        QCOMPARE(programIconImage(0).size(), QSize(1, 1));
        QCOMPARE(programIconImage(100000).size(), QSize(1024, 1024));
    }

    void windowIconPaintsAnyAskedSize() {
        const QIcon icon = programIcon();
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.availableSizes().size(), static_cast<qsizetype>(std::size(kProgramIconSizes)));
        QCOMPARE(icon.pixmap(QSize(40, 40)).size(), QSize(40, 40));
        const QImage normal = icon.pixmap(QSize(32, 32)).toImage();
        const QImage disabled = icon.pixmap(QSize(32, 32), QIcon::Disabled).toImage();
        QCOMPARE(normal, programIconImage(32).convertToFormat(normal.format()));
        QVERIFY(qAlpha(disabled.pixel(16, 16)) < qAlpha(normal.pixel(16, 16)));
    }

    // qora.exe's icon resource is the committed packaging/windows/qora.ico; it must show today's artwork in every
    // size Windows asks for. When the artwork changes: qora-render-icons --ico packaging/windows/qora.ico.
    void theWindowsIconFileHoldsTheCurrentArtwork() {
        QFile file(QStringLiteral(QORA_TEST_DATA_DIR "/../../packaging/windows/qora.ico"));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QByteArray icon = file.readAll();
        QVERIFY(icon.size() > 6);
        QCOMPARE(littleEndian(icon, 0, 2), 0u);
        QCOMPARE(littleEndian(icon, 2, 2), 1u); // an icon
        const std::uint32_t count = littleEndian(icon, 4, 2);
        QVERIFY(icon.size() >= 6 + 16 * qsizetype(count));
        std::set<int> sides;
        for (std::uint32_t i = 0; i < count; ++i) {
            const qsizetype entry = 6 + 16 * qsizetype(i);
            const int side = icon.at(entry) == 0 ? 256 : static_cast<unsigned char>(icon.at(entry));
            const std::uint32_t size = littleEndian(icon, entry + 8, 4);
            const std::uint32_t offset = littleEndian(icon, entry + 12, 4);
            QVERIFY(qsizetype(offset) + qsizetype(size) <= icon.size());
            const QImage image = QImage::fromData(icon.mid(offset, size), "png");
            QCOMPARE(image.size(), QSize(side, side));
            const QImage expected = programIconImage(side).convertToFormat(image.format());
            QVERIFY2(image == expected, qPrintable(QStringLiteral("the %1 pixel image is not today's icon").arg(side)));
            sides.insert(side);
        }
        QCOMPARE(sides, (std::set<int>{16, 24, 32, 48, 64, 128, 256}));
    }
};

QTEST_MAIN(TestProgramIcon)
#include "test_program_icon.moc"
