#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <QWidget>

class QGridLayout;
class QKeyEvent;
class QLineEdit;
class QWheelEvent;

namespace qora {
class VehicleFile;
namespace editor {
struct PageField;
}
} // namespace qora

namespace qora::gui {

class PageHost;
class SpinButton;

// One page of the editor: the fields of its page table, laid out in groups, each with its label, spin button and
// the ghost's twin beside it. The page owns its widgets and their handlers: the numeric fields' key and paste
// filter, the spin buttons (and the mouse wheel over the fields they step), drops from the ghost's fields.
// Pages with more than fields (a chart, the gear calculator) derive from it.
class FieldPage : public QWidget {
    Q_OBJECT

public:
    FieldPage(int page, PageHost& host, QWidget* parent = nullptr);

    int pageIndex() const { return m_page; }
    // A control of this page by objectName; nullptr when the page has none of that name.
    QWidget* control(std::string_view name) const;
    const std::vector<QWidget*>& ghostWidgets() const { return m_ghostWidgets; }
    const std::vector<SpinButton*>& spinButtons() const { return m_spinButtons; }

    // The steps beyond the field texts after the page was filled from a vehicle (or the ghost).
    virtual void afterFill(const VehicleFile& vehicle, bool ghost);
    // The options the settings restore at start-up.
    virtual void restoreOptions() {}

    static QString textOf(const QWidget* control);
    // Writes a field's text, whatever kind of control it is; the typing limit never cuts it.
    static void setControlText(QWidget* control, const QString& text);

signals:
    // The user (or a drop, a spin step) changed a field's text.
    void fieldEdited(QWidget* field);

protected:
    struct FieldRow {
        const editor::PageField* field = nullptr;
        QWidget* label = nullptr;
        QWidget* control = nullptr;
        SpinButton* spin = nullptr;
        QWidget* ghost = nullptr;
    };

    // The page's fields in groups, in as many columns as the page takes (fewer when the ghost's twins make them
    // too wide); fields named in skip are left to the page.
    QWidget* buildGroups(int columns, QWidget* parent, const std::vector<std::string_view>& skip = {});
    FieldRow makeRow(const editor::PageField& field, QWidget* parent);
    static void placeRow(QGridLayout* grid, int row, const FieldRow& fieldRow, int column = 0);
    // Lets the page find a control it made itself (a bar, a combo box) by its objectName.
    void addControl(std::string_view name, QWidget* control);
    void addGhostWidget(QWidget* widget) { m_ghostWidgets.push_back(widget); }

    bool eventFilter(QObject* watched, QEvent* event) override;
    PageHost& host() const { return m_host; }

private:
    bool filterFieldKey(QWidget* field, QKeyEvent* event);
    void keepTypableText(QLineEdit* edit, QWidget* field);
    void stepField(SpinButton* button, bool up);
    bool wheelOverField(QWidget* over, QWheelEvent* event);

    const int m_page;
    PageHost& m_host;
    std::map<std::string, QWidget*, std::less<>> m_controls;
    std::vector<QWidget*> m_ghostWidgets;
    std::vector<SpinButton*> m_spinButtons;
    int m_wheelDelta = 0; // wheel turns not yet a whole notch
};

// A page that is only its fields, in groups.
class GroupedFieldPage : public FieldPage {
    Q_OBJECT

public:
    GroupedFieldPage(int page, int columns, PageHost& host, QWidget* parent = nullptr);
};

} // namespace qora::gui
