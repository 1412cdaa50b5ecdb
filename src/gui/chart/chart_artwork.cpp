#include "chart/chart_artwork.h"

#include <cstdint>

#include "platform/file_system.h"

namespace qora {

namespace {

std::uint32_t littleEndian(std::string_view bytes, std::size_t offset, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    return value;
}

} // namespace

QImage builtInChartPicture(std::string_view name) {
    return gui::artworkImage(name);
}

QImage builtInChartPicture(std::string_view name, QSize size) {
    return gui::artworkImage(name, size);
}

int pictureBitsPerPixel(std::string_view bytes) {
    // BMP: the file header (14 bytes), then the info header: its size, and the bit count after the width,
    // height and planes (2-byte fields in the old 12-byte core header, 4-byte ones in all later headers).
    if (bytes.size() >= 30 && bytes[0] == 'B' && bytes[1] == 'M') {
        const std::uint32_t infoSize = littleEndian(bytes, 14, 4);
        if (infoSize == 12)
            return bytes.size() >= 26 ? static_cast<int>(littleEndian(bytes, 24, 2)) : 0;
        return static_cast<int>(littleEndian(bytes, 28, 2));
    }
    // PNG: the first chunk is IHDR, whose bit depth and colour type follow the width and height.
    static constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1a\n";
    if (bytes.size() >= 26 && bytes.substr(0, 8) == kPngSignature && bytes.substr(12, 4) == "IHDR") {
        const int depth = static_cast<unsigned char>(bytes[24]);
        switch (static_cast<unsigned char>(bytes[25])) {
        case 0: // grey
        case 3: // palette
            return depth;
        case 2: // RGB
            return depth * 3;
        case 4: // grey and alpha
            return depth * 2;
        case 6: // RGB and alpha
            return depth * 4;
        default:
            return 0;
        }
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xFF\xD8\xFF")
        return 24;
    return 0;
}

PictureFile readPictureFile(const std::string& path) {
    const std::string bytes = fileSystem().readFile(path);
    PictureFile picture;
    picture.image = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()));
    picture.bitsPerPixel = pictureBitsPerPixel(bytes);
    // A JPEG's header does not tell; a grey one decodes to one byte per pixel.
    if (picture.image.format() == QImage::Format_Grayscale8 && bytes.substr(0, 3) == "\xFF\xD8\xFF")
        picture.bitsPerPixel = 8;
    return picture;
}

} // namespace qora
