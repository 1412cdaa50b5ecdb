#include "chart/chart_bitmap.h"

namespace qora {

ChartBitmap::ChartBitmap(const QImage& image)
    : m_image(image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                            : QImage::Format_RGB32)) {}

ChartPicturePtr makeChartBitmap(const QImage& image) {
    if (image.isNull())
        return {};
    return std::make_shared<const ChartBitmap>(image);
}

const QImage* chartBitmapImage(const ChartPicturePtr& bitmap) {
    const auto* ours = dynamic_cast<const ChartBitmap*>(bitmap.get());
    return ours ? &ours->image() : nullptr;
}

} // namespace qora
