// Pellund's conversions timed against libavutil's time code functions on the same
// inputs: the window's two calls, then the rates calls at every known rate (writing,
// reading, and reading strictly), and the speed ratios of each pair from the same run.
//   bench_pellund [--benchmark_filter=REGEX]
#include "median_keeper.h"
#include "pellund.h"
#include "pellund_rates.h"

extern "C" {
#include <libavutil/log.h>
#include <libavutil/timecode.h>
}

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

constexpr int32_t Both = PELLUND_MARKS | PELLUND_LEADING;
constexpr int Repetitions = 5;
constexpr int InputCount = 2048;
constexpr double RateMinTime = 0.1; // seconds a repetition at each rate

struct Input {
    int64_t frames;
    int32_t type;           // window type, PELLUND_TYPE_NDF or PELLUND_TYPE_DF
    const AVTimecode *tc;   // libavutil's counterpart of the rate
    AVRational rate;
    char text[PELLUND_TEXT_SIZE];
    size_t length;
};

AVTimecode ndf, df;
std::vector<Input> windowInputs;

// One known rate with counts spread over its day and their texts.
struct RateInputs {
    const PellundRate *rate;
    AVTimecode tc;
    std::vector<Input> inputs;
};
std::deque<RateInputs> rateInputs; // a deque: benchmarks keep pointers to its elements

uint32_t nextRandom(uint32_t &seed)
{
    seed = seed * 1664525u + 1013904223u;
    return seed;
}

// Fills in's text and checks that libavutil writes the same (marks and leading zeros).
bool addText(Input &in, const char *ours)
{
    std::strcpy(in.text, ours);
    in.length = std::strlen(in.text);
    char theirs[AV_TIMECODE_STR_SIZE];
    if (std::strcmp(av_timecode_make_string(in.tc, theirs, int(in.frames)), in.text) != 0) {
        std::fprintf(stderr, "texts differ at %lld: %s / %s\n", (long long)in.frames, in.text,
                     theirs);
        return false;
    }
    return true;
}

// Counts spread over the day under both NTSC types of the window.
bool makeWindowInputs()
{
    const AVRational ndfRate{30, 1}, dfRate{30000, 1001};
    if (av_timecode_init(&ndf, ndfRate, 0, 0, nullptr) != 0
        || av_timecode_init(&df, dfRate, AV_TIMECODE_FLAG_DROPFRAME, 0, nullptr) != 0)
        return false;
    uint32_t seed = 12345;
    for (int i = 0; i < InputCount; ++i) {
        Input in{};
        const bool drop = i % 2 != 0;
        in.type = drop ? PELLUND_TYPE_DF : PELLUND_TYPE_NDF;
        in.tc = drop ? &df : &ndf;
        in.rate = drop ? dfRate : ndfRate;
        in.frames = int32_t(nextRandom(seed) % uint32_t(tc2Maximum(in.type)));
        char text[PELLUND_TEXT_SIZE];
        tc2String(int32_t(in.frames), in.type | Both, text);
        if (!addText(in, text))
            return false;
        windowInputs.push_back(in);
    }
    return true;
}

bool makeRateInputs()
{
    for (int k = 0; const PellundRate *r = pellund_rate_at(k); k++) {
        RateInputs &set = rateInputs.emplace_back();
        set.rate = r;
        const AVRational rate{r->num, r->den};
        if (av_timecode_init(&set.tc, rate, r->drop ? AV_TIMECODE_FLAG_DROPFRAME : 0, 0,
                             nullptr) != 0)
            return false;
        const int64_t day = int64_t(r->labels) * 86400 - int64_t(r->drop) * 9 * 144;
        uint32_t seed = 12345 + uint32_t(k);
        for (int i = 0; i < InputCount; ++i) {
            Input in{};
            in.tc = &set.tc;
            in.rate = rate;
            in.frames = int64_t(nextRandom(seed) % uint64_t(day));
            char text[PELLUND_TEXT_SIZE];
            if (pellund_tc_string(in.frames, r, Both, text) != PELLUND_OK || !addText(in, text))
                return false;
            set.inputs.push_back(in);
        }
    }
    return true;
}

// Times body over every input, counting each input as one item.
template <typename Body>
void timeEach(benchmark::State &state, const std::vector<Input> &inputs, Body body)
{
    for (auto _ : state) {
        for (const Input &in : inputs)
            body(in);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(inputs.size()));
}

void tc2String(benchmark::State &state)
{
    char buf[PELLUND_TEXT_SIZE];
    timeEach(state, windowInputs, [&](const Input &in) {
        ::tc2String(int32_t(in.frames), in.type | Both, buf);
        benchmark::DoNotOptimize(buf);
    });
}

void tc2Frame(benchmark::State &state)
{
    timeEach(state, windowInputs, [](const Input &in) {
        int32_t frames = 0;
        ::tc2Frame(const_cast<char *>(in.text), in.type, &frames);
        benchmark::DoNotOptimize(frames);
    });
}

void makeString(benchmark::State &state, const std::vector<Input> *inputs)
{
    char buf[AV_TIMECODE_STR_SIZE];
    timeEach(state, *inputs, [&](const Input &in) {
        ::av_timecode_make_string(in.tc, buf, int(in.frames));
        benchmark::DoNotOptimize(buf);
    });
}

void initFromString(benchmark::State &state, const std::vector<Input> *inputs)
{
    timeEach(state, *inputs, [](const Input &in) {
        AVTimecode tc;
        ::av_timecode_init_from_string(&tc, in.rate, in.text, nullptr);
        benchmark::DoNotOptimize(tc.start);
    });
}

