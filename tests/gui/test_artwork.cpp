#include <QtTest>

#include <QDir>
#include <QPainter>
#include <set>

#include "browser/vehicle_list.h"
#include "resources/artwork.h"

using namespace qora::gui;

namespace {

// Different colours in an image, up to `enough`.
int distinctColours(const QImage& image, int enough) {
    std::set<QRgb> seen;
    const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            seen.insert(rgb.pixel(x, y));
            if (static_cast<int>(seen.size()) >= enough)
                return enough;
        }
    return static_cast<int>(seen.size());
}

QByteArray pixels(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
    return QByteArray(reinterpret_cast<const char*>(rgb.constBits()), rgb.sizeInBytes());
}

// The mean grey level (0 ... 255) of part of an image.
double meanGrey(const QImage& image, const QRect& part) {
    double sum = 0;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x)
            sum += qGray(image.pixel(x, y));
    return sum / (part.width() * part.height());
}

// The summed grey difference between two columns (or rows) of an image.
int lineDifference(const QImage& image, int a, int b, bool columns) {
    int sum = 0;
    const int length = columns ? image.height() : image.width();
    for (int i = 0; i < length; ++i) {
        const QRgb pa = columns ? image.pixel(a, i) : image.pixel(i, a);
        const QRgb pb = columns ? image.pixel(b, i) : image.pixel(i, b);
        sum += std::abs(qGray(pa) - qGray(pb));
    }
    return sum;
}

// Whether copies of the image laid side by side and one under another show no seam: opposite edges have the same
// brightness, and the step from the last column (row) to the first is no larger than steps inside the picture.
bool tilesSeamlessly(const QImage& image) {
    const int w = image.width();
    const int h = image.height();
    const int band = std::min({8, w / 4, h / 4});
    if (std::abs(meanGrey(image, QRect(0, 0, w, band)) - meanGrey(image, QRect(0, h - band, w, band))) > 3 ||
        std::abs(meanGrey(image, QRect(0, 0, band, h)) - meanGrey(image, QRect(w - band, 0, band, h))) > 3)
        return false;
    for (bool columns : {true, false}) {
        const int count = columns ? w : h;
        int inside = 0;
        for (int i = 0; i + 1 < count; ++i)
            inside = std::max(inside, lineDifference(image, i, i + 1, columns));
        if (lineDifference(image, count - 1, 0, columns) > inside)
            return false;
    }
    return true;
}

// Every picture laid out on one sheet with its name under it, for looking at the artwork as a whole.
QImage contactSheet() {
    constexpr int kWidth = 1640;
    constexpr int kGap = 14;
    constexpr int kLabel = 16;
    struct Placed {
        QString name;
        QImage image;
        QPoint at;
        int width;
    };
    std::vector<Placed> placed;
    int x = kGap;
    int y = kGap;
    int rowHeight = 0;
    QString group;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    const QFontMetrics metrics(font);
    for (const std::string& name : artworkNames()) {
        const QString qname = QString::fromStdString(name);
        const QString kind = qname.left(3).toLower();
        const QImage image = artworkImage(name);
        const int width = std::max(image.width(), metrics.horizontalAdvance(qname));
        if ((kind != group && !group.isEmpty() && x > kGap) || x + width + kGap > kWidth) {
            x = kGap;
            y += rowHeight + kLabel + kGap;
            rowHeight = 0;
        }
        group = kind;
        placed.push_back({qname, image, QPoint(x, y), width});
        x += width + kGap;
        rowHeight = std::max(rowHeight, image.height());
    }
    QImage sheet(kWidth, y + rowHeight + kLabel + kGap, QImage::Format_RGB32);
    sheet.fill(QColor(112, 118, 128));
    QPainter painter(&sheet);
    painter.setFont(font);
    for (const Placed& p : placed) {
        painter.drawImage(p.at, p.image);
        painter.setPen(QColor(246, 246, 246));
        painter.drawText(QRect(p.at.x(), p.at.y() + p.image.height() + 2, p.width + kGap, kLabel),
                         Qt::AlignLeft | Qt::AlignTop, p.name);
    }
    return sheet;
}

} // namespace

