#include "chart/torque_chart.h"

#include <algorithm>
#include <string>

#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "calc/number_text.h"
#include "chart/chart_artwork.h"
#include "chart/chart_bitmap.h"
#include "chart/torque_chart_layout.h"
#include "editor/field_widgets.h"
#include "platform/prompt.h"
#include "settings/settings.h"
#include "vehicle/vehicle_file.h"

namespace qora::gui {

using namespace torque_chart_layout;

namespace {

LineData emptyLine(bool background, bool visible) {
    LineData line;
    line.points.assign(kCurvePointCount, LinePoint{});
    line.background = background;
    line.visible = visible;
    return line;
}

// ---- ChartScrollArea ----------------------------------------------------------------------------------------

// The scroll area of the chart image. The legends sit in its margins, outside the scrolled part: the Y legend
// follows vertical scrolling only and the X legend horizontal scrolling only, so both stay in view at every zoom.
// It asks for room to show the whole chart and makes do with the unmagnified size.
class ChartScrollArea final : public QScrollArea {
public:
    explicit ChartScrollArea(QWidget* parent) : QScrollArea(parent) {
        setFrameShape(QFrame::StyledPanel);
        setWidgetResizable(false);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        const auto clip = [this] {
            auto* area = new QWidget(this);
            area->setAutoFillBackground(true);
            QPalette black = area->palette();
            black.setColor(QPalette::Window, Qt::black);
            area->setPalette(black);
            return area;
        };
        m_leftClip = clip();
        m_bottomClip = clip();
        viewport()->setAutoFillBackground(true);
        QPalette black = viewport()->palette();
        black.setColor(QPalette::Window, Qt::black);
        viewport()->setPalette(black);
    }

    void setChart(QWidget* grid, QWidget* left, QWidget* bottom) {
        setWidget(grid);
        m_left = left;
        m_bottom = bottom;
        m_left->setParent(m_leftClip);
        m_bottom->setParent(m_bottomClip);
    }

    // Told the size of the part of the chart on view.
    std::function<void(QSize)> onViewportResized;

    // After the images changed size.
    void chartResized() {
        setViewportMargins(m_left->width(), 0, 0, kBottomLegendHeight);
        // Never wider or higher than the whole chart: no empty band beside it.
        setMaximumSize(sizeHint());
        updateGeometry();
        placeLegends();
    }

    // As high as the unmagnified chart at every vertical zoom, so the controls under it never move: a magnified
    // chart scrolls inside it. Wide enough for the vertical scroll bar when there is one, so a horizontal bar (and
    // with it another height) is not needed at the unmagnified width.
    QSize sizeHint() const override {
        const QSize full = widget() ? widget()->size() : QSize();
        QSize size = chartSize(QSize(full.width(), std::min(full.height(), chartHeight(0))));
        if (full.height() > chartHeight(0))
            size.rwidth() += verticalScrollBar()->sizeHint().width();
        return size;
    }

    QSize minimumSizeHint() const override {
        const QSize full = widget() ? widget()->size() : QSize();
        const QSize least(std::min(full.width(), chartWidth(0)), std::min(full.height(), chartHeight(0)));
        QSize size = chartSize(least);
        // Room for the bars of a chart larger than what is shown.
        if (full.width() > least.width())
            size.rheight() += horizontalScrollBar()->sizeHint().height();
        if (full.height() > least.height())
            size.rwidth() += verticalScrollBar()->sizeHint().width();
        return size;
    }

protected:
    void scrollContentsBy(int dx, int dy) override {
        QScrollArea::scrollContentsBy(dx, dy);
        placeLegends();
    }

    void resizeEvent(QResizeEvent* event) override {
        QScrollArea::resizeEvent(event);
        placeLegends();
        if (onViewportResized)
            onViewportResized(viewport()->size());
    }

private:
    QSize chartSize(QSize image) const {
        const int frame = 2 * frameWidth();
        const int legend = m_left ? m_left->width() : kLeftLegendWidth;
        return {image.width() + legend + frame, image.height() + kBottomLegendHeight + frame};
    }

    void placeLegends() {
        if (!m_left || !m_bottom)
            return;
        const QRect view = viewport()->geometry();
        // The Y legend runs on under the grid's bottom edge, where its "0" is centred.
        m_leftClip->setGeometry(view.left() - m_left->width(), view.top(), m_left->width(),
                                view.height() + kBottomLegendHeight);
        m_left->move(0, -verticalScrollBar()->value());
        m_bottomClip->setGeometry(view.left(), view.bottom() + 1, view.width(), kBottomLegendHeight);
        m_bottom->move(-horizontalScrollBar()->value(), 0);
    }

