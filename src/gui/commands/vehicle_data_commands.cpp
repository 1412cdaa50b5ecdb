#include "commands/vehicle_data_commands.h"

#include <QAction>
#include <QMainWindow>

#include "commands/document_views.h"
#include "commands/file_commands.h"
#include "commands/ghost_commands.h"
#include "dialogs/garage_dialog.h"
#include "dialogs/side_section_dialogs.h"
#include "documents/edit_history.h"
#include "documents/vehicle_document.h"
#include "editor/side_dialogs.h"
#include "editor/vehicle_header.h"
#include "garage/enter_garage.h"
#include "platform/dialog_runner.h"
#include "platform/prompt.h"
#include "platform/qt_text.h"
#include "settings/settings.h"

namespace qora::gui {

VehicleDataCommands::VehicleDataCommands(CommandContext context, DocumentViews& views, FileCommands& files,
                                         GhostCommands& ghosts)
    : QObject(context.window), m_context(std::move(context)), m_views(views), m_files(files), m_ghosts(ghosts) {
    const auto wire = [this](const char* name, void (VehicleDataCommands::*handler)()) {
        auto* action = m_context.window->findChild<QAction*>(QString::fromLatin1(name));
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, handler);
    };
    wire("mVersionMan", &VehicleDataCommands::showGarage);
    wire("mVehMods", &VehicleDataCommands::editParts);
    wire("mAiBasis", &VehicleDataCommands::editAiBasis);
    wire("mAuthorInfo", &VehicleDataCommands::editAuthorData);
}

void VehicleDataCommands::editParts() {
    m_context.guarded([this] {
        if (!m_context.document.vehicle())
            return;
        PartsDialog dialog(editor::PartsForm(*m_context.document.vehicle()), m_context.window);
        if (m_context.host.dialogs.run(dialog) != QDialog::Accepted)
            return;
        dialog.form().store(*m_context.document.vehicle());
        m_context.document.history().record(tr("Vehicle Modification Parts"));
    });
}

void VehicleDataCommands::editAiBasis() {
    m_context.guarded([this] {
        if (!m_context.document.vehicle())
            return;
        AiBasisDialog dialog(editor::AiBasisForm(*m_context.document.vehicle()), m_context.settings,
                             m_context.host.prompt, m_context.window);
        m_context.host.dialogs.run(dialog);
        // Closing without an edit stores the fields trimmed, which is no change of the user's.
        if (dialog.form().store(*m_context.document.vehicle()))
            m_context.document.history().record(tr("AI Basis"));
        else
            m_context.document.history().resync();
    });
}

void VehicleDataCommands::editAuthorData() {
    m_context.guarded([this] {
        if (!m_context.document.vehicle())
            return;
        AuthorDialog dialog(editor::AuthorForm(m_context.document.authorData()), m_context.settings,
                            m_context.host.prompt, m_context.window);
        m_context.host.dialogs.run(dialog);
        if (dialog.form().store(m_context.document.authorData(), *m_context.document.vehicle()))
            m_context.document.history().record(tr("Author Information"));
    });
}

void VehicleDataCommands::showGarage() {
    m_context.guarded([this] {
        if (!m_context.document.vehicle())
            return;
        const bool entered = garage::enterGarage(*m_context.document.vehicle(), m_context.settings,
                                                 m_context.host.prompt, [this] { return m_views.transferPages(); });
        m_views.header().restoreStatus();
        if (!entered)
            return;

        GarageDialog dialog(*m_context.document.vehicle(), toLatin1(m_views.controlText("eDescription")),
                            m_context.settings, m_context.host.prompt, m_context.window);
        m_context.host.dialogs.run(dialog);
        const std::optional<garage::GarageLoad> load = garage::garageLoadRequest(
            dialog.model(), m_context.document.vehicle()->fileName, m_context.settings, m_context.host.prompt);
        if (!load)
            return;
        const std::string title(garage::kVersionControlTitle);
        try {
            if (load->as == garage::GarageLoad::As::Ghost) {
                m_ghosts.openGhostFile(load->path);
            } else if (m_files.openVehicleFile(load->path, VehicleFile::ModeOpen, load->keepPath)) {
                // The version stands in the editor under the vehicle's own name: a save writes it there.
                if (load->markChanged)
                    m_context.document.setChanged(true);
            } else {
                m_context.host.prompt.tell(title, std::string(garage::kVersionLoadFailed), PromptIcon::Stop);
            }
        } catch (const std::exception& error) {
            m_views.header().restoreStatus();
            m_context.host.prompt.tell(title, error.what(), PromptIcon::Stop);
        }
    });
}

} // namespace qora::gui
