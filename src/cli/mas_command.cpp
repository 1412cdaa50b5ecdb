#include "mas_command.h"

#include <fstream>
#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

#include "archive/vehicle_archive.h"
#include "cli_prompt.h"
#include "json_text.h"
#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/pickers.h"
#include "settings/settings.h"

namespace qora::cli {

namespace {

// The archive file named on the command line, read through the editor's reader: no game-folder lookup and
// no locate dialog. The size question is answered Yes only with --force.
struct LoadedArchive {
    LoadedArchive(std::ostream& err, bool force, const std::string& path, bool forUpdate = false)
        : prompt(err, false, force), archive(settings, prompt, picker) {
        settings.setPrompt(prompt);
        archive.lockWhileLoaded = forUpdate;
        archive.loadFile(path);
    }

    CliPrompt prompt;
    Settings settings;
    NoFilePicker picker;
    VehicleArchive archive;
};

// Writes extracted bytes. A regular file (or a new one) is replaced in one step; anything else that already
// exists at the path (/dev/null or NUL, a pipe) is written to as a stream, never renamed over.
void writeOutput(const std::string& path, std::string_view bytes) {
    const FileStatus status = fileSystem().status(path);
    if (status.type == FileStatus::Type::Folder)
        throw FileError("cannot write '" + path + "': it is a folder", "it is a folder");
    if (status.type != FileStatus::Type::Other) {
        writeFileAtomically(path, bytes);
        return;
    }
    std::ofstream out(nativePath(path), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out)
        throw FileError("cannot write '" + path + "'");
}

class MasCommand final : public Command {
public:
    const char* name() const override { return "mas"; }
    const char* description() const override { return "List, extract from and write into a vehicle archive"; }

    void setup(CLI::App& app) override {
        app.require_subcommand(1);
        m_list = app.add_subcommand("list", "List the archive's entries with their class, unlock points and name");
        m_list->add_flag("--json", m_json, "Print one JSON document");
        addCommon(*m_list);

        m_extract = app.add_subcommand("extract", "Write one entry's bytes to a file");
        m_extract->add_option("-o", m_out, "Output file (default: a file named ENTRY in the current folder)");
        addCommon(*m_extract);
        m_extract->add_option("ENTRY", m_entry, "Entry name (any letter case)")->required();

        m_replace = app.add_subcommand("replace", "Write a file's bytes into an entry's slot and rebuild the archive");
        addCommon(*m_replace);
        m_replace->add_option("ENTRY", m_entry, "Entry name (any letter case)")->required();
        m_replace->add_option("FILE", m_file, "File whose bytes become the entry")->required();
    }

    int execute(std::ostream& out, std::ostream& err) override {
        if (m_list->parsed())
            return list(out, err);
        if (m_extract->parsed())
            return extract(err);
        return replace(err);
    }

private:
    void addCommon(CLI::App& sub) {
        sub.add_flag("--force", m_force, "Answer Yes when the header's sizes do not match the file's length");
        sub.add_option("ARCHIVE", m_archive, "The archive file (Vehicle.Mas)")->required();
    }

    int list(std::ostream& out, std::ostream& err) {
        LoadedArchive loaded(err, m_force, m_archive);
        const VehicleArchive& mas = loaded.archive;
        const auto& entries = *mas.Entries;
        if (!m_json) {
            for (const ArchiveEntry& e : entries)
                out << e.Name << '\t' << e.DescClass << '\t' << e.UnlockPoints << '\t' << e.DescFile << '\n';
            return kExitOk;
        }
        Json report;
        report["count"] = mas.EntryCount;
        report["data_size"] = mas.DataSize;
        report["entries"] = Json::array();
        for (const ArchiveEntry& e : entries)
            report["entries"].push_back({{"name", fileText(e.Name)},
                                         {"desc", fileText(e.DescFile)},
                                         {"class", fileText(e.DescClass)},
                                         {"unlock", fileText(e.UnlockPoints)},
                                         {"offset", e.Offset},
                                         {"size", e.Size}});
        out << dumpJson(report) << '\n';
        return kExitOk;
    }

    int extract(std::ostream& err) {
        // The entry's name becomes a file name only when it is a plain one.
        if (m_out.empty() && !VehicleArchive::isPlainEntryName(m_entry)) {
            err << "qora-cli: The entry name [" << m_entry
                << "] is not a plain file name (it holds \"/\", \"\\\", \":\" or \"..\").  "
                   "Give the output file with -o.\n";
            return kExitFailed;
        }
        LoadedArchive loaded(err, m_force, m_archive);
        writeOutput(m_out.empty() ? m_entry : m_out, loaded.archive.entryBytes(m_entry));
        return kExitOk;
    }

    int replace(std::ostream& err) {
        // Locked from reading to writing back, so two replacements at once never lose one of them.
        LoadedArchive loaded(err, m_force, m_archive, true);
        const std::string bytes = fileSystem().readFile(m_file);
        return loaded.archive.replaceEntry(m_entry, bytes) ? kExitOk : kExitFailed;
    }

    CLI::App* m_list = nullptr;
    CLI::App* m_extract = nullptr;
    CLI::App* m_replace = nullptr;
    bool m_json = false;
    bool m_force = false;
    std::string m_archive;
    std::string m_entry;
    std::string m_out;
    std::string m_file;
};

} // namespace

std::unique_ptr<Command> makeMasCommand() {
    return std::make_unique<MasCommand>();
}

} // namespace qora::cli
