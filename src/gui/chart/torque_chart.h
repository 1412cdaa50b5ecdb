#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include <QImage>
#include <QWidget>

#include "calc/engine_curve.h"
#include "chart/chart_painter.h"
#include "chart/line_chart.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollArea;
class QToolButton;

namespace qora {
class Prompt;
class VehicleFile;
class Settings;
} // namespace qora

namespace qora::gui {

class DialogRunner;
class FileDialogHook;
class SpinButton;

// Shows one of the chart painter's images at its own size.
class ChartImage final : public QWidget {
    Q_OBJECT

public:
    explicit ChartImage(const QImage* image, QWidget* parent = nullptr);
    void imageResized();
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage* m_image;
};

// An up-down control: a position between its limits, moved one at a time by two arrow buttons. `clicked`
// follows every move.
class UpDown final : public QWidget {
    Q_OBJECT

public:
    UpDown(Qt::Orientation orientation, int minimum, int maximum, QWidget* parent = nullptr);
    int position() const { return m_position; }
    void setPosition(int position); // limited to the range; no signal
    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

signals:
    void clicked();

private:
    void step(int delta);
    void updateButtons();

    int m_minimum;
    int m_maximum;
    int m_position;
    QToolButton* m_up;
    QToolButton* m_down;
};

// What the chart's menus and messages need from the window; none is owned.
struct TorqueChartHost {
    Prompt* prompt = nullptr;
    FileDialogHook* fileDialogs = nullptr;
    DialogRunner* dialogs = nullptr;
};

// The engine chart of the Performance page: the chart image `iTorqueGrid` with its legends `iTorqueChart_Left`
// and `iTorqueChart_Bottom` in the scroll area `ChartScrollBox`, holding the four lines of the engine curve
// (0 ghost power, 1 ghost torque, 2 power, 3 torque; the torque line is the active one), and the controls around
// it: the active point's value `ePointValue` with its spin button, "Select Highest Point", the two zoom controls
// and the Options, Colors and Bitmaps menus. Every chart option lives in the settings.
//
// A torque point is edited by dragging its marker or by stepping the active point; the power point and the peak
// figures follow at once, and the window is told the vehicle changed.
class TorqueChart final : public QWidget {
    Q_OBJECT

public:
    enum Line : int { GhostPowerLine = 0, GhostTorqueLine = 1, PowerLine = 2, TorqueLine = 3 };
    // The tag of "Reset To Defaults" among the colour items (whose tags are the colour indexes 0 to 17).
    static constexpr int kResetColorsTag = -1;
    static constexpr int kChartColorCount = 18;
    enum BackgroundItem : int { BackgroundNone = 0, BackgroundDefault = 1, BackgroundUser = 2 };
    enum PointItem : int { PointActive = 0, PointNormal = 1, PointDefault = 2 };

    explicit TorqueChart(QWidget* parent = nullptr);
    ~TorqueChart() override;

    void attach(const TorqueChartHost& host);

    // SetUpChart: the background picture, the point markers, the view and the legends, the four lines of 41
    // zero points, the zoom positions and the colours, all from the settings (which the chart keeps using).
    void setUp(Settings& settings);
    bool exists() const { return m_chart != nullptr; }

    // LoadEngineCurve for the vehicle (or the ghost), then the active point's value and the peak figures.
    void loadCurve(const VehicleFile& vehicle, bool ghost, const Settings& settings);
    // Recomputes every point's position and redraws, after values were changed.
    void refresh();
    // While a ghost is open its lines may be shown and the "Ghost Lines" item is enabled.
    void setGhostOpen(bool open);
    // The figure texts of the vehicle's (or the ghost's) lines.
    PeakFigures peakFigures(bool ghost) const;

    LineChart& chart() { return *m_chart; }
    LineData& line(Line line) { return m_chart->lineData(line); }
    const ChartPainter& painter() const { return m_painter; }
    ChartImage* gridImage() const { return m_grid; }
    QScrollArea* scrollArea() const { return m_scroll; }
    int hoveredPoint() const { return m_hovered; }
    bool dragging() const { return m_dragging; }

