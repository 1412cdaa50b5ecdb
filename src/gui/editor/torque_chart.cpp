#include "editor/torque_chart.h"

#include <algorithm>
#include <string>

#include <QGridLayout>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollArea>
#include <QVBoxLayout>

#include "calc/engine_curve.h"
#include "calc/number_text.h"
#include "settings/settings.h"
#include "vehicle/old_veh_file.h"

namespace qora::gui {

namespace {

constexpr int kBaseWidth = 608;
constexpr int kWidthPerZoom = 121;
constexpr int kBaseHeight = 288;
constexpr int kHeightPerZoom = 38;
constexpr int kLeftLegendWidth = 30;
constexpr int kBottomLegendHeight = 14;
constexpr int kLeftLegendExtra = 10;

int chartWidth(int zoom) {
    return kBaseWidth + kWidthPerZoom * std::clamp(zoom, 0, 4);
}

// 288, 326, 369, 402, 440: a height that is a multiple of 14 grows by 5 so the grid rows stay whole.
int chartHeight(int zoom) {
    int height = kBaseHeight + kHeightPerZoom * std::clamp(zoom, 0, 4);
    if (height % 14 == 0)
        height += 5;
    return height;
}

TLineData emptyLine(bool background, bool visible) {
    TLineData line;
    line.points.assign(kCurvePointCount, TLinePoint{});
    line.background = background;
    line.visible = visible;
    return line;
}

} // namespace

ChartImage::ChartImage(const QImage* image, QWidget* parent) : QWidget(parent), m_image(image) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ChartImage::imageResized() {
    setFixedSize(m_image->size().isEmpty() ? QSize(1, 1) : m_image->size());
    update();
}

QSize ChartImage::sizeHint() const {
    return m_image->size();
}

void ChartImage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (m_image->isNull())
        painter.fillRect(event->rect(), Qt::black);
    else
        painter.drawImage(event->rect(), *m_image, event->rect());
}

TorqueChart::TorqueChart(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ChartScrollBox"));
    m_scroll->setFrameShape(QFrame::StyledPanel);
    m_scroll->setWidgetResizable(false);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(m_scroll);

    auto* canvas = new QWidget;
    canvas->setObjectName(QStringLiteral("ChartCanvas"));
    canvas->setAutoFillBackground(true);
    QPalette black = canvas->palette();
    black.setColor(QPalette::Window, Qt::black);
    canvas->setPalette(black);
    auto* grid = new QGridLayout(canvas);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    m_left = new ChartImage(&m_painter.legendY(), canvas);
    m_left->setObjectName(QStringLiteral("iTorqueChart_Left"));
    m_grid = new ChartImage(&m_painter.image(), canvas);
    m_grid->setObjectName(QStringLiteral("iTorqueGrid"));
    m_bottom = new ChartImage(&m_painter.legendX(), canvas);
    m_bottom->setObjectName(QStringLiteral("iTorqueChart_Bottom"));
    grid->addWidget(m_left, 0, 0, 2, 1, Qt::AlignTop | Qt::AlignLeft);
    grid->addWidget(m_grid, 0, 1, Qt::AlignTop | Qt::AlignLeft);
    grid->addWidget(m_bottom, 1, 1, Qt::AlignTop | Qt::AlignLeft);
    m_scroll->setWidget(canvas);

    m_painter.onImageChanged = [this](const QRect& rect) { m_grid->update(rect); };
    m_painter.onLegendsChanged = [this] { sizeImages(); };
}

TorqueChart::~TorqueChart() {
    if (m_chart)
        m_chart->SetRenderer(nullptr);
}

void TorqueChart::sizeImages() {
    m_left->imageResized();
    m_grid->imageResized();
    m_bottom->imageResized();
    if (QWidget* canvas = m_scroll->widget())
        canvas->adjustSize();
    // The scroll area shows the whole chart at zoom 0 and scrolls once it is magnified.
    const QSize content = m_scroll->widget() ? m_scroll->widget()->sizeHint() : QSize();
    const int frame = 2 * m_scroll->frameWidth();
    m_scroll->setMinimumHeight(std::min(content.height(), chartHeight(0) + kBottomLegendHeight) + frame +
                               (content.width() > chartWidth(0) + kLeftLegendWidth ? 16 : 0));
    m_scroll->setMaximumHeight(content.height() + frame + 16);
    // Wide enough for the chart at zoom 0 without scrolling.
    m_scroll->setMinimumWidth(std::min(content.width(), chartWidth(0) + kLeftLegendWidth) + frame);
}

