#pragma once

#include <string>
#include <vector>

#include "dialogs/dlg_gen_base.h"

class QListWidget;

namespace qora::gui {

// "Information": a read-only text with one "Close" button. Shows the field help texts and the welcome text.
class TdlgInfo final : public TdlgGenBaseMemo {
    Q_OBJECT

public:
    explicit TdlgInfo(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;
};

// "QORA File Load Error": the entries a vehicle file lacks, with "Create" (go on loading, the entries are made)
// and "Abort" (the file is not opened).
class TdlgLostEntries final : public TdlgGenBaseMemo {
    Q_OBJECT

public:
    explicit TdlgLostEntries(QWidget* parent = nullptr);

    void setEntries(const std::vector<std::string>& entries);
    QStringList entries() const;
    QListWidget* list() const { return m_list; }

private:
    QListWidget* m_list = nullptr;
};

} // namespace qora::gui
