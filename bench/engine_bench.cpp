// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How long a machine pick takes without a window, and how that compares with the random values
// it consumes. The goal: at most 20 us median per pick, and at most twice the cost of its random
// values alone. After the benchmarks a summary prints both figures.

#include "machine_pick.h"
#include "selection_state.h"
#include "timer_random_source.h"

#include <array>
#include <benchmark/benchmark.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace kestrune;

constexpr int repetitions = 10;
constexpr double goalPickMicroseconds = 20.0;
constexpr double goalRatio = 2.0;

class NullBoard final : public BoardView {
public:
    void resetBallLabel(BallColour, std::int16_t) override {}
    void showBallPicture(BallColour, std::int16_t, BallPicture) override {}
};

class NullTextBox final : public TextBox {
public:
    void setText(const std::string&) override {}
};

// The pick calls this once before every attempt.
class CountingEvents final : public EventProcessor {
public:
    HostState processPendingEvents() override {
        ++calls;
        return HostState::running;
    }

    std::int64_t calls = 0;
};

// The real source on its own clock, whose clock also counts its readings: one per reseed,
// and the pick reseeds before every value. A counting decorator would add two calls to every
// value and inflate the very figure that is compared with the cost of the bare values.
TimerRandomSource countingSource(std::int64_t& readings) {
    std::random_device device;
    const std::uint64_t seed = (std::uint64_t{device()} << 32) ^ device();
    return TimerRandomSource(
        [&readings] {
            ++readings;
            return TimerRandomSource::highResolutionTicks();
        },
        seed);
}

void BM_MachinePick(benchmark::State& state) {
    NullBoard board;
    NullTextBox txtSelect;
    NullTextBox txtData;
    CountingEvents events;
    std::int64_t values = 0;
    TimerRandomSource random = countingSource(values);
    SelectionState selection(board, txtSelect);

    for (auto _ : state) {
        const PickOutcome outcome = pickTicket(selection, random, events, txtData);
        if (outcome != PickOutcome::accepted) {
            state.SkipWithError("the pick did not accept a ticket");
            break;
        }
        // A copy, since Benchmark 1.8 deprecates keeping a const reference alive.
        Ticket ticket = selection.ticketNumbers();
        benchmark::DoNotOptimize(ticket);
    }

    const auto attempts = static_cast<double>(events.calls);
    state.counters["attempts"] = benchmark::Counter(attempts, benchmark::Counter::kAvgIterations);
    state.counters["values"] =
        benchmark::Counter(static_cast<double>(values), benchmark::Counter::kAvgIterations);
    state.counters["values/attempt"] = attempts > 0 ? static_cast<double>(values) / attempts : 0;
}
BENCHMARK(BM_MachinePick)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(repetitions)
    ->ReportAggregatesOnly(true);

void BM_ReseedAndValue(benchmark::State& state) {
    TimerRandomSource source;
    // Called through the interface, as the pick calls it; the opaque pointer keeps the compiler
    // from devirtualising.
    RandomSource* random = &source;
    benchmark::DoNotOptimize(random);
    for (auto _ : state) {
        random->reseedFromTimer();
        benchmark::DoNotOptimize(random->nextUniform());
    }
}
BENCHMARK(BM_ReseedAndValue)->Repetitions(repetitions)->ReportAggregatesOnly(true);

double nanoseconds(double time, benchmark::TimeUnit unit) {
    switch (unit) {
    case benchmark::kNanosecond:
        return time;
    case benchmark::kMicrosecond:
        return time * 1e3;
    case benchmark::kMillisecond:
        return time * 1e6;
    case benchmark::kSecond:
        return time * 1e9;
    }
    return time;
}

struct Figures {
    double realNanoseconds = 0;
    double cpuNanoseconds = 0;
    std::map<std::string, double> counters;
};

// Whether a run ended in an error: Benchmark 1.7 (Debian 12) says so in error_occurred, 1.8 and
// later (Debian 13) in skipped.
template <typename Run> auto failed(const Run& run) -> decltype(run.error_occurred, bool()) {
    return run.error_occurred;
}
template <typename Run> auto failed(const Run& run) -> decltype(run.skipped, bool()) {
    return run.skipped != decltype(run.skipped){};
}

// The console output as usual, keeping the median of each benchmark for the summary. The
// --benchmark_format flag gives way to it; --benchmark_out still writes JSON.
class SummaryReporter final : public benchmark::ConsoleReporter {
public:
    SummaryReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (failed(run) || !median) {
                continue;
            }
            Figures& figures = results[run.run_name.function_name];
            figures.realNanoseconds = nanoseconds(run.GetAdjustedRealTime(), run.time_unit);
            figures.cpuNanoseconds = nanoseconds(run.GetAdjustedCPUTime(), run.time_unit);
            for (const auto& [name, counter] : run.counters) {
                figures.counters[name] = counter.value;
            }
        }
    }

    std::map<std::string, Figures> results;
};

const char* verdict(bool met) {
    return met ? "met" : "NOT MET";
}

// Wall time is what the user waits; CPU time leaves out what other processes on a busy machine
// took from the pick, so the two together tell a slow pick from a loaded machine.
void printSummary(const std::map<std::string, Figures>& results) {
    const auto pick = results.find("BM_MachinePick");
    const auto pair = results.find("BM_ReseedAndValue");
    if (pick == results.end() || pair == results.end()) {
        std::printf("\nThe summary needs both BM_MachinePick and BM_ReseedAndValue.\n");
        return;
    }
    const double attempts = pick->second.counters.at("attempts");
    const double valuesPerAttempt = pick->second.counters.at("values/attempt");
    const std::array<double, 2> pickNs{pick->second.realNanoseconds, pick->second.cpuNanoseconds};
    const std::array<double, 2> pairNs{pair->second.realNanoseconds, pair->second.cpuNanoseconds};
    std::array<double, 2> valuesAloneNs{};
    std::array<double, 2> ratio{};
    for (std::size_t i = 0; i < 2; ++i) {
        valuesAloneNs[i] = attempts * valuesPerAttempt * pairNs[i];
        ratio[i] = pickNs[i] / valuesAloneNs[i];
    }

    std::printf("\nSummary (medians of the repetitions)        wall time    CPU time\n");
    std::printf("  machine pick                     us %11.2f %11.2f   goal <= %.0f us: %s\n",
                pickNs[0] / 1e3, pickNs[1] / 1e3, goalPickMicroseconds,
                verdict(pickNs[0] <= goalPickMicroseconds * 1e3));
    std::printf("  one reseed + value               ns %11.2f %11.2f\n", pairNs[0], pairNs[1]);
    std::printf("  random values alone              us %11.2f %11.2f   attempts x values per "
                "attempt x reseed + value\n",
                valuesAloneNs[0] / 1e3, valuesAloneNs[1] / 1e3);
    std::printf("  pick / random values alone          %11.2f %11.2f   goal <= %.0f: %s\n",
                ratio[0], ratio[1], goalRatio, verdict(ratio[0] <= goalRatio));
    std::printf("  pick time per attempt            ns %11.1f %11.1f\n", pickNs[0] / attempts,
                pickNs[1] / attempts);
    std::printf("  attempts per pick                   %11.2f\n", attempts);
    std::printf("  random values per attempt           %11.2f\n", valuesPerAttempt);
    std::printf("  random values per pick              %11.1f\n",
                pick->second.counters.at("values"));
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printSummary(reporter.results);
    return 0;
}
