// The torque chart's editing: dragging and stepping the active point of the torque curve (the power line, the
// figures and the vehicle's changed state follow), and the rpm and torque zoom.

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

// ---- Editing the curve --------------------------------------------------------------------------------------

bool TorqueChart::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid) {
        switch (event->type()) {
        case QEvent::MouseMove:
            guarded([&] { chartMouseMoved(static_cast<QMouseEvent*>(event)->position().toPoint()); });
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            guarded([&] { chartMousePressed(mouse->position().toPoint(), mouse->button()); });
            return true;
        }
        case QEvent::MouseButtonRelease:
            guarded([&] { chartMouseReleased(static_cast<QMouseEvent*>(event)->button()); });
            return true;
        case QEvent::Leave:
            if (!m_dragging) {
                m_hovered = -1;
                m_grid->setCursor(Qt::ArrowCursor);
            }
            break;
        default:
            break;
        }
    } else if (watched == m_pointValue && event->type() == QEvent::Wheel) {
        // The wheel over the value steps the point as its spin button does, one step per notch.
        m_wheelDelta += static_cast<QWheelEvent*>(event)->angleDelta().y();
        while (std::abs(m_wheelDelta) >= kWheelStep) {
            const bool up = m_wheelDelta > 0;
            m_wheelDelta += up ? -kWheelStep : kWheelStep;
            guarded([this, up] { up ? stepActivePointUp() : stepActivePointDown(); });
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TorqueChart::chartMouseMoved(QPoint position) {
    if (!m_chart)
        return;
    if (m_dragging) {
        // The pointer placed onto the point by the press arrives as a move too; it must not snap the value.
        if (!m_dragMoved && position == m_dragOrigin)
            return;
        m_dragMoved = true;
        m_chart->dragPointTo(position.x(), position.y() - m_dragOffset);
        return;
    }
    m_hovered = m_chart->pointAt(position.x(), position.y());
    m_grid->setCursor(m_hovered >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TorqueChart::chartMousePressed(QPoint position, Qt::MouseButton button) {
    if (!m_chart || !m_chart->drawing() || button != Qt::LeftButton || m_dragging)
        return;
    // A press where no move came first (a touch, a click right after a scroll) picks as a hover would.
    m_hovered = m_chart->pointAt(position.x(), position.y());
    if (m_hovered < 0)
        return;
    const LinePoint& point = line(TorqueLine).points[static_cast<std::size_t>(m_hovered)];
    const QPoint target(point.x, point.y);
    // The pointer is put exactly onto the point, so the drag starts from the point's own value. Where the
    // platform does not let a program move the pointer, the drag keeps the pointer's distance to the point.
    const bool canMovePointer = QGuiApplication::platformName() != QLatin1String("wayland");
    if (canMovePointer)
        QCursor::setPos(m_grid->mapToGlobal(target));
    m_dragOffset = canMovePointer ? 0 : position.y() - target.y();
    m_chart->setActivePoint(m_hovered);
    showActivePointValue();
    if (m_chart->beginPointDrag()) {
        m_dragging = true;
        m_dragMoved = false;
        m_dragOrigin = canMovePointer ? target : position;
        emit edited();
    }
}

void TorqueChart::chartMouseReleased(Qt::MouseButton button) {
    if (!m_chart || button != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    m_chart->endPointDrag();
    emit pointEdited(line(TorqueLine).activePointIndex, false);
}

void TorqueChart::recalculatePowerPoint(int index) {
    LineData& power = line(PowerLine);
    qora::recalculatePowerPoint(line(TorqueLine), power, index);
    if (index >= 0 && index < static_cast<int>(power.points.size()))
        m_chart->setPointValue(PowerLine, index, power.points[static_cast<std::size_t>(index)].value);
    showActivePointValue();
    emit peakFiguresChanged(false);
}

void TorqueChart::showActivePointValue() {
    if (!m_chart)
        return;
    m_pointValue->setText(QString::fromStdString(qora::showActivePointValue(line(TorqueLine))));
}

void TorqueChart::stepActivePointUp() {
    stepActivePoint(1.0);
}

void TorqueChart::stepActivePointDown() {
    stepActivePoint(-1.0);
}

void TorqueChart::stepActivePoint(double delta) {
    if (!m_chart)
        return;
    const std::string shown = m_pointValue->text().toStdString();
    const double value = (shown.empty() ? 0.0 : numbers::parseDouble(shown).value_or(0.0)) + delta;
    LineData& torque = line(TorqueLine);
    const int index = torque.activePointIndex;
    // The end points of the curve are always 0: like a drag, a step leaves them alone.
    const bool endPoint = index < 1 || index > static_cast<int>(torque.points.size()) - 2;
    if (endPoint || value > m_chart->legends()->verticalMaximum || value < 0) {
        if (m_host.prompt)
            m_host.prompt->beep();
        return;
    }
    m_pointValue->setText(QString::fromStdString(numbers::formatFloat("###0.00", value)));
    m_chart->setPointValue(TorqueLine, index, value);
    m_chart->setPointValue(PowerLine, index, powerAtPoint(torque, index, line(PowerLine).unit));
    emit peakFiguresChanged(false);
    m_chart->redraw();
    emit edited();
    emit pointEdited(index, true);
}

void TorqueChart::selectHighPoint() {
    if (!m_chart)
        return;
    m_chart->setActivePoint(line(TorqueLine).highestPointIndex);
    showActivePointValue();
}

// ---- Zoom ---------------------------------------------------------------------------------------------------

void TorqueChart::adjustRpmScale() {
    applyZoom();
}

void TorqueChart::adjustTorqueScale() {
    applyZoom();
}

// Both zooms from their up-down controls: the chart's size, its legends and background, the read-outs and the
// settings; the view starts again at the bottom left.
void TorqueChart::applyZoom() {
    if (!m_chart)
        return;
    const int xPosition = m_xScale->position();
    const int yPosition = m_yScale->position();
    const int width = chartWidth(xPosition);
    const int height = chartHeight(yPosition);
    m_chart->setDrawing(false);
    m_chart->view()->width = width;
    m_chart->legends()->x.width = width;
    m_chart->view()->height = height;
    m_chart->legends()->y.height = height + kLeftLegendExtra;
    fitDefaultBackground();
    m_chart->setView();
    m_chart->setLegends();
    m_chart->recalculateAll();
    m_chart->setDrawing(true);
    m_scrollToBottom = true;
    showActivePointInView();
    m_xScaleText->setText(QString::fromLatin1(kXScaleTexts[static_cast<std::size_t>(xPosition)]));
    m_yScaleText->setText(QString::fromLatin1(kYScaleTexts[static_cast<std::size_t>(yPosition)]));
    if (m_settings) {
        m_settings->chartXZoom = xPosition;
        m_settings->chartYZoom = yPosition;
    }
    showActivePointValue();
}

void TorqueChart::showActivePointInView() {
    if (!m_chart)
        return;
    const LineData& torque = line(TorqueLine);
    const int active = torque.activePointIndex;
    if (active < 0 || active >= static_cast<int>(torque.points.size())) {
        m_scroll->horizontalScrollBar()->setValue(0);
        m_scroll->verticalScrollBar()->setValue(m_scroll->verticalScrollBar()->maximum());
        return;
    }
    const LinePoint& point = torque.points[static_cast<std::size_t>(active)];
    // Room around the point for its bitmap and a little of the curve beside it.
    m_scroll->ensureVisible(point.x, point.y, 40, 40);
}

} // namespace qora::gui
