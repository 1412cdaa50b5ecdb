// Reading and writing back the vehicle archive, timed against a plain copy of the same file in the same run.
//
// At start an archive of 2,000 entries and about 256 MB is written (on tmpfs when the machine has /dev/shm, so
// the figures measure the program rather than the virtual disk). Each benchmark runs a few times; the report
// gives median times, their ratios to the baseline, and the peak memory of a load and of a write-back.

#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include "archive/vehicle_archive.h"
#include "platform/file_system.h"
#include "platform/pickers.h"
#include "platform/prompt.h"
#include "settings/settings.h"
#include "vehicle/veh_format.h"

namespace fs = std::filesystem;
using namespace qora;
using qora::bench::MedianReporter;
using qora::bench::printRatio;
using qora::bench::ScratchFolder;
using qora::bench::TimeUnit;

namespace {

constexpr int kEntries = 2000;
constexpr std::size_t kEntrySize = 134217; // 2,000 entries of this size make 256 MiB of data
constexpr int kRepetitions = 5;
constexpr int kEditedEntry = 3; // near the start, so nearly every other entry moves

const char* const kBaseline = "BM_CopyBaseline";
const char* const kBaselineFlushed = "BM_CopyBaselineFlushed";
const char* const kLoad = "BM_LoadAndList";
const char* const kSaveEntry = "BM_SaveEntryGrownBy1KB";

struct Setup {
    fs::path root;
    fs::path archive;
    fs::path copy;
    std::string entryName;
} g_setup;

void putU32(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string entryText(int i, std::size_t size) {
    std::string text;
    for (const auto& line : veh::templateLines()) {
        if (line.rfind("//DescFile=", 0) == 0)
            text += "//DescFile=Archive Car " + std::to_string(i) + "\r\n";
        else
            text += line + "\r\n";
    }
    while (text.size() < size)
        text += "// padding line that stands for a long vehicle description in the archive\r\n";
    text.resize(size);
    return text;
}

std::string entryName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "CAR%04d.VEH", i);
    return name;
}

void writeArchive(const fs::path& path) {
    const std::size_t dataStart = 8 + 32 * static_cast<std::size_t>(kEntries);
    std::string bytes(dataStart + kEntrySize * kEntries, '\0');
    putU32(bytes, 0, kEntries);
    putU32(bytes, 4, static_cast<std::uint32_t>(kEntrySize * kEntries));
    for (int i = 0; i < kEntries; ++i) {
        const std::size_t record = 8 + 32 * static_cast<std::size_t>(i);
        const std::string name = entryName(i);
        std::memcpy(&bytes[record], name.data(), name.size());
        const auto offset = static_cast<std::uint32_t>(kEntrySize * static_cast<std::size_t>(i));
        putU32(bytes, record + 16, offset);
        putU32(bytes, record + 20, static_cast<std::uint32_t>(kEntrySize));
        putU32(bytes, record + 24, static_cast<std::uint32_t>(kEntrySize));
        const std::string text = entryText(i, kEntrySize);
        std::memcpy(&bytes[dataStart + offset], text.data(), text.size());
    }
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Peak resident memory since the last reset, in MiB (Linux); 0 where it cannot be read.
void resetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}
double peakMemoryMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

std::map<std::string, double> g_peakMiB;

