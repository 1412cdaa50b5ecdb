#include <QtTest>

#include <set>

#include "resources/program_icon.h"

using namespace qora::gui;

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
};

QTEST_MAIN(TestProgramIcon)
#include "test_program_icon.moc"
