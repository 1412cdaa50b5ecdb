#include "platform/dialog_runner.h"

#include <QDialog>

namespace qora::gui {

int ExecDialogRunner::run(QDialog& dialog) {
    return dialog.exec();
}

} // namespace qora::gui