    QWidget* m_leftClip = nullptr;
    QWidget* m_bottomClip = nullptr;
    QWidget* m_left = nullptr;
    QWidget* m_bottom = nullptr;
};

} // namespace

// ---- ChartImage ---------------------------------------------------------------------------------------------

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

// ---- UpDown -------------------------------------------------------------------------------------------------

UpDown::UpDown(Qt::Orientation orientation, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), m_minimum(minimum), m_maximum(std::max(minimum, maximum)), m_position(minimum) {
    QBoxLayout* layout = orientation == Qt::Horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(this))
                                                       : static_cast<QBoxLayout*>(new QVBoxLayout(this));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto arrow = [this](Qt::ArrowType type, int delta) {
        auto* button = new QToolButton(this);
        button->setArrowType(type);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, delta] { step(delta); });
        return button;
    };
    const bool horizontal = orientation == Qt::Horizontal;
    m_down = arrow(horizontal ? Qt::LeftArrow : Qt::DownArrow, -1);
    m_up = arrow(horizontal ? Qt::RightArrow : Qt::UpArrow, +1);
    const QSize buttonSize = horizontal ? QSize(18, 22) : QSize(22, 11);
    m_down->setFixedSize(buttonSize);
    m_up->setFixedSize(buttonSize);
    layout->addWidget(horizontal ? m_down : m_up);
    layout->addWidget(horizontal ? m_up : m_down);
    updateButtons();
}

void UpDown::setPosition(int position) {
    m_position = std::clamp(position, m_minimum, m_maximum);
    updateButtons();
}

void UpDown::step(int delta) {
    const int next = std::clamp(m_position + delta, m_minimum, m_maximum);
    if (next == m_position)
        return;
    m_position = next;
    updateButtons();
    emit clicked();
}

void UpDown::updateButtons() {
    m_down->setEnabled(m_position > m_minimum);
    m_up->setEnabled(m_position < m_maximum);
}

// ---- TorqueChart --------------------------------------------------------------------------------------------

TorqueChart::TorqueChart(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    auto* scroll = new ChartScrollArea(this);
    m_scroll = scroll;
    m_scroll->setObjectName(QStringLiteral("ChartScrollBox"));
    layout->addWidget(m_scroll);
    m_grid = new ChartImage(&m_painter.image());
    m_grid->setObjectName(QStringLiteral("iTorqueGrid"));
    m_grid->setMouseTracking(true);
    m_grid->installEventFilter(this);
    m_left = new ChartImage(&m_painter.legendY());
    m_left->setObjectName(QStringLiteral("iTorqueChart_Left"));
    m_bottom = new ChartImage(&m_painter.legendX());
    m_bottom->setObjectName(QStringLiteral("iTorqueChart_Bottom"));
    scroll->setChart(m_grid, m_left, m_bottom);
    scroll->onViewportResized = [this](QSize size) { guarded([this, size] { viewportResized(size); }); };

    // A zoom keeps the active point in view (the bottom of the chart, where the curve starts, when there is none),
    // until the user scrolls elsewhere.
    QScrollBar* vertical = m_scroll->verticalScrollBar();
    const auto follow = [this] {
        if (m_scrollToBottom)
            showActivePointInView();
    };
    connect(vertical, &QScrollBar::rangeChanged, this, follow);
    connect(m_scroll->horizontalScrollBar(), &QScrollBar::rangeChanged, this, follow);
    connect(vertical, &QScrollBar::actionTriggered, this, [this] { m_scrollToBottom = false; });

    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("ChartControls"));
    buildControls(bar);
    layout->addWidget(bar);
    buildMenus();

    m_painter.onImageChanged = [this](const QRect& rect) { m_grid->update(rect); };
    m_painter.onLegendsChanged = [this] { sizeImages(); };
}

TorqueChart::~TorqueChart() {
    if (m_chart)
        m_chart->setRenderer(nullptr);
}

void TorqueChart::attach(const TorqueChartHost& host) {
    m_host = host;
}

void TorqueChart::guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        if (m_host.prompt)
            m_host.prompt->tell("QORA Error", error.what(), PromptIcon::Stop);
    }
}

