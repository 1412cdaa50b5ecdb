#include "settings/desktop_association.h"

#include <cstdlib>
#include <stdexcept>

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/text.h"

namespace qora::gui {

namespace {

constexpr int kStartTimeoutMs = 10'000;
constexpr int kFinishTimeoutMs = 30'000;

CommandRunner*& currentRunner() {
    static ProcessCommandRunner processes;
    static CommandRunner* current = &processes;
    return current;
}

std::string desktopFileName() {
    return std::string(kQoraDesktopId) + ".desktop";
}

// An absolute folder from the environment, else the fallback under the home folder.
std::string xdgFolder(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/')
        return value;
    const char* home = std::getenv("HOME");
    return joinPath(home != nullptr && home[0] != '\0' ? home : "/", underHome);
}

void writeFile(const std::string& path, std::string_view bytes) {
    createFolderPath(parentFolder(path));
    writeFileAtomically(path, bytes);
}

// The line without its line end, and the line end ("\r" before the "\n", if any) to put back.
std::pair<std::string_view, std::string_view> splitLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        return {line.substr(0, line.size() - 1), line.substr(line.size() - 1)};
    return {line, {}};
}

// A handler list ("a.desktop;io.qora.Qora.desktop;") without QORA's entry.
std::string withoutQoraHandler(std::string_view handlers, bool& removed) {
    std::string kept;
    std::size_t start = 0;
    while (start <= handlers.size()) {
        const std::size_t end = std::min(handlers.find(';', start), handlers.size());
        const std::string_view item = text::trimView(handlers.substr(start, end - start));
        if (item == desktopFileName())
            removed = true;
        else if (!item.empty())
            kept += std::string(item) + ";";
        start = end + 1;
    }
    return kept;
}

} // namespace

// ---- Commands -----------------------------------------------------------------------------------------------

bool ProcessCommandRunner::available(const std::string& program) {
    return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

int ProcessCommandRunner::run(const std::string& program, const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QString::fromStdString(program), list);
    if (!process.waitForStarted(kStartTimeoutMs))
        return -1;
    if (!process.waitForFinished(kFinishTimeoutMs)) {
        process.kill();
        process.waitForFinished(kStartTimeoutMs);
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

CommandRunner& commandRunner() {
    return *currentRunner();
}

ScopedCommandRunner::ScopedCommandRunner(CommandRunner& replacement) : m_previous(currentRunner()) {
    currentRunner() = &replacement;
}

ScopedCommandRunner::~ScopedCommandRunner() {
    currentRunner() = m_previous;
}

DesktopFolders userDesktopFolders() {
    return {xdgFolder("XDG_DATA_HOME", ".local/share"), xdgFolder("XDG_CONFIG_HOME", ".config")};
}

// ---- File contents ------------------------------------------------------------------------------------------

std::string desktopExecLine(const std::string& programPath) {
    // Quoted, with the characters special inside quotes escaped; "%" doubled so it is no field code; then the
    // file format's own escaping of the backslash.
    std::string quoted = "\"";
    for (const char c : programPath) {
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7f')
            throw std::invalid_argument("A desktop entry cannot start a program whose path holds a control "
                                        "character: " +
                                        programPath);
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c == '%' ? std::string("%%") : std::string(1, c);
    }
    quoted += '"';
    std::string escaped;
    for (const char c : quoted)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return escaped + " %f";
}

std::string DesktopAssociation::desktopEntry(const std::string& programPath) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=QORA\n"
           "GenericName=Vehicle File Editor\n"
           "Comment=Edit the vehicle files and the vehicle archive of Trevant\n"
           "Exec=" +
           desktopExecLine(programPath) +
           "\n"
           "Icon=" +
           std::string(kQoraDesktopId) +
           "\n"
           "Terminal=false\n"
           "Categories=Game;\n"
           "Keywords=Trevant;vehicle;veh;car;racing;editor;\n"
           "MimeType=" +
           std::string(kVehicleMimeType) +
           ";\n"
           "StartupNotify=true\n"
           "StartupWMClass=qora\n";
}

std::string DesktopAssociation::mimePackage() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"" +
           std::string(kVehicleMimeType) +
           "\">\n"
           "    <comment>Trevant vehicle file</comment>\n"
           "    <sub-class-of type=\"text/plain\"/>\n"
           "    <generic-icon name=\"text-x-generic\"/>\n"
           "    <glob pattern=\"*.veh\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

std::string DesktopAssociation::withoutQoraDefault(const std::string& mimeAppsList) {
    std::string out;
    bool changed = false;
    bool inHandlerSection = false;
    std::size_t start = 0;
    while (start < mimeAppsList.size()) {
        const std::size_t newline = mimeAppsList.find('\n', start);
        const std::size_t end = newline == std::string::npos ? mimeAppsList.size() : newline;
        const std::string_view raw = std::string_view(mimeAppsList).substr(start, end - start);
        const std::string_view ending = newline == std::string::npos ? std::string_view() : "\n";
        start = end + 1;

        const auto [line, cr] = splitLineEnd(raw);
        const std::string_view trimmed = text::trimView(line);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
            inHandlerSection = trimmed == "[Default Applications]" || trimmed == "[Added Associations]";
        } else if (const std::size_t equals = line.find('='); inHandlerSection && equals != std::string_view::npos &&
                                                              text::iequals(text::trimView(line.substr(0, equals)),
                                                                            kVehicleMimeType)) {
            bool removed = false;
            const std::string kept = withoutQoraHandler(line.substr(equals + 1), removed);
            if (removed) {
                changed = true;
                if (kept.empty())
                    continue; // the line goes altogether
                out += std::string(line.substr(0, equals + 1)) + kept + std::string(cr) + std::string(ending);
                continue;
            }
        }
        out += std::string(raw) + std::string(ending);
    }
    return changed ? out : mimeAppsList;
}

