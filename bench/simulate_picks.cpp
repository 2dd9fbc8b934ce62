// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Runs many machine picks with the real random source and sets what the filter did beside the
// figures an ideal generator gives: how often an attempt passes, how many attempts a pick takes,
// and which row rejects. A source whose values are not independent shows up here first.
//
// Usage: simulate_picks [picks]   (default 100000)

#include "machine_pick.h"
#include "selection_state.h"
#include "timer_random_source.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace kestrune;

constexpr std::int64_t defaultPicks = 100'000;

struct Reference {
    double acceptance = 0.0292;
    double meanAttempts = 34.3;
    std::int64_t medianAttempts = 24;
    std::int64_t attempts90 = 78;
    std::int64_t attempts99 = 156;
    std::array<double, 8> rejectedPercent{48.4, 25.5, 11.1, 6.2, 0.9, 1.8, 2.0, 1.2};
};

// What the current attempt has done so far, as seen from the outside of the pick.
struct Attempt {
    bool blueMarked = false;
    int filterValues = 0;
};

// Marking the blue ends the ticket draw: the values after it belong to the filter.
class ObservingBoard final : public BoardView {
public:
    explicit ObservingBoard(Attempt& attempt) : attempt_(attempt) {}

    void resetBallLabel(BallColour, std::int16_t) override {}
    void showBallPicture(BallColour colour, std::int16_t, BallPicture picture) override {
        if (colour == BallColour::blue && picture == BallPicture::markedBlue) {
            attempt_.blueMarked = true;
        }
    }

private:
    Attempt& attempt_;
};

class NullTextBox final : public TextBox {
public:
    void setText(const std::string&) override {}
};

class ObservingRandom final : public RandomSource {
public:
    ObservingRandom(RandomSource& source, Attempt& attempt) : source_(source), attempt_(attempt) {}

    void reseedFromTimer() override { source_.reseedFromTimer(); }
    float nextUniform() override {
        ++values;
        if (attempt_.blueMarked) {
            ++attempt_.filterValues;
        }
        return source_.nextUniform();
    }

    std::int64_t values = 0;

private:
    RandomSource& source_;
    Attempt& attempt_;
};

struct Tally {
    std::int64_t picks = 0;
    std::int64_t attempts = 0;
    std::array<std::int64_t, 8> rejectedBy{};
    // attemptsPerPick[a]: the picks that took a attempts.
    std::vector<std::int64_t> attemptsPerPick;
};

// Every call starts an attempt, so a call within a pick means its previous attempt was rejected;
// the row that did it is the number of filter values that attempt drew.
class AttemptObserver final : public EventProcessor {
public:
    AttemptObserver(Attempt& attempt, Tally& tally) : attempt_(attempt), tally_(tally) {}

    void startPick() { attemptsInPick = 0; }

    HostState processPendingEvents() override {
        if (attemptsInPick > 0) {
            const int row = attempt_.filterValues;
            if (row < 1 || row > static_cast<int>(acceptanceTable.size())) {
                throw std::logic_error("a rejected attempt drew " + std::to_string(row) +
                                       " filter values");
            }
            ++tally_.rejectedBy[static_cast<std::size_t>(row - 1)];
        }
        attempt_ = Attempt{};
        ++attemptsInPick;
        ++tally_.attempts;
        return HostState::running;
    }

    std::int64_t attemptsInPick = 0;

private:
    Attempt& attempt_;
    Tally& tally_;
};

void runPicks(std::int64_t picks, Tally& tally, std::int64_t& values) {
    Attempt attempt;
    ObservingBoard board(attempt);
    NullTextBox txtSelect;
    NullTextBox txtData;
    TimerRandomSource source;
    ObservingRandom random(source, attempt);
    AttemptObserver events(attempt, tally);
    SelectionState state(board, txtSelect);

    for (std::int64_t i = 0; i < picks; ++i) {
        events.startPick();
        if (pickTicket(state, random, events, txtData) != PickOutcome::accepted) {
            throw std::logic_error("a pick ended without a ticket");
        }
        if (attempt.filterValues != static_cast<int>(acceptanceTable.size())) {
            throw std::logic_error("the accepted attempt drew " +
                                   std::to_string(attempt.filterValues) + " filter values");
        }
        const auto attempts = static_cast<std::size_t>(events.attemptsInPick);
        if (tally.attemptsPerPick.size() <= attempts) {
            tally.attemptsPerPick.resize(attempts + 1);
        }
        ++tally.attemptsPerPick[attempts];
        ++tally.picks;
    }
    values = random.values;
}

