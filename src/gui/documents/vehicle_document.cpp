#include "documents/vehicle_document.h"

#include <QUndoStack>

#include "documents/edit_history.h"

namespace qora::gui {

VehicleDocument::VehicleDocument(QObject* parent)
    : QObject(parent), m_undoStack(new QUndoStack(this)), m_history(new EditHistory(*this, *m_undoStack)) {
    connect(m_undoStack, &QUndoStack::cleanChanged, this, [this] {
        m_changedShown = true;
        emit changedStateChanged(isChanged());
    });
}

VehicleDocument::~VehicleDocument() = default;

bool VehicleDocument::isChanged() const {
    return m_editing || !m_undoStack->isClean();
}

void VehicleDocument::setEditInProgress(bool editing) {
    const bool was = isChanged();
    m_editing = editing;
    if (isChanged() != was)
        emit changedStateChanged(isChanged());
}

void VehicleDocument::setChanged(bool changed) {
    const bool shown = m_changedShown;
    if (changed != !m_undoStack->isClean()) {
        if (changed)
            m_undoStack->resetClean();
        else
            m_undoStack->setClean();
    } else if (!shown) {
        m_changedShown = true;
        emit changedStateChanged(isChanged());
    }
}

} // namespace qora::gui
