#pragma once

#include <string>
#include <vector>

#include "dialogs/base_dialog.h"

class QListWidget;

namespace qora::gui {

// "Information": a read-only text with one "Close" button. Shows the field help texts and the welcome text.
class InfoDialog final : public MemoDialog {
    Q_OBJECT

public:
    explicit InfoDialog(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;
};

// "QORA File Load Error": the entries a vehicle file lacks, with "Create" (go on loading, the entries are made)
// and "Abort" (the file is not opened).
class LostEntriesDialog final : public MemoDialog {
    Q_OBJECT

public:
    explicit LostEntriesDialog(QWidget* parent = nullptr);

    void setEntries(const std::vector<std::string>& entries);
    QStringList entries() const;
    QListWidget* list() const { return m_list; }

private:
    QListWidget* m_list = nullptr;
};

} // namespace qora::gui