class TestArtwork : public QObject {
    Q_OBJECT

private slots:
    void everyNamedBitmapExistsAtItsSize() {
        const std::vector<std::pair<std::string, QSize>> expected{
            {"bmpChartBg", QSize(608, 288)},        {"bmpPoint", QSize(11, 11)},
            {"bmpActivePoint", QSize(11, 11)},      {"bmpNoCar", QSize(112, 56)},
            {"bmpAbout", QSize(328, 200)},          {"bmpDlgFileOpen", QSize(417, 408)},
            {"bmpDlgFileVersion", QSize(413, 293)}, {"bmpDlgSelectFolder", QSize(225, 276)},
            {"bmpDlgFileMan", QSize(378, 280)},     {"tbMixedOpenVehicle", QSize(100, 50)},
            {"tbMustangSaveHot", QSize(100, 50)},   {"tabDetails", QSize(24, 24)}};
        for (const auto& [name, size] : expected) {
            QVERIFY2(hasArtwork(name), name.c_str());
            QCOMPARE(artworkImage(name).size(), size);
            QCOMPARE(artworkSize(name), size);
        }
        for (std::string_view name : {"bmpPageBg", "bmpLegendBg", "bmpFormBg", "bmpDlgGenBase"})
            QVERIFY2(!artworkImage(name).isNull(), name.data());
        // A page skin covers at most 612 x 369.
        QVERIFY(artworkSize("bmpPageBg").width() <= 612 && artworkSize("bmpPageBg").height() <= 369);

        for (std::string_view code : qora::browser::kThumbnailCodes)
            QCOMPARE(artworkImage("BMP" + std::string(code)).size(), QSize(112, 56));
        for (std::string_view set : kToolbarSets)
            for (ToolbarButton button : {ToolbarButton::OpenVehicle, ToolbarButton::OpenGhost, ToolbarButton::Save})
                for (bool hot : {false, true})
                    QCOMPARE(artworkImage(toolbarImageName(set, button, hot)).size(), QSize(100, 50));
        QCOMPARE(artworkNames().size(), std::size_t(12 + 1 + 56 + 24 + 7));
    }

    void pointMarkersAreElevenSquareWithoutAlpha() {
        for (std::string_view name : {"bmpPoint", "bmpActivePoint"}) {
            const QImage marker = artworkImage(name);
            QCOMPARE(marker.size(), QSize(11, 11));
            QCOMPARE(marker.format(), QImage::Format_RGB32);
            QVERIFY(!marker.hasAlphaChannel());
        }
        // Red and green, as the chart's default point colours; the corners are the chart's black.
        const QColor normal = artworkImage("bmpPoint").pixelColor(6, 6);
        const QColor active = artworkImage("bmpActivePoint").pixelColor(6, 6);
        QVERIFY(normal.red() > 150 && normal.green() < 80);
        QVERIFY(active.green() > 150 && active.red() < 80);
        QCOMPARE(artworkImage("bmpPoint").pixelColor(0, 0), QColor(Qt::black));
    }

    void lookupIgnoresLetterCase() {
        QCOMPARE(pixels(artworkImage("BMPNOCAR")), pixels(artworkImage("bmpNoCar")));
        QCOMPARE(pixels(artworkImage("bmpg01b")), pixels(artworkImage("BMPG01B")));
        QCOMPARE(pixels(artworkImage("BMPCHARTBG")), pixels(artworkImage("bmpChartBg")));
        QVERIFY(hasArtwork("TBPORCHEOPENGHOSTHOT"));

        QVERIFY(artworkImage("bmpG00X").isNull());
        QVERIFY(artworkImage("").isNull());
        QVERIFY(artworkPixmap("bmpNothing").isNull());
        QVERIFY(!artworkSize("bmpNothing").isValid());
    }

    void thumbnailsDifferFromEachOtherAndFromNoCar() {
        std::set<QByteArray> seen{pixels(artworkImage("bmpNoCar"))};
        for (std::string_view code : qora::browser::kThumbnailCodes)
            QVERIFY2(seen.insert(pixels(artworkImage("BMP" + std::string(code)))).second, code.data());
    }

    void noPictureIsASingleFlatColour() {
        for (const std::string& name : artworkNames()) {
            const QImage image = artworkImage(name);
            QVERIFY2(!image.isNull(), name.c_str());
            // Even the 11 x 11 markers shade their ball through many tones.
            QVERIFY2(distinctColours(image, 12) >= 12, name.c_str());
        }
        // Backgrounds carry opaque pixels everywhere; buttons and icons have transparent corners.
        QVERIFY(!artworkImage("bmpPageBg").hasAlphaChannel());
        QVERIFY(!artworkImage("BMPG01B").hasAlphaChannel());
        QCOMPARE(qAlpha(artworkImage("tbBmwSave").pixel(0, 0)), 0);
    }

    void textStaysReadableOnTheBackgrounds() {
        // White texts: the pages' transparent labels, the legends' labels, the header, the about box's lines.
        for (std::string_view name : {"bmpPageBg", "bmpLegendBg", "bmpFormBg", "bmpChartBg"}) {
            const QImage image = artworkImage(name);
            QVERIFY2(meanGrey(image, image.rect()) < 60, name.data());
        }
        const QImage about = artworkImage("bmpAbout");
        QVERIFY(meanGrey(about, QRect(0, 140, 328, 60)) < 40);
        // Dialogs: the white caption on the dark band, the controls' dark texts on the light panel below.
        for (std::string_view name : {"bmpDlgGenBase", "bmpDlgFileOpen", "bmpDlgSelectFolder"}) {
            const QImage dialog = artworkImage(name);
            QVERIFY2(meanGrey(dialog, QRect(0, 0, dialog.width(), kDialogCaptionBand)) < 80, name.data());
            QVERIFY2(meanGrey(dialog, QRect(0, kDialogCaptionBand + 4, dialog.width() / 2, 60)) > 180, name.data());
        }
    }

