#pragma once

#include <string>
#include <string_view>

#include <QImage>

#include "resources/artwork.h"

namespace qora {

// Names of the chart's built-in pictures.
inline constexpr std::string_view kChartBackgroundPicture = gui::kChartBackground;
inline constexpr std::string_view kPointPicture = gui::kPointMarker;
inline constexpr std::string_view kActivePointPicture = gui::kActivePointMarker;
inline constexpr std::string_view kLegendPatternPicture = gui::kLegendBackground;

// The size a point marker picture must have.
inline constexpr int kPointPictureSize = 11;

// One of the chart's built-in pictures (the program's own artwork): the default background picture, the two
// 11 x 11 point markers and the legends' pattern. Names are matched without regard to letter case; an unknown
// name gives a null image.
QImage builtInChartPicture(std::string_view name);
// The same laid out for another size, as the default background is for each chart size.
QImage builtInChartPicture(std::string_view name, QSize size);

// A picture file as read through the file system.
struct PictureFile {
    QImage image;         // null when the bytes are no picture Qt can decode
    int bitsPerPixel = 0; // the colour depth the file stores (BMP, PNG, JPEG); 0 when unknown
};

// Reads and decodes a picture file. Throws FileError when the file cannot be read.
PictureFile readPictureFile(const std::string& path);

// The colour depth stored in a picture file's header: BMP and PNG headers are read, a JPEG counts as 24 bits.
// 0 for anything else or a header too short.
int pictureBitsPerPixel(std::string_view bytes);

} // namespace qora