void tcString(benchmark::State &state, const RateInputs *set)
{
    char buf[PELLUND_TEXT_SIZE];
    timeEach(state, set->inputs, [&](const Input &in) {
        pellund_tc_string(in.frames, set->rate, Both, buf);
        benchmark::DoNotOptimize(buf);
    });
}

void tcFrames(benchmark::State &state, const RateInputs *set)
{
    timeEach(state, set->inputs, [&](const Input &in) {
        int64_t frames = 0;
        pellund_tc_frames(in.text, in.length, set->rate, &frames);
        benchmark::DoNotOptimize(frames);
    });
}

void tcReadStrict(benchmark::State &state, const RateInputs *set)
{
    timeEach(state, set->inputs, [&](const Input &in) {
        int64_t frames = 0;
        pellund_tc_read(in.text, in.length, set->rate, PELLUND_STRICT, &frames, nullptr);
        benchmark::DoNotOptimize(frames);
    });
}

void registerAll()
{
    for (auto *b : {
             benchmark::RegisterBenchmark("tc2String", tc2String),
             benchmark::RegisterBenchmark("av_timecode_make_string", makeString, &windowInputs),
             benchmark::RegisterBenchmark("tc2Frame", tc2Frame),
             benchmark::RegisterBenchmark("av_timecode_init_from_string", initFromString,
                                          &windowInputs),
         })
        b->Repetitions(Repetitions)->DisplayAggregatesOnly(true);
    for (const RateInputs &set : rateInputs) {
        const std::string at = std::string("/") + set.rate->name;
        for (auto *b : {
                 benchmark::RegisterBenchmark(("pellund_tc_string" + at).c_str(), tcString, &set),
                 benchmark::RegisterBenchmark(("av_timecode_make_string" + at).c_str(), makeString,
                                              &set.inputs),
                 benchmark::RegisterBenchmark(("pellund_tc_frames" + at).c_str(), tcFrames, &set),
                 benchmark::RegisterBenchmark(("pellund_tc_read" + at).c_str(), tcReadStrict, &set),
                 benchmark::RegisterBenchmark(("av_timecode_init_from_string" + at).c_str(),
                                              initFromString, &set.inputs),
             })
            b->Repetitions(Repetitions)->DisplayAggregatesOnly(true)->MinTime(RateMinTime);
    }
}

void printWindowRatios(const MedianKeeper &keeper)
{
    std::printf("\n%d inputs per iteration, median CPU time of %d repetitions\n", InputCount,
                Repetitions);
    for (const auto &[ours, theirs] : {std::pair{"tc2String", "av_timecode_make_string"},
                                       std::pair{"tc2Frame", "av_timecode_init_from_string"}}) {
        const double ratio = keeper.ratio(ours, theirs);
        if (ratio > 0)
            std::printf("%s is %.1fx %s than %s\n", ours, ratio >= 1 ? ratio : 1 / ratio,
                        ratio >= 1 ? "faster" : "slower", theirs);
    }
}

double leastOf(double sofar, double ratio)
{
    return ratio > 0 && (sofar == 0 || ratio < sofar) ? ratio : sofar;
}

// One row a rate: ns a call of each, and how many times faster Pellund is; the strict
// read is against the same libavutil call as pellund_tc_frames.
void printRateTable(const MedianKeeper &keeper)
{
    std::printf("\nns a call at each rate, and libavutil's time over Pellund's\n");
    std::printf("%-9s %9s %11s %6s   %9s %9s %11s %6s %6s\n", "rate", "tc_string", "make_string",
                "ratio", "tc_frames", "strict", "init_string", "ratio", "strict");
    double least[3] = {0, 0, 0};
    for (const RateInputs &set : rateInputs) {
        const std::string at = std::string("/") + set.rate->name;
        const std::string make = "av_timecode_make_string" + at, init = "av_timecode_init_from_string" + at;
        const double ratio[3] = {keeper.ratio("pellund_tc_string" + at, make),
                                 keeper.ratio("pellund_tc_frames" + at, init),
                                 keeper.ratio("pellund_tc_read" + at, init)};
        if (ratio[0] == 0 && ratio[1] == 0 && ratio[2] == 0)
            continue; // filtered out
        const double n = double(set.inputs.size());
        std::printf("%-9s %9.1f %11.1f %5.1fx   %9.1f %9.1f %11.1f %5.1fx %5.1fx\n", set.rate->name,
                    keeper.time("pellund_tc_string" + at) / n, keeper.time(make) / n, ratio[0],
                    keeper.time("pellund_tc_frames" + at) / n, keeper.time("pellund_tc_read" + at) / n,
                    keeper.time(init) / n, ratio[1], ratio[2]);
        for (int k = 0; k < 3; k++)
            least[k] = leastOf(least[k], ratio[k]);
    }
    std::printf("least ratio over the rates: pellund_tc_string %.1fx, pellund_tc_frames %.1fx, "
                "strict pellund_tc_read %.1fx\n", least[0], least[1], least[2]);
}

} // namespace

int main(int argc, char **argv)
{
    av_log_set_level(AV_LOG_QUIET);
    if (!makeWindowInputs() || !makeRateInputs())
        return 1;
    registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    MedianKeeper keeper;
    benchmark::RunSpecifiedBenchmarks(&keeper);
    benchmark::Shutdown();
    printWindowRatios(keeper);
    printRateTable(keeper);
    return 0;
}
