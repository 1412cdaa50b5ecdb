#pragma once

#include "browser/file_manager.h"
#include "dialogs/base_dialog.h"

class QListWidget;
class QPushButton;

namespace qora::gui {

// The file manager's check list: the companion files of a vehicle, each with a tick, under a note. OK applies
// only while at least one file is ticked. As the browser's report of unreadable files it only lists them, with
// OK alone.
class FileManagerDialog final : public MemoDialog {
    Q_OBJECT

public:
    explicit FileManagerDialog(QWidget* parent = nullptr);

    // Fills the list from a check list, its ticks included, under the companion files' note.
    void setCheckList(const browser::CheckList& list);
    // Writes the user's ticks back into the check list it was filled from.
    void storeTicks(browser::CheckList& list) const;
    void setAllChecked(bool checked);
    // The report of unreadable files: the names, all ticked, under the report's note; OK alone, centred.
    void showReport(const std::vector<std::string>& files, std::string_view text);

    QListWidget* checkList() const { return m_list; }
    QPushButton* selectAllButton() const { return m_selectAll; }
    QPushButton* selectNoneButton() const { return m_selectNone; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateOk();

    QListWidget* m_list = nullptr;
    QPushButton* m_selectAll = nullptr;
    QPushButton* m_selectNone = nullptr;
};

} // namespace qora::gui
