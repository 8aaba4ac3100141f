// A console reporter that also keeps each benchmark's median CPU time, for ratios.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

class MedianKeeper : public benchmark::ConsoleReporter
{
public:
    // Colour only on a terminal, so that a saved run stays plain text.
    MedianKeeper() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            const std::string &name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                median_[name] = run.GetAdjustedCPUTime();
            else if (run.run_type == Run::RT_Iteration && run.repetitions <= 1)
                median_[name] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Median time of an iteration of name; 0 when it did not run.
    double time(const std::string &name) const
    {
        const auto it = median_.find(name);
        return it == median_.end() ? 0 : it->second;
    }

    // How many times faster ours ran than theirs; 0 when either did not run.
    double ratio(const std::string &ours, const std::string &theirs) const
    {
        const double o = time(ours), t = time(theirs);
        return o > 0 && t > 0 ? t / o : 0;
    }

private:
    std::map<std::string, double> median_;
};