    void tiledPatternsHaveNoSeams() {
        QVERIFY(tilesSeamlessly(artworkImage("bmpPageBg")));
        QVERIFY(tilesSeamlessly(artworkImage("bmpLegendBg")));
        // The check finds a seam where there is one.
        QVERIFY(!tilesSeamlessly(artworkImage("bmpFormBg")));
    }

    void picturesPaintForOtherSizesAndPixelRatios() {
        const QImage big = artworkImage("BMPG99P", QSize(176, 88), 2.0);
        QCOMPARE(big.size(), QSize(352, 176));
        QCOMPARE(big.devicePixelRatio(), 2.0);
        const QPixmap header = artworkPixmap("bmpFormBg", QSize(1000, 140), 1.0);
        QCOMPARE(header.size(), QSize(1000, 140));

        QVERIFY(artworkImage("bmpPageBg", QSize(0, 10)).isNull());
        QVERIFY(artworkImage("bmpPageBg", QSize(100000, 10)).isNull());
        QVERIFY(artworkImage("bmpPageBg", QSize(10, 10), 0.0).isNull());

        // Painted once, then served from the cache.
        QCOMPARE(artworkImage("bmpChartBg").cacheKey(), artworkImage("BMPCHARTBG").cacheKey());
        QCOMPARE(artworkPixmap("bmpNoCar").cacheKey(), artworkPixmap("bmpnocar").cacheKey());
    }

    void toolbarSetsAreChosenWithoutRegardToCase() {
        QCOMPARE(toolbarSet("MUSTANG"), std::string_view("mustang"));
        QCOMPARE(toolbarSet("Porche"), std::string_view("porche"));
        QCOMPARE(toolbarSet("bmw"), std::string_view("bmw"));
        QCOMPARE(toolbarSet(""), std::string_view("mixed"));
        QCOMPARE(toolbarSet("ferrari"), std::string_view("mixed"));
        QCOMPARE(toolbarImageName("MUSTANG", ToolbarButton::OpenGhost, true), std::string("tbMustangOpenGhostHot"));
        QCOMPARE(toolbarImageName("unknown", ToolbarButton::Save, false), std::string("tbMixedSave"));

        // Each set looks its own, and hot differs from normal.
        std::set<QByteArray> seen;
        for (std::string_view set : kToolbarSets)
            for (ToolbarButton button : {ToolbarButton::OpenVehicle, ToolbarButton::OpenGhost, ToolbarButton::Save})
                for (bool hot : {false, true})
                    QVERIFY(seen.insert(pixels(artworkImage(toolbarImageName(set, button, hot)))).second);

        const QIcon hot = toolbarIcon("Mustang", ToolbarButton::Save, true);
        QCOMPARE(hot.availableSizes().first(), QSize(100, 50));
        QCOMPARE(pixels(hot.pixmap(QSize(100, 50)).toImage()), pixels(artworkImage("tbMustangSaveHot")));

        // The toolbar's icon shows the hot image while the mouse is over the button.
        const QIcon button = toolbarIcon("bmw", ToolbarButton::OpenVehicle);
        QCOMPARE(pixels(button.pixmap(QSize(100, 50), QIcon::Normal).toImage()),
                 pixels(artworkImage("tbBmwOpenVehicle")));
        QCOMPARE(pixels(button.pixmap(QSize(100, 50), QIcon::Active).toImage()),
                 pixels(artworkImage("tbBmwOpenVehicleHot")));
    }

    void everyPageHasATabIcon() {
        std::set<QByteArray> seen;
        for (int page = 0; page < 7; ++page) {
            const QIcon icon = tabIcon(page);
            QVERIFY(!icon.isNull());
            QCOMPARE(icon.pixmap(QSize(16, 16)).size(), QSize(16, 16));
            QVERIFY(seen.insert(pixels(icon.pixmap(QSize(24, 24)).toImage())).second);
        }
        QCOMPARE(tabIconName(5), std::string("tabDriveTrain"));
        QVERIFY(tabIcon(-1).isNull());
        QVERIFY(tabIcon(7).isNull());
        QVERIFY(tabIconName(7).empty());
    }

    // With QORA_ARTWORK_DIR set, writes every picture and a contact sheet of them all into that folder.
    void writeArtworkWhenAsked() {
        const QString folder = qEnvironmentVariable("QORA_ARTWORK_DIR");
        if (folder.isEmpty())
            QSKIP("QORA_ARTWORK_DIR is not set");
        QVERIFY(QDir().mkpath(folder));
        for (const std::string& name : artworkNames())
            QVERIFY(artworkImage(name).save(QDir(folder).filePath(QString::fromStdString(name) + ".png")));
        QVERIFY(contactSheet().save(QDir(folder).filePath(QStringLiteral("artwork.png"))));
    }
};

QTEST_MAIN(TestArtwork)
#include "test_artwork.moc"