void TorqueChart::buildControls(QWidget* bar) {
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);

    auto* magnify = new QLabel(tr("Magnify:"), bar);
    row->addWidget(magnify);
    const auto scale = [this, bar, row](const char* name, const char* textName, Qt::Orientation orientation,
                                        const QString& axis, const QString& hint) {
        auto* caption = new QLabel(axis, bar);
        auto* upDown = new UpDown(orientation, 0, kMaxZoom, bar);
        upDown->setObjectName(QString::fromLatin1(name));
        upDown->setToolTip(hint);
        auto* readOut = new QLabel(QStringLiteral("0%"), bar);
        readOut->setObjectName(QString::fromLatin1(textName));
        readOut->setMinimumWidth(readOut->fontMetrics().horizontalAdvance(QStringLiteral("888%")));
        row->addWidget(caption);
        row->addWidget(upDown);
        row->addWidget(readOut);
        return std::pair{upDown, readOut};
    };
    std::tie(m_xScale, m_xScaleText) =
        scale("bXScaleAdjust", "lXScale", Qt::Horizontal, tr("rpm"), tr("Magnify the rpm axis"));
    std::tie(m_yScale, m_yScaleText) =
        scale("bYScaleAdjust", "lYScale", Qt::Vertical, tr("torque"), tr("Magnify the torque axis"));
    connect(m_xScale, &UpDown::clicked, this, [this] { guarded([this] { adjustRpmScale(); }); });
    connect(m_yScale, &UpDown::clicked, this, [this] { guarded([this] { adjustTorqueScale(); }); });
    row->addSpacing(12);

    auto* pointCaption = new QLabel(tr("Point:"), bar);
    m_pointValue = new QLineEdit(QStringLiteral("1400.00"), bar);
    m_pointValue->setObjectName(QStringLiteral("ePointValue"));
    m_pointValue->setReadOnly(true);
    m_pointValue->setFocusPolicy(Qt::ClickFocus);
    m_pointValue->setAlignment(Qt::AlignRight);
    m_pointValue->setToolTip(tr("Value of the selected torque point"));
    m_pointValue->setFixedWidth(m_pointValue->fontMetrics().horizontalAdvance(QStringLiteral("00000.00")) + 14);
    m_pointValue->installEventFilter(this);
    m_pointSpin = new SpinButton(m_pointValue, 0, bar);
    m_pointSpin->setObjectName(QStringLiteral("csbChartPoint"));
    connect(m_pointSpin, &SpinButton::stepped, this, [this](SpinButton*, bool up) {
        guarded([this, up] { up ? stepActivePointUp() : stepActivePointDown(); });
    });
    row->addWidget(pointCaption);
    auto* pointCell = new QHBoxLayout;
    pointCell->setSpacing(1);
    pointCell->addWidget(m_pointValue);
    pointCell->addWidget(m_pointSpin);
    row->addLayout(pointCell);

    m_highPoint = new QToolButton(bar);
    m_highPoint->setObjectName(QStringLiteral("sbHighPoint"));
    m_highPoint->setText(tr("Peak"));
    m_highPoint->setToolTip(tr("Select Highest Point"));
    connect(m_highPoint, &QToolButton::clicked, this, [this] { guarded([this] { selectHighPoint(); }); });
    row->addWidget(m_highPoint);
    row->addStretch(1);

    static constexpr std::array<const char*, 3> kButtonNames{"sbChartOptions", "sbChartColors", "sbChartBitmaps"};
    const std::array<QString, 3> captions{tr("Options"), tr("Colors"), tr("Bitmaps")};
    for (int tag = 0; tag < 3; ++tag) {
        auto* button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(kButtonNames[static_cast<std::size_t>(tag)]));
        button->setText(captions[static_cast<std::size_t>(tag)]);
        button->setArrowType(Qt::NoArrow);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        connect(button, &QToolButton::clicked, this, [this, tag] { guarded([this, tag] { showChartMenu(tag); }); });
        row->addWidget(button);
        m_menuButtons[static_cast<std::size_t>(tag)] = button;
    }
}

void TorqueChart::sizeImages() {
    m_left->imageResized();
    m_grid->imageResized();
    m_bottom->imageResized();
    static_cast<ChartScrollArea*>(m_scroll)->chartResized();
}

