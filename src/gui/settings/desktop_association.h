#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

// QORA as the desktop's program for .veh files, for the current user: a desktop entry, a shared-mime-info type for
// *.veh, and the user's default-application choice, all in the user's XDG folders. The registry-store keys of the
// association are the settings' business (Settings::associateVehFiles); this is the desktop's side of it.
namespace qora::gui {

inline constexpr std::string_view kQoraDesktopId = "io.qora.Qora";
inline constexpr std::string_view kVehicleMimeType = "application/x-trevant-vehicle";

// Runs the desktop's helper programs (update-mime-database, xdg-mime, ...). Tests put a fake in place.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    // Whether the program is found on the search path.
    virtual bool available(const std::string& program) = 0;
    // Runs the program to its end and returns its exit code; -1 when it could not start or did not finish in time.
    virtual int run(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

// Starts the programs as child processes, waiting at most half a minute for each.
class ProcessCommandRunner final : public CommandRunner {
public:
    bool available(const std::string& program) override;
    int run(const std::string& program, const std::vector<std::string>& arguments) override;
};

// The runner in use: the process runner unless a test has put another in place.
CommandRunner& commandRunner();

// Puts another runner in place for the lifetime of this object (tests only).
class ScopedCommandRunner {
public:
    explicit ScopedCommandRunner(CommandRunner& replacement);
    ~ScopedCommandRunner();
    ScopedCommandRunner(const ScopedCommandRunner&) = delete;
    ScopedCommandRunner& operator=(const ScopedCommandRunner&) = delete;

private:
    CommandRunner* m_previous;
};

// The user's data and configuration folders: $XDG_DATA_HOME and $XDG_CONFIG_HOME when they hold absolute paths,
// else ~/.local/share and ~/.config.
struct DesktopFolders {
    std::string dataHome;
    std::string configHome;
};
DesktopFolders userDesktopFolders();

// The desktop entry's Exec value for a program: the path quoted as the desktop entry format wants it, then "%f".
// Throws std::invalid_argument for a path a desktop entry cannot hold (a line end or another control character).
std::string desktopExecLine(const std::string& programPath);

class DesktopAssociation {
public:
    DesktopAssociation(DesktopFolders folders, CommandRunner& runner);

    // Writes the desktop entry for the program (and its icons, PNG bytes by side in pixels, into the user's hicolor
    // theme) and the MIME type package, refreshes the desktop's databases and makes QORA the default for .veh
    // files, each tool only when it is installed. Files are written whole or not at all; throws FileError when one
    // cannot be written, std::invalid_argument for a program path a desktop entry cannot hold.
    void install(const std::string& programPath, const std::map<int, std::string>& iconPngs = {});
    // Removes what install wrote and QORA's entry from the user's default applications (other entries and
    // everything else in that file stay as they are), then refreshes the databases. Missing files are no error;
    // throws FileError when a file cannot be removed or rewritten.
    void remove();
    // Whether the desktop entry and the MIME type package are in place.
    bool isInstalled() const;

    std::string desktopEntryPath() const;
    std::string mimePackagePath() const;
    std::string iconPath(int side) const;
    std::string mimeAppsListPath() const;

    // The files' contents.
    static std::string desktopEntry(const std::string& programPath);
    static std::string mimePackage();
    // The default-applications file without QORA as handler of .veh files; the input itself when it names none.
    static std::string withoutQoraDefault(const std::string& mimeAppsList);

private:
    void refreshDatabases();

    DesktopFolders m_folders;
    CommandRunner* m_runner;
};

} // namespace qora::gui