    // ---- Handlers ------------------------------------------------------------------------------------------
    // Mouse on the chart image, in image coordinates.
    void chartMouseMoved(QPoint position);
    void chartMousePressed(QPoint position, Qt::MouseButton button);
    void chartMouseReleased(Qt::MouseButton button);
    void stepActivePointUp();
    void stepActivePointDown();
    void selectHighPoint();
    void adjustRpmScale();
    void adjustTorqueScale();
    // Shows the Options (0), Colors (1) or Bitmaps (2) menu under its button.
    void showChartMenu(int tag);
    void toggleMetricText();
    void toggleTorqueNm();
    void togglePowerKw();
    void toggleGhostLines();
    void toggle3dPoints();
    void toggle3dLines();
    // A colour item (tag = colour index) or "Reset To Defaults" (kResetColorsTag).
    void changeChartColour(int tag);
    // "Draw Normal" 0, "Draw Tiled" 1, "Draw Centered" 2, "Draw Stretched" 3.
    void setBackgroundStyle(int tag);
    void setBackground(int item);
    void changePointMarker(int item);

    // Loads a point marker from the file a setting names (empty: the built-in one). A file that is not an
    // 11 x 11 picture of 24 bits per pixel is refused with a message, the built-in marker is used and the
    // setting is emptied.
    void loadPointMarker(std::string& pathSetting, bool isActive);
    void assignChartColors();
    // The chart's callback for a dragged torque point: the power point, its position, the active point's value
    // and the vehicle's peak figures follow.
    void recalculatePowerPoint(int index);
    void showActivePointValue();

signals:
    // The user changed the vehicle's curve (a drag began, a step was taken).
    void edited();
    // A change of the curve is complete: a drag of the point ended, or the point was stepped.
    void pointEdited(int point, bool stepped);
    // The figure texts of the vehicle's (ghost false) or the ghost's lines may read differently now.
    void peakFiguresChanged(bool ghost);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls(QWidget* bar);
    void buildMenus();
    void stepActivePoint(double delta);
    void sizeImages();
    void rebuild(); // RecalcAll and a redraw, keeping the active point's value shown
    void syncMenus();
    void loadBackground();
    void fitDefaultBackground();
    void applyZoom();
    // Scrolls the magnified chart so the active point (or, without one, the start of the curve) is in view.
    void showActivePointInView();
    void viewportResized(QSize size);
    QString askPictureFile(const QString& title, const std::string& current);
    void guarded(const std::function<void()>& command);

    TorqueChartHost m_host;
    Settings* m_settings = nullptr;
    ChartPainter m_painter;
    std::unique_ptr<LineChart> m_chart;
    QScrollArea* m_scroll = nullptr;
    ChartImage* m_grid = nullptr;
    ChartImage* m_left = nullptr;
    ChartImage* m_bottom = nullptr;

    QLineEdit* m_pointValue = nullptr;
    SpinButton* m_pointSpin = nullptr;
    QToolButton* m_highPoint = nullptr;
    UpDown* m_xScale = nullptr;
    UpDown* m_yScale = nullptr;
    QLabel* m_xScaleText = nullptr;
    QLabel* m_yScaleText = nullptr;
    std::array<QToolButton*, 3> m_menuButtons{};
    std::array<QMenu*, 3> m_menus{};

    QAction* m_3DPoints = nullptr;
    QAction* m_3DLines = nullptr;
    QAction* m_ghostLines = nullptr;
    QAction* m_metricText = nullptr;
    QAction* m_torqueNm = nullptr;
    QAction* m_powerKw = nullptr;
    std::array<QAction*, 3> m_backgroundItems{};
    std::array<QAction*, 4> m_drawStyleItems{};

    int m_hovered = -1;
    bool m_dragging = false;
    bool m_dragMoved = false; // the mouse has moved since the press; the press alone changes no value
    QPoint m_dragOrigin;
    int m_dragOffset = 0;         // the pointer's height above the dragged point, where it could not be moved onto it
    bool m_scrollToBottom = true; // a zoom keeps the active point in view until the user scrolls
    int m_backgroundItem = BackgroundNone;
    bool m_ghostOpen = false;
    int m_wheelDelta = 0;
};

} // namespace qora::gui