void TorqueChart::setUp(Settings& settings) {
    m_settings = &settings;
    settings.chartXZoom = std::clamp(settings.chartXZoom, 0, kMaxZoom);
    settings.chartYZoom = std::clamp(settings.chartYZoom, 0, kMaxZoom);
    const int width = chartWidth(settings.chartXZoom);
    const int height = chartHeight(settings.chartYZoom);

    auto view = std::make_unique<ChartView>();
    view->width = width;
    view->height = height;
    view->lines3D = settings.chart3DLines;
    view->points3D = settings.chart3DPoints;
    view->pictureStyle = static_cast<PictureStyle>(std::clamp(settings.chartBitmapStyle, 0, 3));

    auto legends = std::make_unique<ChartLegends>();
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
    legends->x.pattern = legends->y.pattern = makeChartBitmap(builtInChartPicture(kLegendPatternPicture));
    legends->verticalRange = kTorqueAxisMaxNm;
    legends->verticalMaximum = settings.chartNm ? kTorqueAxisMaxNm : kTorqueAxisMaxFtLbs;

    if (m_chart)
        m_chart->setRenderer(nullptr);
    m_dragging = false;
    m_hovered = -1;
    // A centred picture is centred in the part of the chart on view (the scroll area less its bars).
    const QSize shown =
        m_scroll->viewport()->size().isEmpty() ? QSize(chartWidth(0), chartHeight(0)) : m_scroll->viewport()->size();
    m_chart = std::make_unique<LineChart>(ChartOwner{shown.width() + kScrollBarRoom, shown.height() + kLeftLegendExtra},
                                          std::move(view), std::move(legends), &m_painter);
    m_chart->pointChanged = [this](int, int point) { recalculatePowerPoint(point); };
    loadBackground();
    loadPointMarker(settings.chartPointBitmap, false);
    loadPointMarker(settings.chartActPointBitmap, true);

    m_chart->add(emptyLine(true, false));
    m_chart->add(emptyLine(true, false));
    m_chart->add(emptyLine(false, true));
    m_chart->add(emptyLine(false, true));
    LineData& torque = line(TorqueLine);
    torque.userTag = 2;
    torque.unit = settings.chartNm ? TorqueNm : TorqueFtLbs;
    line(GhostTorqueLine).unit = torque.unit;
    line(PowerLine).unit = settings.chartKW ? PowerKW : PowerHp;
    line(GhostPowerLine).unit = line(PowerLine).unit;

    assignChartColors();
    m_xScale->setPosition(settings.chartXZoom);
    m_yScale->setPosition(settings.chartYZoom);
    applyZoom();
    syncMenus();
}

void TorqueChart::loadCurve(const VehicleFile& vehicle, bool ghost, const Settings& settings) {
    if (!m_chart)
        return;
    m_chart->setDrawing(false);
    if (ghost) {
        loadEngineCurve(vehicle, true, settings, line(GhostTorqueLine), line(GhostPowerLine));
        // Shown only while a ghost is open and its lines are wanted.
        line(GhostTorqueLine).visible = line(GhostPowerLine).visible = m_ghostOpen && settings.chartGhostLines;
    } else {
        loadEngineCurve(vehicle, false, settings, line(TorqueLine), line(PowerLine));
    }
    m_chart->recalculateAll();
    m_chart->setDrawing(true);
    showActivePointValue();
    emit peakFiguresChanged(ghost);
}

void TorqueChart::viewportResized(QSize size) {
    if (!m_chart)
        return;
    m_chart->setOwnerSize(size.width() + kScrollBarRoom, size.height() + kLeftLegendExtra);
    const ChartView& view = *m_chart->view();
    if (view.picture && view.pictureStyle == PictureStyle::Centred && m_chart->drawing())
        rebuild();
}

void TorqueChart::refresh() {
    if (!m_chart)
        return;
    rebuild();
    // The curve itself changed (a save ended it early, say): the figures under the chart follow it.
    emit peakFiguresChanged(false);
}

void TorqueChart::rebuild() {
    m_chart->recalculateAll();
    m_chart->redraw();
    showActivePointValue();
}

void TorqueChart::setGhostOpen(bool open) {
    m_ghostOpen = open;
    if (m_chart && m_settings) {
        const bool visible = open && m_settings->chartGhostLines;
        line(GhostTorqueLine).visible = visible;
        line(GhostPowerLine).visible = visible;
        rebuild();
    }
    syncMenus();
}

PeakFigures TorqueChart::peakFigures(bool ghost) const {
    if (!m_chart || !m_settings)
        return {};
    const LineData& torque = m_chart->lineData(ghost ? GhostTorqueLine : TorqueLine);
    const LineData& power = m_chart->lineData(ghost ? GhostPowerLine : PowerLine);
    return updatePeakFigures(torque, power, m_settings->chartMetricText);
}

} // namespace qora::gui