void TorqueChart::setUp(const TSettings& settings) {
    const int width = chartWidth(settings.chartXZoom);
    const int height = chartHeight(settings.chartYZoom);

    auto view = std::make_unique<TChartView>();
    view->width = width;
    view->height = height;
    view->gridColor = settings.GetChartColors(1);
    view->backgroundColor = settings.GetChartColors(0);
    view->lines3D = settings.chart3DLines;
    view->points3D = settings.chart3DPoints;
    view->pictureStyle = static_cast<TPictureStyle>(std::clamp(settings.chartBitmapStyle, 0, 3));

    auto legends = std::make_unique<TChartLegends>();
    for (int i = 0; i <= 14; ++i)
        legends->y.labels.push_back(std::to_string(i));
    for (int i = 0; i <= 40; ++i)
        legends->x.labels.push_back(numbers::generalText(i * 0.5));
    legends->y.width = kLeftLegendWidth;
    legends->y.height = height + kLeftLegendExtra;
    legends->y.fontName = "Arial";
    legends->y.fontSize = 8;
    legends->x.width = width;
    legends->x.height = kBottomLegendHeight;
    legends->x.fontName = "Small Fonts";
    legends->x.fontSize = 7;
    legends->x.textColor = legends->y.textColor = rgbColor(255, 255, 255);
    legends->x.backgroundColor = legends->y.backgroundColor = rgbColor(0, 0, 0);
    legends->verticalRange = kTorqueAxisMaxNm;
    legends->verticalMaximum = settings.chartNm ? kTorqueAxisMaxNm : kTorqueAxisMaxFtLbs;

    if (m_chart)
        m_chart->SetRenderer(nullptr);
    m_chart = std::make_unique<TLineChart>(TChartOwner{width + 16, height + 10}, std::move(view), std::move(legends),
                                           &m_painter);

    m_chart->Add(emptyLine(true, false));
    m_chart->Add(emptyLine(true, false));
    m_chart->Add(emptyLine(false, true));
    m_chart->Add(emptyLine(false, true));

    const auto colour = [&settings](int index) { return settings.GetChartColors(index); };
    const auto paint = [&colour](TLineData& line, int high, int normal, int shadow) {
        line.high = colour(high);
        line.normal = colour(normal);
        line.shadow = colour(shadow);
    };
    paint(line(GhostPowerLine), 11, 12, 13);
    paint(line(GhostTorqueLine), 8, 9, 10);
    paint(line(PowerLine), 5, 6, 7);
    TLineData& torque = line(TorqueLine);
    paint(torque, 2, 3, 4);
    torque.point = colour(14);
    torque.pointShadow = colour(15);
    torque.activePoint = colour(16);
    torque.activePointShadow = colour(17);
    torque.userTag = 2;
    torque.unit = settings.chartNm ? TorqueNm : TorqueFtLbs;
    line(GhostTorqueLine).unit = torque.unit;
    line(PowerLine).unit = settings.chartKW ? PowerKW : PowerHp;
    line(GhostPowerLine).unit = line(PowerLine).unit;

    m_chart->RecalcAll();
    m_chart->SetDrawing(true);
    sizeImages();
}

void TorqueChart::loadCurve(const TOldVehFile& vehicle, bool ghost, const TSettings& settings) {
    if (!m_chart)
        return;
    m_chart->SetDrawing(false);
    if (ghost)
        LoadEngineCurve(vehicle, true, settings, line(GhostTorqueLine), line(GhostPowerLine));
    else
        LoadEngineCurve(vehicle, false, settings, line(TorqueLine), line(PowerLine));
    m_chart->RecalcAll();
    m_chart->SetDrawing(true);
}

void TorqueChart::refresh() {
    if (!m_chart)
        return;
    m_chart->RecalcAll();
    m_chart->Redraw();
}

} // namespace qora::gui
