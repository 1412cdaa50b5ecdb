#include "resources/artwork.h"

#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <mutex>
#include <tuple>
#include <unordered_map>

#include <QPainter>

#include "browser/vehicle_list.h"
#include "platform/text.h"
#include "resources/artwork_painting.h"

namespace qora::gui {

namespace {

struct Entry {
    std::string name;
    QSize size;
    bool opaque = true;
    std::function<void(QPainter&, QSizeF)> paint;
};

constexpr std::array<std::string_view, 3> kButtonNames{"OpenVehicle", "OpenGhost", "Save"};
constexpr std::array<std::string_view, 7> kTabNames{"tabDetails",     "tabTires",      "tabAerodynamics", "tabHandling",
                                                    "tabPerformance", "tabDriveTrain", "tabOther"};
constexpr int kTabIconSize = 24;

// Pictures are painted on demand; this bounds what a caller's size can make us allocate.
constexpr int kMaxSide = 8192;

std::string capitalised(std::string_view word) {
    std::string result(word);
    if (!result.empty())
        result[0] = text::toUpper(result[0]);
    return result;
}

std::vector<Entry> buildEntries() {
    using namespace art;
    std::vector<Entry> entries;
    const auto add = [&entries](std::string_view name, QSize size, bool opaque,
                                std::function<void(QPainter&, QSizeF)> paint) {
        entries.push_back(Entry{std::string(name), size, opaque, std::move(paint)});
    };

    add(kPageBackground, kPageSkinSize, true, paintPageBackground);
    add(kFormBackground, QSize(1024, 128), true, paintFormBackground);
    add(kChartBackground, QSize(608, 288), true, paintChartBackground);
    add(kLegendBackground, QSize(64, 64), true, paintLegendBackground);
    add(kPointMarker, kPointMarkerSize, true, [](QPainter& p, QSizeF s) { paintPointMarker(p, s, false); });
    add(kActivePointMarker, kPointMarkerSize, true, [](QPainter& p, QSizeF s) { paintPointMarker(p, s, true); });
    add(kAboutPicture, kAboutPictureSize, true, paintAboutPicture);

    const auto dialog = [&add](std::string_view name, QSize size, DialogMotif motif) {
        add(name, size, true, [motif](QPainter& p, QSizeF s) { paintDialogBackground(p, s, motif); });
    };
    dialog(kGenericDialogBackground, QSize(360, 240), DialogMotif::None);
    dialog(kFileOpenDialogBackground, QSize(417, 408), DialogMotif::Car);
    dialog(kGarageDialogBackground, QSize(413, 293), DialogMotif::Garage);
    dialog(kSelectFolderDialogBackground, QSize(225, 276), DialogMotif::Folder);
    dialog(kFileManDialogBackground, QSize(378, 280), DialogMotif::Files);

    add(kNoCarPicture, kCarThumbnailSize, true, paintNoCar);
    for (std::string_view code : browser::kThumbnailCodes)
        add("BMP" + std::string(code), kCarThumbnailSize, true,
            [code](QPainter& p, QSizeF s) { paintThumbnail(p, s, code); });

    for (int set = 0; set < static_cast<int>(std::size(kToolbarSets)); ++set)
        for (int button = 0; button < static_cast<int>(kButtonNames.size()); ++button)
            for (bool hot : {false, true})
                add(toolbarImageName(kToolbarSets[set], static_cast<ToolbarButton>(button), hot), kToolbarButtonSize,
                    false, [set, button, hot](QPainter& p, QSizeF s) {
                        paintToolbarButton(p, s, set, static_cast<ToolbarButton>(button), hot);
                    });

    for (int page = 0; page < static_cast<int>(kTabNames.size()); ++page)
        add(kTabNames[static_cast<std::size_t>(page)], QSize(kTabIconSize, kTabIconSize), false,
            [page](QPainter& p, QSizeF s) { paintTabIcon(p, s, page); });
    return entries;
}

class Catalogue {
public:
    Catalogue() : m_entries(buildEntries()) {
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            m_index.emplace(text::toLower(m_entries[i].name), i);
    }

    const Entry* find(std::string_view name) const {
        const auto it = m_index.find(text::toLower(name));
        return it == m_index.end() ? nullptr : &m_entries[it->second];
    }
    const std::vector<Entry>& entries() const { return m_entries; }

    QImage image(const Entry& entry, QSize size, qreal ratio) {
        return art::cachedImage(entry.name, size, ratio, [&] { return render(entry, size, ratio); });
    }
    QPixmap pixmap(const Entry& entry, QSize size, qreal ratio) {
        return art::cachedPixmap(entry.name, size, ratio, [&] { return render(entry, size, ratio); });
    }

private:
    static QImage render(const Entry& entry, QSize size, qreal ratio) {
        const QSize pixels(static_cast<int>(std::ceil(size.width() * ratio)),
                           static_cast<int>(std::ceil(size.height() * ratio)));
        QImage image(pixels, entry.opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return {};
        image.setDevicePixelRatio(ratio);
        image.fill(entry.opaque ? QColor(Qt::black) : QColor(Qt::transparent));
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        entry.paint(painter, QSizeF(size));
        return image;
    }

    std::vector<Entry> m_entries;
    std::unordered_map<std::string, std::size_t> m_index;
};

// Every picture painted so far, under its id, size and pixel ratio: painted once, held once. A picture asked for as
// a pixmap keeps that pixmap beside its image; the two share their pixels.
class PictureCache {
public:
    QImage image(std::string_view id, QSize size, qreal ratio, const std::function<QImage()>& render) {
        std::lock_guard lock(m_mutex);
        return picture(id, size, ratio, render).image;
    }

