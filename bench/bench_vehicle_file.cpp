// Loading and saving vehicle files, timed against a plain read of the same bytes in the same run.
//
// At start 10,000 template-sized vehicle files are written to a temporary folder; every benchmark walks
// through them, one file per iteration, and a ratio report against the plain read follows the usual table.

#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/file_system.h"
#include "platform/prompt.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "vehicle/veh_format.h"
#include "vehicle/vehicle_file.h"

namespace fs = std::filesystem;
using namespace qora;
using qora::bench::ScratchFolder;
using qora::bench::TimeUnit;

namespace {

constexpr int kFileCount = 10000;
constexpr int kRepetitions = 5;
// A save on the disk waits for the flush, which costs far more than the work itself; fewer repetitions keep
// the run short.
constexpr int kDiskSaveRepetitions = 3;

const char* const kBaseline = "BM_PlainRead";
const char* const kFullLoad = "BM_FullLoad";
const char* const kDetailsLoad = "BM_DetailsOnlyLoad";
const char* const kSaveDisk = "BM_LoadAndSaveDisk";
const char* const kSaveTmpfs = "BM_LoadAndSaveTmpfs";
// Microseconds per file spent in the save alone, reported by both save benchmarks.
const char* const kSaveCounter = "save_us";
// Parts of a load, timed alone so a slow load shows where its time goes.
const char* const kPartRead = "BM_PartCoreReadFile";
const char* const kPartSplit = "BM_PartReadAndSplitLines";
const char* const kPartTable = "BM_PartEmptyVehicleObject";

// Everything the benchmarks share; set up in main before they run.
struct Corpus {
    std::vector<std::string> inputs; // the generated vehicle files
    const ScratchFolder* diskOut = nullptr;
    const ScratchFolder* tmpfsOut = nullptr; // nullptr when the machine has no /dev/shm
    unsigned long long saveCounter = 0;      // every save goes to a path not used before
};

Corpus g_corpus;

// The template with a few values changed per file, so no two files are alike.
std::string vehicleText(int index) {
    std::vector<std::string> lines = veh::templateLines();
    for (std::string& line : lines) {
        if (text::startsWith(line, "//DescFile="))
            line = "//DescFile=Bench vehicle #" + std::to_string(index);
        else if (text::startsWith(line, "//VehCost="))
            line = "//VehCost=" + std::to_string(100000 + (index * 37) % 900000);
        else if (text::startsWith(line, "mass="))
            line = "mass=(" + std::to_string(900 + index % 700) + "." + std::to_string(index % 10) + ")";
        else if (text::startsWith(line, "fuel="))
            line = "fuel=(" + std::to_string(60 + index % 60) + ".00)";
    }
    return text::joinLinesCrLf(lines);
}

void writeCorpus(const fs::path& folder) {
    g_corpus.inputs.reserve(kFileCount);
    char name[32];
    for (int i = 0; i < kFileCount; ++i) {
        std::snprintf(name, sizeof name, "car%05d.veh", i);
        const std::string path = (folder / name).string();
        const std::string bytes = vehicleText(i);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + path);
        g_corpus.inputs.push_back(path);
    }
}

const std::string& inputFor(benchmark::IterationCount n) {
    return g_corpus.inputs[static_cast<std::size_t>(n % kFileCount)];
}

std::string freshPath(const ScratchFolder& folder) {
    return (folder.path() / ("saved" + std::to_string(g_corpus.saveCounter++) + ".veh")).string();
}