// ---- Installing and removing --------------------------------------------------------------------------------

DesktopAssociation::DesktopAssociation(DesktopFolders folders, CommandRunner& runner)
    : m_folders(std::move(folders)), m_runner(&runner) {}

std::string DesktopAssociation::desktopEntryPath() const {
    return joinPath(joinPath(m_folders.dataHome, "applications"), desktopFileName());
}

std::string DesktopAssociation::mimePackagePath() const {
    return joinPath(joinPath(joinPath(m_folders.dataHome, "mime"), "packages"), std::string(kQoraDesktopId) + ".xml");
}

std::string DesktopAssociation::iconPath(int side) const {
    const std::string size = std::to_string(side) + "x" + std::to_string(side);
    return joinPath(joinPath(joinPath(joinPath(joinPath(m_folders.dataHome, "icons"), "hicolor"), size), "apps"),
                    std::string(kQoraDesktopId) + ".png");
}

std::string DesktopAssociation::mimeAppsListPath() const {
    return joinPath(m_folders.configHome, "mimeapps.list");
}

bool DesktopAssociation::isInstalled() const {
    return fileSystem().fileExists(desktopEntryPath()) && fileSystem().fileExists(mimePackagePath());
}

void DesktopAssociation::refreshDatabases() {
    if (m_runner->available("update-mime-database"))
        m_runner->run("update-mime-database", {joinPath(m_folders.dataHome, "mime")});
    if (m_runner->available("update-desktop-database"))
        m_runner->run("update-desktop-database", {joinPath(m_folders.dataHome, "applications")});
}

void DesktopAssociation::install(const std::string& programPath, const std::map<int, std::string>& iconPngs) {
    const std::string entry = desktopEntry(programPath); // refuses a path it cannot hold before anything is written
    writeFile(mimePackagePath(), mimePackage());
    for (const auto& [side, png] : iconPngs)
        writeFile(iconPath(side), png);
    writeFile(desktopEntryPath(), entry);
    refreshDatabases();
    // The tools report their own troubles to nobody; a desktop without them still finds the entry and the type.
    if (m_runner->available("xdg-mime"))
        m_runner->run("xdg-mime", {"default", desktopFileName(), std::string(kVehicleMimeType)});
}

void DesktopAssociation::remove() {
    for (const std::string& path : {desktopEntryPath(), mimePackagePath()})
        if (fileSystem().fileExists(path))
            fileSystem().removeFile(path);
    const std::string hicolor = joinPath(joinPath(m_folders.dataHome, "icons"), "hicolor");
    if (fileSystem().folderExists(hicolor)) {
        for (const FolderEntry& size : fileSystem().listFolder(hicolor)) {
            if (!size.isFolder)
                continue;
            const std::string icon =
                joinPath(joinPath(joinPath(hicolor, size.name), "apps"), std::string(kQoraDesktopId) + ".png");
            if (fileSystem().fileExists(icon))
                fileSystem().removeFile(icon);
        }
    }

    const std::string list = mimeAppsListPath();
    if (fileSystem().fileExists(list)) {
        const std::string bytes = fileSystem().readFile(list);
        const std::string kept = withoutQoraDefault(bytes);
        if (kept != bytes)
            writeFileAtomically(list, kept);
    }
    refreshDatabases();
}

} // namespace qora::gui
