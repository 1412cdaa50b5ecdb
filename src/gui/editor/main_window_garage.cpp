// MainWindow's "&My Garage..." command: the vehicle is brought up to date and checked, the Garage dialog runs, and a
// version it asks for is loaded into the editor or as the ghost.

#include "editor/garage_dialog.h"
#include "commands/file_commands.h"
#include "commands/ghost_commands.h"
#include "editor/main_window.h"
#include "editor/vehicle_header.h"
#include "garage/enter_garage.h"
#include "platform/dialog_runner.h"
#include "platform/qt_text.h"

namespace qora::gui {

void MainWindow::showGarage() {
    guarded([this] {
        if (!m_document->vehicle())
            return;
        const bool entered =
            garage::enterGarage(*m_document->vehicle(), m_settings, prompt(), [this] { return transferPages(); });
        m_header->restoreStatus();
        if (!entered)
            return;

        GarageDialog dialog(*m_document->vehicle(), toLatin1(controlText("eDescription")), m_settings, prompt(), this);
        m_host.dialogs.run(dialog);
        const std::optional<garage::GarageLoad> load =
            garage::garageLoadRequest(dialog.model(), m_document->vehicle()->fileName, m_settings, prompt());
        if (!load)
            return;
        const std::string title(garage::kVersionControlTitle);
        try {
            if (load->as == garage::GarageLoad::As::Ghost) {
                m_ghosts->openGhostFile(load->path);
            } else if (m_files->openVehicleFile(load->path, VehicleFile::ModeOpen, load->keepPath)) {
                // The version stands in the editor under the vehicle's own name: a save writes it there.
                if (load->markChanged)
                    setChanged(true);
            } else {
                prompt().tell(title, std::string(garage::kVersionLoadFailed), PromptIcon::Stop);
            }
        } catch (const std::exception& error) {
            m_header->restoreStatus();
            prompt().tell(title, error.what(), PromptIcon::Stop);
        }
    });
}

} // namespace qora::gui