void copyFile(bool flush) {
    std::ifstream in(g_setup.archive, std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    {
        std::ofstream out(g_setup.copy, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
#ifndef _WIN32
    if (flush) {
        const int fd = ::open(g_setup.copy.c_str(), O_RDONLY);
        ::fsync(fd);
        ::close(fd);
    }
#else
    (void)flush;
#endif
    benchmark::DoNotOptimize(bytes.data());
}

void BM_CopyBaseline(benchmark::State& state) {
    for (auto _ : state)
        copyFile(false);
}

void BM_CopyBaselineFlushed(benchmark::State& state) {
    for (auto _ : state)
        copyFile(true);
}

void BM_LoadAndList(benchmark::State& state) {
    SilentPrompt prompt;
    NoFilePicker picker;
    Settings settings;
    resetPeakMemory();
    for (auto _ : state) {
        VehicleArchive mas(settings, prompt, picker);
        mas.loadFile(g_setup.archive.string());
        if (!mas.Entries || mas.Entries->size() != kEntries)
            state.SkipWithError("the archive did not list all its entries");
        benchmark::DoNotOptimize(mas.Entries->back().DescFile.data());
    }
    g_peakMiB[kLoad] = peakMemoryMiB();
}

void BM_SaveEntryGrownBy1KB(benchmark::State& state) {
    SilentPrompt prompt;
    NoFilePicker picker;
    Settings settings;
    settings.gameFolder = g_setup.root.string();
    settings.setProgramFolder((g_setup.root / "program").string());
    resetPeakMemory();
    for (auto _ : state) {
        VehicleArchive mas(settings, prompt, picker);
        if (!mas.saveEntry(g_setup.entryName))
            state.SkipWithError("the entry was not written back");
    }
    g_peakMiB[kSaveEntry] = peakMemoryMiB();
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::error_code ec;
    const ScratchFolder scratch(fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path());
    g_setup.root = scratch.path();
    fs::create_directories(g_setup.root / "Dat");
    fs::create_directories(g_setup.root / "program" / "MasVeh");
    g_setup.archive = g_setup.root / "Dat" / "Vehicle.Mas";
    g_setup.copy = g_setup.root / "copy.mas";
    g_setup.entryName = entryName(kEditedEntry);

    int status = 0;
    try {
        std::printf("Writing a %d-entry archive of %.0f MiB to %s ...\n", kEntries,
                    static_cast<double>(kEntrySize * kEntries) / (1024.0 * 1024.0), g_setup.root.c_str());
        std::fflush(stdout);
        writeArchive(g_setup.archive);
        // The working copy of the edited entry, 1 KB longer than the entry.
        std::ofstream(g_setup.root / "program" / "MasVeh" / ("vehiclemas=" + g_setup.entryName), std::ios::binary)
            << entryText(kEditedEntry, kEntrySize + 1024);

        auto runs = [](benchmark::internal::Benchmark* b) {
            b->Iterations(1)->Repetitions(kRepetitions)->Unit(benchmark::kMillisecond)->UseRealTime();
        };
        runs(benchmark::RegisterBenchmark(kBaseline, BM_CopyBaseline));
        runs(benchmark::RegisterBenchmark(kBaselineFlushed, BM_CopyBaselineFlushed));
        runs(benchmark::RegisterBenchmark(kLoad, BM_LoadAndList));
        runs(benchmark::RegisterBenchmark(kSaveEntry, BM_SaveEntryGrownBy1KB));

        MedianReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);

        std::printf("\nRatios to copying the archive (read whole, write whole), medians:\n");
        bool met =
            printRatio(reporter, "load and list / copy", kLoad, kBaseline, TimeUnit::Milliseconds, {.ratio = 1.5});
        met = printRatio(reporter, "write-back (re-read, rebuild, write) / copy", kSaveEntry, kBaseline,
                         TimeUnit::Milliseconds, {.ratio = 2.0}) &&
              met;
        printRatio(reporter, "write-back / copy flushed to disk", kSaveEntry, kBaselineFlushed, TimeUnit::Milliseconds);
        std::printf("Peak resident memory: load and list %.0f MiB, write-back %.0f MiB (archive %.0f MiB)\n",
                    g_peakMiB[kLoad], g_peakMiB[kSaveEntry],
                    static_cast<double>(fs::file_size(g_setup.archive)) / (1024.0 * 1024.0));
        if (!met)
            std::printf("A target was missed.\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qora-bench-mas: %s\n", e.what());
        status = 1;
    }
    return status;
}
