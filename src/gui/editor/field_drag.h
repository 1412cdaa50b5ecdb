#pragma once

#include <optional>

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

class QMimeData;
class QWidget;

namespace qora::gui {

// Drag and drop between page fields. Every field carries a field-kind number, shared by all fields of one kind
// (all tyre pressures, all forward gears and the best-gear displays, ...). Read-only displays (the ghost's fields
// and the best-gear displays) can be dragged; a vehicle field accepts a drop exactly when the dragged field has
// its kind, and anything else (text dragged from elsewhere included) is refused.
inline constexpr const char* kFieldKindMimeType = "application/x-qora-field-kind";

// The drag data of a field: its kind, and its text as plain text.
QMimeData* fieldMimeData(int fieldKind, const QString& text);
// The kind a drag carries; nullopt when it does not come from a field.
std::optional<int> draggedFieldKind(const QMimeData* data);

class FieldDragDrop final : public QObject {
    Q_OBJECT

public:
    explicit FieldDragDrop(QObject* parent = nullptr);

    // A read-only display that can be dragged (a QLineEdit).
    void addSource(QWidget* field, int fieldKind);
    // A vehicle field that accepts drops of its kind: a QLineEdit or a QComboBox (an editable one through its edit).
    void addTarget(QWidget* field, int fieldKind);

    static int fieldKindOf(const QWidget* field);

signals:
    // A drop was accepted: the target's text is to become `text`.
    void dropped(QWidget* target, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleSource(QWidget* source, QEvent* event);
    bool handleTarget(QWidget* target, QEvent* event);

    QPointer<QWidget> m_pressedSource;
    QPoint m_pressPosition;
};

} // namespace qora::gui
