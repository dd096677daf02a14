// Speed of the conversions, with Google Benchmark. Times are per call unless the name says
// otherwise; the round trips take one iteration for all 2 592 000 frames of a day.

#include "arithmetic/normalize.h"
#include "arithmetic/numbertext.h"
#include "arithmetic/timecode.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::int32_t FramesPerDay = vorlane::MaxFrameNumber + 1;
// Inputs are taken in turn from a table of this many entries, small enough to stay in the
// first-level cache, spread over the whole day so that no branch learns one path.
constexpr std::size_t TableSize = 1024;
constexpr std::int32_t TableStride = 2531; // prime, so the table reaches every part of the day

std::vector<std::int32_t> spreadFrames() {
    std::vector<std::int32_t> frames(TableSize);
    for (std::size_t i = 0; i < TableSize; ++i)
        frames[i] = static_cast<std::int32_t>((i * TableStride) % FramesPerDay);
    return frames;
}

void BM_FramesToTimecode(benchmark::State& state) {
    const bool dropFrame = state.range(0) != 0;
    const auto frames = spreadFrames();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vorlane::FramesToTimecode(frames[i], dropFrame));
        i = (i + 1) % TableSize;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FramesToTimecode)->ArgName("drop")->Arg(0)->Arg(1);

void BM_TimecodeToFrames(benchmark::State& state) {
    const bool dropFrame = state.range(0) != 0;
    std::vector<vorlane::Timecode> timecodes;
    for (const std::int32_t frame : spreadFrames())
        timecodes.push_back(vorlane::FramesToTimecode(frame, dropFrame));
    std::size_t i = 0;
    for (auto _ : state) {
        const vorlane::Timecode& tc = timecodes[i];
        benchmark::DoNotOptimize(
            vorlane::TimecodeToFrames(tc.hours, tc.minutes, tc.secFrames, dropFrame));
        i = (i + 1) % TableSize;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TimecodeToFrames)->ArgName("drop")->Arg(0)->Arg(1);

void BM_NormalizeTimeTexts(benchmark::State& state) {
    // What the seconds.frames Enter meets: already normal, over-full frames, seconds and
    // minutes, and a text that is not a number.
    static constexpr std::array<std::array<std::string_view, 3>, 4> rows{{
        {"1", "02", "03.04"},
        {"0", "59", "59.45"},
        {"23", "75", "125.99"},
        {"1", "2", "x"},
    }};
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& row = rows[i];
        benchmark::DoNotOptimize(vorlane::NormalizeTimeTexts(row[0], row[1], row[2]));
        i = (i + 1) % rows.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NormalizeTimeTexts);

// Box texts as the handlers meet them.
constexpr std::array<std::string_view, 4> BoxTexts{"2591999", "59.29", "07", " 1,200"};

void BM_readValue(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vorlane::readValue(BoxTexts[i]));
        i = (i + 1) % BoxTexts.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_readValue);

void BM_isNumeric(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vorlane::isNumeric(BoxTexts[i]));
        i = (i + 1) % BoxTexts.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_isNumeric);

void BM_roundToInt32(benchmark::State& state) {
    static constexpr std::array<double, 4> values{2591999.0, 2.5, 1e10, 59.29};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vorlane::roundToInt32(values[i]));
        i = (i + 1) % values.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_roundToInt32);

void BM_formatNumber_SecFrames(benchmark::State& state) {
    std::vector<float> values;
    for (const std::int32_t frame : spreadFrames())
        values.push_back(vorlane::FramesToTimecode(frame, true).secFrames);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vorlane::formatNumber(values[i], "00.00"));
        i = (i + 1) % TableSize;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_formatNumber_SecFrames);

// Every frame of the day to its timecode and back, in both modes: one iteration is the whole
// round trip.
void BM_RoundTripDayBothModes(benchmark::State& state) {
    std::int32_t mismatches = 0;
    for (auto _ : state) {
        for (const bool dropFrame : {false, true}) {
            for (std::int32_t frame = 0; frame < FramesPerDay; ++frame) {
                const vorlane::Timecode tc = vorlane::FramesToTimecode(frame, dropFrame);
                const auto back =
                    vorlane::TimecodeToFrames(tc.hours, tc.minutes, tc.secFrames, dropFrame);
                mismatches += back != frame ? 1 : 0;
            }
        }
    }
    if (mismatches != 0)
        state.SkipWithError("a frame did not come back as itself");
    state.SetItemsProcessed(state.iterations() * FramesPerDay * 2);
}
BENCHMARK(BM_RoundTripDayBothModes)->Unit(benchmark::kMillisecond);

// The same in one mode, with the seconds.frames going through the box text and back as a
// user's two conversions take it: the text formatting and reading dominate.
void BM_RoundTripDayThroughText(benchmark::State& state) {
    const bool dropFrame = state.range(0) != 0;
    std::int32_t mismatches = 0;
    for (auto _ : state) {
        for (std::int32_t frame = 0; frame < FramesPerDay; ++frame) {
            const vorlane::Timecode tc = vorlane::FramesToTimecode(frame, dropFrame);
            const std::string text = vorlane::formatNumber(tc.secFrames, "00.00");
            const auto secFrames = static_cast<float>(vorlane::readValue(text));
            const auto back = vorlane::TimecodeToFrames(tc.hours, tc.minutes, secFrames, dropFrame);
            mismatches += back != frame ? 1 : 0;
        }
    }
    if (mismatches != 0)
        state.SkipWithError("a frame did not come back as itself");
    state.SetItemsProcessed(state.iterations() * FramesPerDay);
}
BENCHMARK(BM_RoundTripDayThroughText)
    ->ArgName("drop")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
