// The window's side of undo and redo: the Edit menu's Undo, Redo and History entries, and the view the history
// reads the vehicle's state from and shows a change through (the pages' texts, the torque curve).

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QUndoStack>
#include <QUndoView>
#include <QVBoxLayout>

#include "calc/engine_curve.h"
#include "chart/torque_chart.h"
#include "documents/edit_history.h"
#include "editor/field_access.h"
#include "editor/main_window.h"
#include "editor/page_fields.h"
#include "editor/vehicle_header.h"
#include "pages/drivetrain_page.h"
#include "pages/field_page.h"
#include "platform/qt_text.h"

namespace qora::gui {

namespace {

// A command's text in a menu entry shows "&" as it is.
QString menuText(const QString& text) {
    QString shown = text;
    return shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

// ---- Menu entries and the history window --------------------------------------------------------------------

void MainWindow::createHistoryActions() {
    QUndoStack& stack = m_document->undoStack();
    m_undo = new QAction(tr("&Undo"), this);
    m_undo->setObjectName(QStringLiteral("mUndo"));
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_undo->setEnabled(false);
    m_redo = new QAction(tr("&Redo"), this);
    m_redo->setObjectName(QStringLiteral("mRedo"));
    m_redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    m_redo->setEnabled(false);
    m_history = new QAction(tr("&History..."), this);
    m_history->setObjectName(QStringLiteral("mHistory"));

    connect(m_undo, &QAction::triggered, this, [this] {
        guarded([this] {
            if (m_document->undoStack().canUndo())
                m_document->undoStack().undo();
        });
    });
    connect(m_redo, &QAction::triggered, this, [this] {
        guarded([this] {
            if (m_document->undoStack().canRedo())
                m_document->undoStack().redo();
        });
    });
    connect(m_history, &QAction::triggered, this, &MainWindow::showHistory);
    connect(&stack, &QUndoStack::canUndoChanged, m_undo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, m_redo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::undoTextChanged, m_undo, [undo = m_undo](const QString& text) {
        undo->setText(text.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(menuText(text)));
    });
    connect(&stack, &QUndoStack::redoTextChanged, m_redo, [redo = m_redo](const QString& text) {
        redo->setText(text.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(menuText(text)));
    });
}

// The history of the open vehicle, one line per command, the state as opened first. Choosing a line puts the
// vehicle in the state after it; the saved state carries the save icon. The window stays open beside the editor.
void MainWindow::showHistory() {
    if (m_historyWindow == nullptr) {
        m_historyWindow = new QDialog(this);
        m_historyWindow->setObjectName(QStringLiteral("dlgHistory"));
        m_historyWindow->setWindowTitle(tr("History"));
        auto* layout = new QVBoxLayout(m_historyWindow);
        auto* view = new QUndoView(&m_document->undoStack(), m_historyWindow);
        view->setObjectName(QStringLiteral("lvHistory"));
        view->setEmptyLabel(tr("As opened"));
        view->setCleanIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
        layout->addWidget(view);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, m_historyWindow);
        connect(buttons, &QDialogButtonBox::rejected, m_historyWindow, &QDialog::close);
        layout->addWidget(buttons);
        m_historyWindow->resize(380, 420);
    }
    m_historyWindow->show();
    m_historyWindow->raise();
    m_historyWindow->activateWindow();
}

// ---- What the history reads and shows -----------------------------------------------------------------------

VehicleState MainWindow::shownState() const {
    VehicleState state;
    state.texts = collectTexts();
    state.anglesInDegrees = m_settings.anglesInDegrees;
    if (torqueChart().exists()) {
        const LineData& torque = torqueChart().line(TorqueChart::TorqueLine);
        TorqueCurve curve;
        curve.unit = torque.unit;
        for (const LinePoint& point : torque.points)
            curve.values.push_back(point.value);
        state.torque = std::move(curve);
    }
    return state;
}

std::string MainWindow::fieldText(std::string_view name) const {
    return toLatin1(controlText(name));
}

// Undo and redo also run from the history window, outside any command of the window's: a failure of a field's
// own change handling is shown, never let out into the event loop.
void MainWindow::showState(const VehicleState& change) {
    guarded([&] { applyTexts(change.texts, false); });
    if (change.torque)
        guarded([&] { showTorqueCurve(*change.torque); });
    // Undoing a vehicle loaded in the file's place brings back the earlier vehicle's editor stamp too.
    if (const VehicleFile* vehicle = m_document->vehicle())
        m_header->setPriorEditor(vehicle->editorName);
}

// A recorded curve back in the chart, in the unit the chart shows now; the power line, the peak figures and the
// gearing chart follow.
void MainWindow::showTorqueCurve(const TorqueCurve& curve) {
    TorqueChart& chart = torqueChart();
    if (!chart.exists())
        return;
    LineData& torque = chart.line(TorqueChart::TorqueLine);
    const int shownUnit = torque.unit;
    for (std::size_t i = 0; i < torque.points.size() && i < curve.values.size(); ++i)
        torque.points[i].value = curve.values[i];
    torque.unit = curve.unit;
    convertLineUnits(torque, shownUnit, false);
    LineData& power = chart.line(TorqueChart::PowerLine);
    for (std::size_t i = 0; i < power.points.size() && i < torque.points.size(); ++i)
        power.points[i].value = powerAtPoint(torque, static_cast<int>(i), power.unit);
    chart.refresh();
}

void MainWindow::bringToFront(int page, const std::string& field, int torquePoint) {
    if (page >= 0)
        m_pages->setCurrentIndex(page);
    if (!field.empty()) {
        if (QWidget* widget = control(field)) {
            widget->setFocus(Qt::OtherFocusReason);
            if (QLineEdit* edit = editOf(widget))
                edit->selectAll();
        }
    } else if (torquePoint > 0 && torqueChart().exists()) {
        torqueChart().chart().setActivePoint(torquePoint);
        torqueChart().refresh();
    }
}

} // namespace qora::gui