void BM_PlainRead(benchmark::State& state) {
    benchmark::IterationCount n = 0;
    for (auto _ : state) {
        std::ifstream in(inputFor(n++), std::ios::binary);
        in.seekg(0, std::ios::end);
        std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
        in.seekg(0, std::ios::beg);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_PartCoreReadFile(benchmark::State& state) {
    benchmark::IterationCount n = 0;
    for (auto _ : state) {
        std::string bytes = fileSystem().readFile(inputFor(n++));
        benchmark::DoNotOptimize(bytes.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_PartReadAndSplitLines(benchmark::State& state) {
    benchmark::IterationCount n = 0;
    for (auto _ : state) {
        std::vector<std::string> lines = text::splitLines(fileSystem().readFile(inputFor(n++)));
        benchmark::DoNotOptimize(lines.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

// The object alone, built and destroyed without touching a file.
void BM_PartEmptyVehicleObject(benchmark::State& state) {
    SilentPrompt prompt;
    Settings settings;
    benchmark::IterationCount n = 0;
    for (auto _ : state) {
        VehicleFile veh(inputFor(n++), prompt, settings);
        benchmark::DoNotOptimize(veh.sections.data());
    }
    state.SetItemsProcessed(state.iterations());
}

void loadFiles(benchmark::State& state, bool detailsOnly) {
    SilentPrompt prompt;
    Settings settings;
    benchmark::IterationCount n = 0;
    for (auto _ : state) {
        VehicleFile veh(inputFor(n++), prompt, settings);
        veh.detailsOnly = detailsOnly;
        try {
            benchmark::DoNotOptimize(veh.load(VehicleFile::ModeOpen));
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_FullLoad(benchmark::State& state) {
    loadFiles(state, false);
}

void BM_DetailsOnlyLoad(benchmark::State& state) {
    loadFiles(state, true);
}

void saveFiles(benchmark::State& state, const ScratchFolder& out) {
    SilentPrompt prompt;
    Settings settings; // backups stay on: a new path has nothing to back up
    benchmark::IterationCount n = 0;
    std::chrono::steady_clock::duration saving{};
    for (auto _ : state) {
        VehicleFile veh(inputFor(n++), prompt, settings);
        try {
            veh.load(VehicleFile::ModeOpen);
            // The save's own share is clocked beside the whole, so it needs no second run over the files.
            const auto start = std::chrono::steady_clock::now();
            storeAbsentGearsAsZero(veh);
            veh.save(freshPath(out), false);
            saving += std::chrono::steady_clock::now() - start;
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.counters[kSaveCounter] = benchmark::Counter(std::chrono::duration<double, std::micro>(saving).count(),
                                                      benchmark::Counter::kAvgIterations);
}

void BM_LoadAndSaveDisk(benchmark::State& state) {
    saveFiles(state, *g_corpus.diskOut);
}

void BM_LoadAndSaveTmpfs(benchmark::State& state) {
    saveFiles(state, *g_corpus.tmpfsOut);
}

// Saved files go after each repetition, so every repetition starts with empty folders.
void clearSaved(const benchmark::State&) {
    g_corpus.diskOut->clear();
    if (g_corpus.tmpfsOut)
        g_corpus.tmpfsOut->clear();
}

// Shows the usual table and keeps, per benchmark, the real time per file of every repetition and, for the
// saves, the time of the save alone.
class RatioReporter : public qora::bench::MedianReporter {
public:
    // Median seconds per file (of the save alone with saveOnly); 0 when the benchmark did not run.
    double median(const std::string& name, bool saveOnly = false) const {
        return saveOnly ? medianOf(m_savePerFile, name) : MedianReporter::median(name);
    }

protected:
    void recorded(const Run& run) override {
        // The counter arrives already averaged per file, in microseconds.
        if (const auto c = run.counters.find(kSaveCounter); c != run.counters.end())
            m_savePerFile[run.run_name.function_name].push_back(c->second.value * 1e-6);
    }

private:
    std::map<std::string, std::vector<double>> m_savePerFile;
};

// One line of the report against the plain read, per file; the target is a ratio to it.
bool printRatio(const RatioReporter& r, const char* label, const char* name, double target, bool saveOnly = false) {
    return qora::bench::printRatio(label, r.median(name, saveOnly), r.median(kBaseline), TimeUnit::Microseconds,
                                   {.ratio = target});
}

// One load and save before timing, so the benchmarks time the success path and not a rejected file.
void checkCorpus(const ScratchFolder& out) {
    SilentPrompt prompt;
    Settings settings;
    VehicleFile veh(g_corpus.inputs[1], prompt, settings);
    const int count = veh.load(VehicleFile::ModeOpen);
    if (count != static_cast<int>(veh::templateLines().size()))
        throw std::runtime_error("a generated file loaded with " + std::to_string(count) + " lines");
    const EntryRec* mass = veh.findEntry(veh::SecBody, "mass");
    if (!mass || mass->value != "901.1")
        throw std::runtime_error("a generated file lost its mass");
    storeAbsentGearsAsZero(veh);
    const std::string saved = (out.path() / "check.veh").string();
    veh.save(saved, false);
    VehicleFile again(saved, prompt, settings);
    again.load(VehicleFile::ModeOpen);
    out.clear();
}

// One load of every file before timing, so the first benchmark does not pay for cold caches alone.
void warmUp() {
    SilentPrompt prompt;
    Settings settings;
    for (const std::string& path : g_corpus.inputs) {
        VehicleFile veh(path, prompt, settings);
        benchmark::DoNotOptimize(veh.load(VehicleFile::ModeOpen));
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    int status = 0;
    try {
        ScratchFolder inputs;
        ScratchFolder diskOut;
        std::error_code ec;
        std::unique_ptr<ScratchFolder> tmpfsOut;
        if (fs::is_directory("/dev/shm", ec))
            tmpfsOut = std::make_unique<ScratchFolder>("/dev/shm");
        g_corpus.diskOut = &diskOut;
        g_corpus.tmpfsOut = tmpfsOut.get();

        std::printf("Writing %d vehicle files to %s ...\n", kFileCount, inputs.path().c_str());
        std::fflush(stdout);
        writeCorpus(inputs.path());
        checkCorpus(diskOut);
        warmUp();
        benchmark::AddCustomContext("vehicle files", std::to_string(kFileCount));
        benchmark::AddCustomContext("saved to disk", diskOut.path().string());
        benchmark::AddCustomContext("saved to tmpfs", tmpfsOut ? tmpfsOut->path().string() : "(no /dev/shm)");

        // One iteration is one file.
        auto perFile = [](benchmark::internal::Benchmark* b, int files, int repetitions) {
            b->Iterations(files)->Repetitions(repetitions)->Unit(benchmark::kMicrosecond)->UseRealTime();
        };
        perFile(benchmark::RegisterBenchmark(kBaseline, BM_PlainRead), kFileCount, kRepetitions);
        perFile(benchmark::RegisterBenchmark(kFullLoad, BM_FullLoad), kFileCount, kRepetitions);
        perFile(benchmark::RegisterBenchmark(kDetailsLoad, BM_DetailsOnlyLoad), kFileCount, kRepetitions);
        perFile(benchmark::RegisterBenchmark(kSaveDisk, BM_LoadAndSaveDisk)->Teardown(clearSaved), kFileCount,
                kDiskSaveRepetitions);
        if (tmpfsOut)
            perFile(benchmark::RegisterBenchmark(kSaveTmpfs, BM_LoadAndSaveTmpfs)->Teardown(clearSaved), kFileCount,
                    kRepetitions);

        perFile(benchmark::RegisterBenchmark(kPartRead, BM_PartCoreReadFile), kFileCount, kRepetitions);
        perFile(benchmark::RegisterBenchmark(kPartSplit, BM_PartReadAndSplitLines), kFileCount, kRepetitions);
        perFile(benchmark::RegisterBenchmark(kPartTable, BM_PartEmptyVehicleObject), kFileCount, kRepetitions);

        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);

        std::printf("\nRatios to the plain read (median real time per file):\n");
        bool met = printRatio(reporter, "full load / baseline", kFullLoad, 3.0);
        met = printRatio(reporter, "details-only load / baseline", kDetailsLoad, 1.5) && met;
        printRatio(reporter, "load + save, disk / baseline", kSaveDisk, 0);
        printRatio(reporter, "save alone, disk / baseline", kSaveDisk, 0, true);
        printRatio(reporter, "load + save, tmpfs / baseline", kSaveTmpfs, 0);
        printRatio(reporter, "save alone, tmpfs / baseline", kSaveTmpfs, 0, true);
        const double disk = reporter.median(kSaveDisk, true);
        const double tmpfs = reporter.median(kSaveTmpfs, true);
        if (disk > 0 && tmpfs > 0)
            std::printf("  the flush to disk costs about %.0f us per file (%.0f%% of a save on disk)\n",
                        (disk - tmpfs) * 1e6, 100 * (disk - tmpfs) / disk);
        std::printf("Parts of a load / baseline:\n");
        printRatio(reporter, "core readFile / baseline", kPartRead, 0);
        printRatio(reporter, "readFile + splitLines / baseline", kPartSplit, 0);
        printRatio(reporter, "empty vehicle object / baseline", kPartTable, 0);
        if (!met)
            std::printf("A target was missed.\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qora-bench-vehicle: %s\n", e.what());
        status = 1;
    }
    benchmark::Shutdown();
    return status;
}
