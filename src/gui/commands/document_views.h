#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

class QString;
class QWidget;

namespace qora {
class VehicleFile;
namespace editor {
struct PageLoad;
}
} // namespace qora

namespace qora::gui {

class VehicleHeader;

// What the file and ghost commands ask of the window that shows the documents: its pages (filled from a vehicle,
// read back into the vehicle's buffer, a field's text), its header, its caption, and its care of the documents'
// files on disk.
class DocumentViews {
public:
    // Fills every page from a vehicle's buffer (the ghost's twins when ghost is set); returns what was shown.
    virtual editor::PageLoad fillPages(const VehicleFile& vehicle, bool ghost) = 0;
    // The vehicle's field texts as the pages show them, keyed by the fields' objectNames.
    virtual std::map<std::string, std::string, std::less<>> pageTexts() const = 0;
    // Copies all pages back into the vehicle's buffer; false (after telling the user) on a failure.
    virtual bool transferPages() = 0;
    virtual QWidget* control(std::string_view name) const = 0;
    virtual QString controlText(std::string_view name) const = 0;
    virtual VehicleHeader& header() const = 0;
    virtual void setCaption(const std::string& path) = 0;
    // The vehicle or the ghost was opened, saved or closed: the commands that depend on them and the watch on
    // their files follow.
    virtual void documentsChanged() = 0;
    // Before a save over the vehicle's own file: true when the file is as QORA last read or wrote it, or the user
    // agrees to overwrite another program's changes.
    virtual bool confirmOverwriteOfChangedFile() = 0;

protected:
    ~DocumentViews() = default;
};

} // namespace qora::gui