    // QPixmaps belong to the GUI thread, which is the only caller.
    QPixmap pixmap(std::string_view id, QSize size, qreal ratio, const std::function<QImage()>& render) {
        std::lock_guard lock(m_mutex);
        Picture& picture = this->picture(id, size, ratio, render);
        if (picture.pixmap.isNull() && !picture.image.isNull())
            picture.pixmap = QPixmap::fromImage(picture.image);
        return picture.pixmap;
    }

private:
    struct Picture {
        QImage image;
        QPixmap pixmap;
    };
    using Key = std::tuple<std::string, int, int, qreal>;

    Picture& picture(std::string_view id, QSize size, qreal ratio, const std::function<QImage()>& render) {
        Key key{std::string(id), size.width(), size.height(), ratio};
        auto it = m_pictures.find(key);
        if (it == m_pictures.end())
            it = m_pictures.emplace(std::move(key), Picture{render(), {}}).first;
        return it->second;
    }

    // Recursive: a picture may be painted from another cached picture.
    std::recursive_mutex m_mutex;
    std::map<Key, Picture> m_pictures;
};

PictureCache& pictureCache() {
    static PictureCache instance;
    return instance;
}

Catalogue& catalogue() {
    static Catalogue instance;
    return instance;
}

bool acceptable(QSize size, qreal ratio) {
    return size.width() > 0 && size.height() > 0 && ratio > 0 && size.width() * ratio <= kMaxSide &&
           size.height() * ratio <= kMaxSide;
}

QIcon iconOf(const std::string& name) {
    QIcon icon;
    const QSize size = artworkSize(name);
    icon.addPixmap(artworkPixmap(name, size, 1.0));
    icon.addPixmap(artworkPixmap(name, size, 2.0));
    return icon;
}

} // namespace

namespace art {

QImage cachedImage(std::string_view id, QSize size, qreal ratio, const std::function<QImage()>& render) {
    return pictureCache().image(id, size, ratio, render);
}

QPixmap cachedPixmap(std::string_view id, QSize size, qreal ratio, const std::function<QImage()>& render) {
    return pictureCache().pixmap(id, size, ratio, render);
}

} // namespace art

QImage artworkImage(std::string_view name) {
    const Entry* entry = catalogue().find(name);
    return entry ? catalogue().image(*entry, entry->size, 1.0) : QImage();
}

QImage artworkImage(std::string_view name, QSize size, qreal devicePixelRatio) {
    const Entry* entry = catalogue().find(name);
    if (!entry || !acceptable(size, devicePixelRatio))
        return {};
    return catalogue().image(*entry, size, devicePixelRatio);
}

QPixmap artworkPixmap(std::string_view name, qreal devicePixelRatio) {
    const Entry* entry = catalogue().find(name);
    return entry ? artworkPixmap(name, entry->size, devicePixelRatio) : QPixmap();
}

QPixmap artworkPixmap(std::string_view name, QSize size, qreal devicePixelRatio) {
    const Entry* entry = catalogue().find(name);
    if (!entry || !acceptable(size, devicePixelRatio))
        return {};
    return catalogue().pixmap(*entry, size, devicePixelRatio);
}

bool hasArtwork(std::string_view name) {
    return catalogue().find(name) != nullptr;
}

QSize artworkSize(std::string_view name) {
    const Entry* entry = catalogue().find(name);
    return entry ? entry->size : QSize();
}

std::vector<std::string> artworkNames() {
    std::vector<std::string> names;
    for (const Entry& entry : catalogue().entries())
        names.push_back(entry.name);
    return names;
}

std::string_view toolbarSet(std::string_view name) {
    for (std::string_view set : kToolbarSets)
        if (text::iequals(set, name))
            return set;
    return kToolbarSets[0];
}

std::string toolbarImageName(std::string_view set, ToolbarButton button, bool hot) {
    return "tb" + capitalised(toolbarSet(set)) + std::string(kButtonNames[static_cast<std::size_t>(button)]) +
           (hot ? "Hot" : "");
}

QIcon toolbarIcon(std::string_view set, ToolbarButton button, bool hot) {
    return iconOf(toolbarImageName(set, button, hot));
}

QIcon toolbarIcon(std::string_view set, ToolbarButton button) {
    QIcon icon = iconOf(toolbarImageName(set, button, false));
    const std::string hot = toolbarImageName(set, button, true);
    for (qreal ratio : {1.0, 2.0})
        icon.addPixmap(artworkPixmap(hot, kToolbarButtonSize, ratio), QIcon::Active);
    return icon;
}

std::string tabIconName(int page) {
    if (page < 0 || page >= static_cast<int>(kTabNames.size()))
        return {};
    return std::string(kTabNames[static_cast<std::size_t>(page)]);
}

QIcon tabIcon(int page) {
    const std::string name = tabIconName(page);
    if (name.empty())
        return {};
    QIcon icon;
    for (int side : {16, 24, 32, 48})
        icon.addPixmap(artworkPixmap(name, QSize(side, side), 1.0));
    return icon;
}

} // namespace qora::gui
