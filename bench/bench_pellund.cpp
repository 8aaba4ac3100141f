// Pellund's conversions timed against libavutil's time code functions on the same
// inputs, then the speed ratios.
#include "pellund.h"

extern "C" {
#include <libavutil/log.h>
#include <libavutil/timecode.h>
}

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int32_t Both = PELLUND_MARKS | PELLUND_LEADING;
constexpr int Repetitions = 5;

struct Input {
    int32_t frames;
    int32_t type;           // PELLUND_TYPE_NDF or PELLUND_TYPE_DF
    const AVTimecode *tc;   // libavutil's counterpart of type
    AVRational rate;
    char text[PELLUND_TEXT_SIZE];
};

AVTimecode ndf, df;
std::vector<Input> inputs;

// Counts spread over the day under both NTSC types, and their texts (the same for
// both libraries with marks and leading zeros).
bool makeInputs()
{
    const AVRational ndfRate{30, 1}, dfRate{30000, 1001};
    if (av_timecode_init(&ndf, ndfRate, 0, 0, nullptr) != 0
        || av_timecode_init(&df, dfRate, AV_TIMECODE_FLAG_DROPFRAME, 0, nullptr) != 0)
        return false;
    uint32_t seed = 12345;
    for (int i = 0; i < 2048; ++i) {
        Input in{};
        const bool drop = i % 2 != 0;
        in.type = drop ? PELLUND_TYPE_DF : PELLUND_TYPE_NDF;
        in.tc = drop ? &df : &ndf;
        in.rate = drop ? dfRate : ndfRate;
        seed = seed * 1664525u + 1013904223u;
        in.frames = int32_t(seed % uint32_t(tc2Maximum(in.type)));
        tc2String(in.frames, in.type | Both, in.text);
        char theirs[AV_TIMECODE_STR_SIZE];
        if (std::strcmp(av_timecode_make_string(in.tc, theirs, in.frames), in.text) != 0) {
            std::fprintf(stderr, "texts differ at %d: %s / %s\n", in.frames, in.text, theirs);
            return false;
        }
        inputs.push_back(in);
    }
    return true;
}

void tc2String(benchmark::State &state)
{
    char buf[PELLUND_TEXT_SIZE];
    for (auto _ : state) {
        for (const Input &in : inputs) {
            ::tc2String(in.frames, in.type | Both, buf);
            benchmark::DoNotOptimize(buf);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(inputs.size()));
}

void av_timecode_make_string(benchmark::State &state)
{
    char buf[AV_TIMECODE_STR_SIZE];
    for (auto _ : state) {
        for (const Input &in : inputs) {
            ::av_timecode_make_string(in.tc, buf, in.frames);
            benchmark::DoNotOptimize(buf);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(inputs.size()));
}

void tc2Frame(benchmark::State &state)
{
    for (auto _ : state) {
        for (Input &in : inputs) {
            int32_t frames = 0;
            ::tc2Frame(in.text, in.type, &frames);
            benchmark::DoNotOptimize(frames);
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(inputs.size()));
}

void av_timecode_init_from_string(benchmark::State &state)
{
    for (auto _ : state) {
        for (const Input &in : inputs) {
            AVTimecode tc;
            ::av_timecode_init_from_string(&tc, in.rate, in.text, nullptr);
            benchmark::DoNotOptimize(tc.start);
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(inputs.size()));
}

// Passes everything on to the console and keeps each benchmark's median time.
class MedianKeeper : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> median;

    // Colour only on a terminal, so that a saved run stays plain text.
    MedianKeeper() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            const std::string &name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                median[name] = run.GetAdjustedCPUTime();
            else if (run.run_type == Run::RT_Iteration && run.repetitions <= 1)
                median[name] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

void printRatio(const MedianKeeper &keeper, const char *ours, const char *theirs)
{
    const auto o = keeper.median.find(ours), t = keeper.median.find(theirs);
    if (o == keeper.median.end() || t == keeper.median.end() || o->second <= 0)
        return;
    const double ratio = t->second / o->second;
    if (ratio >= 1)
        std::printf("%s is %.1fx faster than %s\n", ours, ratio, theirs);
    else
        std::printf("%s is %.1fx slower than %s\n", ours, 1 / ratio, theirs);
}

} // namespace

int main(int argc, char **argv)
{
    av_log_set_level(AV_LOG_QUIET);
    if (!makeInputs())
        return 1;
    for (auto *b : {
             benchmark::RegisterBenchmark("tc2String", tc2String),
             benchmark::RegisterBenchmark("av_timecode_make_string", av_timecode_make_string),
             benchmark::RegisterBenchmark("tc2Frame", tc2Frame),
             benchmark::RegisterBenchmark("av_timecode_init_from_string",
                                          av_timecode_init_from_string),
         })
        b->Repetitions(Repetitions)->DisplayAggregatesOnly(true);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    MedianKeeper keeper;
    benchmark::RunSpecifiedBenchmarks(&keeper);
    benchmark::Shutdown();

    std::printf("\n%zu inputs per iteration, median CPU time of %d repetitions\n",
                inputs.size(), Repetitions);
    printRatio(keeper, "tc2String", "av_timecode_make_string");
    printRatio(keeper, "tc2Frame", "av_timecode_init_from_string");
    return 0;
}
