#pragma once

// The console table of Google Benchmark, plus the real time per iteration of every repetition, so a benchmark
// program can print medians and their ratios to a baseline measured in the same run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace qora::bench {

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

} // namespace qora::bench
