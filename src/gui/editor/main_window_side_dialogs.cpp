// MainWindow's side dialogs for the optional sections of the vehicle: the upgrade parts, the computer-opponent basis
// and the author data. Their values go into the vehicle's buffer, so the next save writes them (or drops a section
// left empty).

#include <QAction>

#include "editor/main_window.h"
#include "editor/side_dialogs.h"
#include "editor/side_section_dialogs.h"
#include "platform/dialog_runner.h"

namespace qora::gui {

void MainWindow::createSideCommands() {
    const auto wire = [this](const char* name, void (MainWindow::*handler)()) {
        auto* action = findChild<QAction*>(QString::fromLatin1(name));
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, handler);
    };
    wire("mVersionMan", &MainWindow::showGarage);
    wire("mVehMods", &MainWindow::editParts);
    wire("mAiBasis", &MainWindow::editAiBasis);
    wire("mAuthorInfo", &MainWindow::editAuthorData);
}

void MainWindow::editParts() {
    guarded([this] {
        if (!m_document->vehicle())
            return;
        PartsDialog dialog(editor::PartsForm(*m_document->vehicle()), this);
        if (m_host.dialogs.run(dialog) != QDialog::Accepted)
            return;
        dialog.form().store(*m_document->vehicle());
        setChanged(true);
    });
}

void MainWindow::editAiBasis() {
    guarded([this] {
        if (!m_document->vehicle())
            return;
        AiBasisDialog dialog(editor::AiBasisForm(*m_document->vehicle()), m_settings, prompt(), this);
        m_host.dialogs.run(dialog);
        if (dialog.form().store(*m_document->vehicle()))
            setChanged(true);
    });
}

void MainWindow::editAuthorData() {
    guarded([this] {
        if (!m_document->vehicle())
            return;
        AuthorDialog dialog(editor::AuthorForm(m_document->authorData()), m_settings, prompt(), this);
        m_host.dialogs.run(dialog);
        if (dialog.form().store(m_document->authorData(), *m_document->vehicle()))
            setChanged(true);
    });
}

} // namespace qora::gui
