// What the page fields pass to the window beyond typed keys: leaving a gear edit, and the mouse wheel over a
// field that a spin button steps.

#include <algorithm>
#include <cstdlib>
#include <vector>

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QWheelEvent>

#include "calc/field_rules.h"
#include "calc/gearing.h"
#include "editor/field_widgets.h"
#include "editor/main_window.h"
#include "editor/page_fields.h"
#include "platform/qt_text.h"

namespace qora::gui {

namespace {

// The text a gear edit held when the user entered it: what undoing a refused text goes back to.
constexpr const char* kEntryText = "qoraEntryText";
constexpr int kWheelStep = 120; // one notch of a mouse wheel

static_assert(static_cast<int>(GearField::Reverse) == GearReverse && static_cast<int>(GearField::First) == Gear1 &&
              static_cast<int>(GearField::Final) == GearFinal);

} // namespace

bool MainWindow::fieldEvent(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Wheel:
        if (auto* over = qobject_cast<QWidget*>(watched))
            return wheelOverField(over, static_cast<QWheelEvent*>(event));
        return false;
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        const auto it = std::find(m_gearEdits.begin(), m_gearEdits.end(), watched);
        if (it == m_gearEdits.end())
            return false;
        QLineEdit* edit = *it;
        if (event->type() == QEvent::FocusIn) {
            edit->setProperty(kEntryText, edit->text());
            return false;
        }
        // Switching to another window or opening a menu does not leave the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            guarded([&] { finishGearEdit(static_cast<int>(it - m_gearEdits.begin())); });
        return false;
    }
    default:
        return false;
    }
}

void MainWindow::finishGearEdit(int gear) {
    QLineEdit* edit = m_gearEdits[static_cast<std::size_t>(gear)];
    // The edit can undo when the user changed its text since entering it; undoing goes back to that text.
    const QVariant entry = edit->property(kEntryText);
    edit->setProperty(kEntryText, QVariant());
    const bool canUndo = entry.isValid() && entry.toString() != edit->text();
    const GearExitDecision decision = qora::finishGearEdit(static_cast<GearField>(gear), toLatin1(edit->text()), canUndo);
    switch (decision.action) {
    case GearExitAction::Leave:
        break;
    case GearExitAction::Rewrite:
        setControlText(edit, fromLatin1(decision.text));
        break;
    case GearExitAction::Undo:
        setControlText(edit, entry.toString());
        break;
    }
    if (decision.beep)
        prompt().beep();
}

// FormMouseWheelUp / FormMouseWheelDown: the wheel over an edit of the active page that a spin button steps
// works that spin button, one step per notch. Elsewhere the wheel scrolls the page as usual.
bool MainWindow::wheelOverField(QWidget* over, QWheelEvent* event) {
    QWidget* page = m_pages->currentWidget();
    if (page == nullptr || !page->isAncestorOf(over))
        return false;
    std::vector<SpinButtonSite> sites;
    std::vector<SpinButton*> buttons;
    for (SpinButton* spin : m_spinButtons) {
        QWidget* field = spin->focusControl();
        if (field == nullptr || !page->isAncestorOf(field))
            continue;
        const QPoint topLeft = field->mapTo(page, QPoint(0, 0));
        SpinButtonSite site;
        site.stepsPlainEdit = qobject_cast<QLineEdit*>(field) != nullptr;
        site.editRect = {topLeft.x(), topLeft.y(), field->width(), field->height()};
        sites.push_back(site);
        buttons.push_back(spin);
    }
    const QPoint point = over->mapTo(page, event->position().toPoint());
    const std::optional<std::size_t> found = findSpinButtonAt(sites, {point.x(), point.y()});
    if (!found)
        return false;
    m_wheelDelta += event->angleDelta().y();
    while (std::abs(m_wheelDelta) >= kWheelStep) {
        const bool up = m_wheelDelta > 0;
        m_wheelDelta += up ? -kWheelStep : kWheelStep;
        guarded([&] { stepField(buttons[*found], up); });
    }
    return true;
}

} // namespace qora::gui
