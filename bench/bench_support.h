#pragma once

// What every benchmark program shares: a scratch folder for the files it generates, the console table of Google
// Benchmark with the real time per iteration of every repetition kept, and the report of medians as ratios to a
// baseline measured in the same run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace qora::bench {

// A fresh folder "qora-bench-NNN" under `parent`, removed with everything in it when the object goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::filesystem::path& parent = std::filesystem::temp_directory_path()) {
        std::random_device rd;
        for (;;) {
            m_path = parent / ("qora-bench-" + std::to_string(rd()));
            if (std::filesystem::create_directory(m_path))
                break;
        }
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    // Empties the folder but keeps it.
    void clear() const {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(m_path, ec))
            std::filesystem::remove_all(entry.path(), ec);
    }

private:
    std::filesystem::path m_path;
};

// The console table, plus the real time per iteration of every repetition, so a program can print medians and
// their ratios to a baseline measured in the same run.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, so a log or a pipe gets plain text.
    MedianReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0) {
                m_times[run.run_name.function_name].push_back(run.real_accumulated_time /
                                                              static_cast<double>(run.iterations));
                recorded(run);
            }
        ConsoleReporter::ReportRuns(runs);
    }

    // Median seconds per iteration; 0 when the benchmark did not run.
    double median(const std::string& name) const { return medianOf(m_times, name); }

protected:
    // Called for every repetition kept, for programs that collect more (counters) than the time.
    virtual void recorded(const Run&) {}

    static double medianOf(const std::map<std::string, std::vector<double>>& times, const std::string& name) {
        const auto it = times.find(name);
        if (it == times.end() || it->second.empty())
            return 0;
        std::vector<double> v = it->second;
        std::sort(v.begin(), v.end());
        const std::size_t m = v.size() / 2;
        return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
    }

private:
    std::map<std::string, std::vector<double>> m_times;
};

// The unit a report shows times in.
enum class TimeUnit { Microseconds, Milliseconds };

// The most a median may be: `ratio` times the baseline, or `milliseconds`; neither set, no target.
struct Target {
    double ratio = 0;
    double milliseconds = 0;
};

// One line of the ratio report: the label, the median's ratio to the baseline, the median itself and the target
// when there is one ("met" or "MISSED"). Without either median (a benchmark left out by a filter) the line says
// "not measured". Returns false only when a target was missed.
inline bool printRatio(const char* label, double seconds, double baselineSeconds, TimeUnit unit, Target target = {}) {
    if (seconds <= 0 || baselineSeconds <= 0) {
        std::printf("  %-44s not measured\n", label);
        return true;
    }
    const double ratio = seconds / baselineSeconds;
    std::printf("  %-44s %7.2fx", label, ratio);
    if (unit == TimeUnit::Microseconds)
        std::printf("  (%10.2f us)", seconds * 1e6);
    else
        std::printf("  (%10.3f ms)", seconds * 1e3);
    bool met = true;
    if (target.ratio > 0) {
        met = ratio <= target.ratio;
        std::printf("  target <= %.1fx: %s", target.ratio, met ? "met" : "MISSED");
    } else if (target.milliseconds > 0) {
        met = seconds * 1e3 <= target.milliseconds;
        std::printf("  target <= %g ms: %s", target.milliseconds, met ? "met" : "MISSED");
    }
    std::printf("\n");
    return met;
}

// The same for two benchmarks by name, with the medians the reporter kept.
inline bool printRatio(const MedianReporter& reporter, const char* label, const char* name, const char* baseline,
                       TimeUnit unit, Target target = {}) {
    return printRatio(label, reporter.median(name), reporter.median(baseline), unit, target);
}

} // namespace qora::bench
