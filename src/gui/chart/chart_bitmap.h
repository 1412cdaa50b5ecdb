#pragma once

#include <QImage>

#include "chart/chart_view.h"

namespace qora {

// A chart picture (background, point marker, legend pattern) held as a QImage in the format that draws fastest:
// RGB32, or premultiplied ARGB32 when the picture has transparent parts.
class ChartBitmap final : public ChartPicture {
public:
    explicit ChartBitmap(const QImage& image);
    int width() const override { return m_image.width(); }
    int height() const override { return m_image.height(); }
    const QImage& image() const { return m_image; }

private:
    QImage m_image;
};

// A picture for a chart view or legend; empty for a null image.
ChartPicturePtr makeChartBitmap(const QImage& image);

// The image behind a chart picture made by makeChartBitmap; nullptr for none (or one made elsewhere).
const QImage* chartBitmapImage(const ChartPicturePtr& bitmap);

} // namespace qora
