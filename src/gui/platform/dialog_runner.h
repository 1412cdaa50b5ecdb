#pragma once

class QDialog;

namespace qora::gui {

// Runs the window's modal dialogs (information, lost entries, ...). The window builds and fills a dialog, hands
// it here and reads it back afterwards; tests replace the runner to drive the dialog without a modal loop.
class DialogRunner {
public:
    virtual ~DialogRunner() = default;
    // Shows the dialog modally; returns its result (QDialog::Accepted or QDialog::Rejected).
    virtual int run(QDialog& dialog) = 0;
};

// The real modal loop.
class ExecDialogRunner final : public DialogRunner {
public:
    int run(QDialog& dialog) override;
};

} // namespace qora::gui
