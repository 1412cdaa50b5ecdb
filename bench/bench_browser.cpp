// The vehicle browser's list, timed against reading the same files' bytes in the same run.
//
// At start a folder of 2,000 template-sized vehicle files (plus their thumbnails) and an archive of 2,000 entries
// are written to a temporary folder. One iteration rebuilds the whole list; the report gives medians, their ratio
// to the plain read of the folder, and the 150 ms target of a rebuild.

#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/vehicle_archive.h"
#include "browser/vehicle_list.h"
#include "platform/file_system.h"
#include "platform/pickers.h"
#include "platform/prompt.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "support/mas_builder.h"
#include "vehicle/veh_format.h"

namespace fs = std::filesystem;
using namespace qora;
using namespace qora::browser;
using qora::bench::MedianReporter;
using qora::bench::printRatio;
using qora::bench::ScratchFolder;
using qora::bench::TimeUnit;

namespace {

constexpr int kFileCount = 2000;
constexpr int kRepetitions = 7;
constexpr int kIterations = 5;   // whole rebuilds per repetition
constexpr int kKeystrokes = 200; // class changes per repetition
constexpr double kRebuildTargetMs = 150;

const char* const kBaseline = "BM_ReadFolderBytes";
const char* const kRebuild = "BM_RebuildFolderList";
const char* const kKeystroke = "BM_ClassChangeFolder";
const char* const kArchiveKeystroke = "BM_ClassChangeArchive";

const char* const kClasses[] = {"GT1", "GT2", "GT3", "GTQ", "Rally"};

struct Setup {
    fs::path root;
    std::string folder;
    std::string archive;
} g_setup;

// The template with its description, class and unlock points changed per file.
std::string vehicleText(int index) {
    std::vector<std::string> lines = veh::templateLines();
    for (std::string& line : lines) {
        if (text::startsWith(line, "//DescFile="))
            line = "//DescFile=Bench vehicle #" + std::to_string((index * 7919) % kFileCount);
        else if (text::startsWith(line, "//DescClass="))
            line = std::string("//DescClass=") + kClasses[index % 5];
        else if (text::startsWith(line, "//UnlockPoints="))
            line = "//UnlockPoints=" + std::to_string(index % 7);
    }
    return text::joinLinesCrLf(lines);
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

// A folder of vehicles, one thumbnail per ten of them, and an archive of the same texts.
void writeCorpus(const fs::path& root) {
    const fs::path folder = root / "cars";
    fs::create_directories(folder);
    qora::testing::MasBuilder archive;
    char name[32];
    for (int i = 0; i < kFileCount; ++i) {
        const std::string bytes = vehicleText(i);
        std::snprintf(name, sizeof name, "c%03d.veh", i);
        writeFile(folder / name, bytes);
        if (i % 10 == 0) {
            std::snprintf(name, sizeof name, "c%03dside.bmp", i);
            writeFile(folder / name, "BM");
        }
        std::snprintf(name, sizeof name, "C%04d.VHS", i);
        archive.add(name, bytes);
    }
    writeFile(root / "Vehicle.Mas", archive.bytes());
    g_setup.folder = folder.string();
    g_setup.archive = (root / "Vehicle.Mas").string();
}

// Baseline: the folder listed and every vehicle file's bytes read, as the rebuild must do at the least.
void BM_ReadFolderBytes(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t total = 0;
        for (const FolderEntry& entry : fileSystem().listFolder(g_setup.folder))
            if (entry.isFile && matchesMask(entry.name, "*.veh"))
                total += fileSystem().readFile(joinPath(g_setup.folder, entry.name)).size();
        benchmark::DoNotOptimize(total);
    }
}

// The folder listed again and every file read (details only), filtered, sorted, the first item selected.
void BM_RebuildFolderList(benchmark::State& state) {
    SilentPrompt prompt;
    Settings settings;
    VehicleList list(nullptr, settings, prompt);
    list.setFolder(g_setup.folder);
    list.Ready = true;
    list.setClassText("[ALL]");
    if (list.items().size() != static_cast<std::size_t>(kFileCount))
        state.SkipWithError("the list does not show every vehicle");
    for (auto _ : state) {
        list.refreshFiles();
        benchmark::DoNotOptimize(list.items().data());
    }
}

// One keystroke in the class box: the list filtered again from what the last listing read.
void BM_ClassChangeFolder(benchmark::State& state) {
    SilentPrompt prompt;
    Settings settings;
    VehicleList list(nullptr, settings, prompt);
    list.setFolder(g_setup.folder);
    list.Ready = true;
    list.setClassText("[ALL]");
    int n = 0;
    for (auto _ : state) {
        list.setClassText(kClasses[n++ % 5]);
        benchmark::DoNotOptimize(list.items().data());
    }
}

void BM_ClassChangeArchive(benchmark::State& state) {
    SilentPrompt prompt;
    Settings settings;
    NoFilePicker picker;
    VehicleArchive mas(settings, prompt, picker);
    mas.loadFile(g_setup.archive);
    VehicleList list(&mas, settings, prompt);
    list.setArchiveMode(true);
    list.Ready = true;
    list.setClassText("[ALL]");
    if (list.items().size() != static_cast<std::size_t>(kFileCount))
        state.SkipWithError("the list does not show every entry");
    int n = 0;
    for (auto _ : state) {
        list.setClassText(kClasses[n++ % 5]);
        benchmark::DoNotOptimize(list.items().data());
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    int status = 0;
    try {
        ScratchFolder scratch;
        std::printf("Writing %d vehicle files and an archive to %s ...\n", kFileCount, scratch.path().c_str());
        std::fflush(stdout);
        writeCorpus(scratch.path());
        benchmark::AddCustomContext("vehicle files", std::to_string(kFileCount));

        auto whole = [](benchmark::internal::Benchmark* b, int iterations) {
            b->Iterations(iterations)->Repetitions(kRepetitions)->Unit(benchmark::kMillisecond)->UseRealTime();
        };
        whole(benchmark::RegisterBenchmark(kBaseline, BM_ReadFolderBytes), kIterations);
        whole(benchmark::RegisterBenchmark(kRebuild, BM_RebuildFolderList), kIterations);
        whole(benchmark::RegisterBenchmark(kKeystroke, BM_ClassChangeFolder), kKeystrokes);
        whole(benchmark::RegisterBenchmark(kArchiveKeystroke, BM_ClassChangeArchive), kKeystrokes);

        MedianReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);

        std::printf("\nRatios to the plain read of the folder, median real time (%d repetitions):\n", kRepetitions);
        const auto line = [&reporter](const char* label, const char* name, qora::bench::Target target = {}) {
            return printRatio(reporter, label, name, kBaseline, TimeUnit::Milliseconds, target);
        };
        line("plain read of the folder's vehicle files", kBaseline);
        const bool met = line("rebuild of the folder list", kRebuild, {.milliseconds = kRebuildTargetMs});
        line("class change, folder (from what was read)", kKeystroke);
        line("class change, archive (entries in memory)", kArchiveKeystroke);
        if (!met)
            std::printf("A target was missed.\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qora-bench-browser: %s\n", e.what());
        status = 1;
    }
    benchmark::Shutdown();
    return status;
}
