// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The machine pick: draw a ticket, judge its reds by the eight statistics through a soft random
// filter, and draw again until one passes. Randomness, event processing and the statistics box
// come from the host through the small interfaces below.

#include "pick_statistics.h"
#include "selection_state.h"

#include <array>
#include <cstdint>
#include <string>

namespace kestrune {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Called directly before every nextUniform.
    virtual void reseedFromTimer() = 0;
    // 0 <= r < 1 in single precision; 1 must never come back.
    virtual float nextUniform() = 0;
};

// What the host's event processing reports back to a pick waiting in it.
enum class HostState { running, ending };

class EventProcessor {
public:
    virtual ~EventProcessor() = default;
    // Handles every pending window event and returns. Returns ending when the program is
    // ending, so that the pick gives up instead of starting another attempt.
    virtual HostState processPendingEvents() = 0;
};

// How the deviation of a row is formed.
enum class Arithmetic {
    shareOfSix,       // double: abs(count / 6 - expectation) * r
    realDeviation,    // double: abs(statistic - expectation) * r
    integerDeviation, // 16-bit abs(statistic - expectation), then single: * r
};

struct AcceptanceTest {
    const char* name;
    std::int16_t (*statistic)(const Ticket&);
    Arithmetic arithmetic;
    double expectation;
    double limit;
};

// The filter, in evaluation order. The large row expects 18/33 on purpose, though 15 of the 33
// reds count as large: the shape of the accepted tickets depends on it.
inline constexpr std::array<AcceptanceTest, 8> acceptanceTable{{
    {"odd", countOdd, Arithmetic::shareOfSix, 17.0 / 33.0, 0.05},
    {"large", countLarge, Arithmetic::shareOfSix, 18.0 / 33.0, 0.05},
    {"prime", countPrime, Arithmetic::shareOfSix, 12.0 / 33.0, 0.05},
    {"ac", acValue, Arithmetic::realDeviation, 7.4, 0.5},
    {"total", sumValue, Arithmetic::integerDeviation, 102, 20},
    {"tail", tailSum, Arithmetic::realDeviation, 25.64, 3},
    {"span", spanValue, Arithmetic::realDeviation, 24.38, 2},
    {"distribution", zoneCode, Arithmetic::integerDeviation, 222, 50},
}};

// True when the scaled deviation of the statistic is at most the row's limit. Throws when r is not
// in [0, 1) or a step gives no finite number.
bool passes(const AcceptanceTest& test, std::int16_t statistic, float r);

// Ball index for a random value: the integer part of r * count, plus 1, with the product formed
// exactly from r's single-precision value. Throws when r is not in [0, 1).
std::int16_t ballIndex(float r, std::int16_t count);

// The eight lines of the statistics box; each but the last ends in CR LF.
inline constexpr int statisticsLineCount = 8;
std::array<std::string, statisticsLineCount> statisticsLines(const PickStatistics& statistics);

enum class PickOutcome {
    accepted,  // a ticket passed; the board, txtSelect and txtData show it
    busy,      // a pick was already running; nothing was done
    abandoned, // the program is ending; the pick stopped before its next attempt
};

// Runs one machine pick. Whatever way it leaves, busy is false again afterwards (unless it
// found another pick running). Errors propagate to the caller.
PickOutcome pickTicket(SelectionState& state, RandomSource& random, EventProcessor& events,
                       TextBox& txtData);

} // namespace kestrune