// The smallest attempt count that at least the share q of all picks stays within.
std::int64_t attemptsQuantile(const Tally& tally, double q) {
    const double needed = q * static_cast<double>(tally.picks);
    std::int64_t within = 0;
    for (std::size_t a = 0; a < tally.attemptsPerPick.size(); ++a) {
        within += tally.attemptsPerPick[a];
        if (static_cast<double>(within) >= needed) {
            return static_cast<std::int64_t>(a);
        }
    }
    return static_cast<std::int64_t>(tally.attemptsPerPick.size()) - 1;
}

double percent(std::int64_t part, std::int64_t whole) {
    return 100.0 * static_cast<double>(part) / static_cast<double>(whole);
}

void printReport(const Tally& tally, std::int64_t values) {
    const Reference ideal;
    const auto picks = static_cast<double>(tally.picks);
    const auto attempts = static_cast<double>(tally.attempts);

    std::printf("%lld machine picks with the real random source, %lld attempts\n\n",
                static_cast<long long>(tally.picks), static_cast<long long>(tally.attempts));
    std::printf("%-30s %10s %10s\n", "", "measured", "ideal");
    std::printf("%-30s %10.4f %10.4f\n", "acceptance per attempt", picks / attempts,
                ideal.acceptance);
    std::printf("%-30s %10.2f %10.1f\n", "mean attempts per pick", attempts / picks,
                ideal.meanAttempts);
    std::printf("%-30s %10lld %10lld\n", "median attempts per pick",
                static_cast<long long>(attemptsQuantile(tally, 0.5)),
                static_cast<long long>(ideal.medianAttempts));
    std::printf("%-30s %10lld %10lld\n", "90 % of picks within",
                static_cast<long long>(attemptsQuantile(tally, 0.9)),
                static_cast<long long>(ideal.attempts90));
    std::printf("%-30s %10lld %10lld\n", "99 % of picks within",
                static_cast<long long>(attemptsQuantile(tally, 0.99)),
                static_cast<long long>(ideal.attempts99));

    std::printf("\nShare of all attempts first rejected by each row\n\n");
    std::printf("%-4s %-14s %10s %10s\n", "row", "name", "measured", "ideal");
    for (std::size_t i = 0; i < acceptanceTable.size(); ++i) {
        std::printf("%-4zu %-14s %9.2f%% %9.1f%%\n", i + 1, acceptanceTable[i].name,
                    percent(tally.rejectedBy[i], tally.attempts), ideal.rejectedPercent[i]);
    }
    std::printf("%-4s %-14s %9.2f%% %9.2f%%\n", "", "accepted",
                percent(tally.picks, tally.attempts), 100.0 * ideal.acceptance);

    std::printf("\nrandom values per attempt: %.2f\n", static_cast<double>(values) / attempts);
}

bool parsePicks(std::string_view text, std::int64_t& picks) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, picks);
    return error == std::errc{} && stop == end && picks > 0;
}

} // namespace

int main(int argc, char** argv) {
    std::int64_t picks = defaultPicks;
    if (argc > 2 || (argc == 2 && !parsePicks(argv[1], picks))) {
        std::fprintf(stderr, "usage: %s [picks]   (a positive number, default %lld)\n", argv[0],
                     static_cast<long long>(defaultPicks));
        return 2;
    }
    try {
        Tally tally;
        std::int64_t values = 0;
        runPicks(picks, tally, values);
        printReport(tally, values);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "simulate_picks: %s\n", error.what());
        return 1;
    }
    return 0;
}
