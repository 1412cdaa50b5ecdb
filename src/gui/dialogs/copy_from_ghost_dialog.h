#pragma once

#include "dialogs/base_dialog.h"
#include "editor/copy_from_ghost.h"

class QLabel;
class QRadioButton;

namespace qora::gui {

// "Copy From Ghost": whether the ghost's values go into the page in front or into every page. Each choice says
// how much it would change, so an empty copy is plain before it is made.
class CopyFromGhostDialog final : public BaseDialog {
    Q_OBJECT

public:
    // What one choice would change: the fields whose text differs, and whether the torque curve does.
    struct Difference {
        int fields = 0;
        bool curve = false;
    };

    CopyFromGhostDialog(int activePage, Difference activePageDifference, Difference allPagesDifference,
                      QWidget* parent = nullptr);

    editor::CopyScope scope() const;
    void setScope(editor::CopyScope scope);
    QRadioButton* activePageChoice() const { return m_activePage; }
    QRadioButton* allPagesChoice() const { return m_allPages; }

    // "3 values differ", "2 values and the torque curve differ", "Nothing differs".
    static QString differenceText(Difference difference);

private:
    QRadioButton* m_activePage = nullptr;
    QRadioButton* m_allPages = nullptr;
};

} // namespace qora::gui
