// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "machine_pick.h"

#include <cmath>
#include <stdexcept>

namespace kestrune {

namespace {

// Clears busy however the pick leaves, so the machine-pick button keeps working after an error.
class BusyGuard {
public:
    explicit BusyGuard(SelectionState& state) : state_(state) { state_.setBusy(true); }
    ~BusyGuard() { state_.setBusy(false); }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    SelectionState& state_;
};

float drawValue(RandomSource& random) {
    random.reseedFromTimer();
    return random.nextUniform();
}

void checkFinite(double value, const char* step) {
    if (!std::isfinite(value)) {
        throw std::range_error(std::string("floating-point fault in ") + step);
    }
}

void checkUnitInterval(float r) {
    if (!(r >= 0.0f && r < 1.0f)) {
        throw std::range_error("random value " + std::to_string(r) + " outside [0, 1)");
    }
}

// Draws one ticket: six distinct reds (a draw that hits a marked ball is repeated) and a blue.
void drawTicket(SelectionState& state, RandomSource& random) {
    std::int16_t reds = 0;
    while (reds != 6) {
        const std::int16_t index = ballIndex(drawValue(random), redBallCount);
        if (!state.redMarked(index)) {
            state.markRed(index);
            reds = checked::add(reds, 1);
        }
    }
    state.markBlue(ballIndex(drawValue(random), blueBallCount));
}

// Runs the filter rows in order; returns false at the first rejecting row, whose successors
// draw no random value.
bool passesFilter(const Ticket& ticket, RandomSource& random) {
    for (const AcceptanceTest& test : acceptanceTable) {
        const float r = drawValue(random);
        if (!passes(test, test.statistic(ticket), r)) {
            return false;
        }
    }
    return true;
}

void writeStatistics(const Ticket& ticket, TextBox& txtData) {
    std::string text;
    for (const std::string& line : statisticsLines(computeStatistics(ticket))) {
        text += line;
        txtData.setText(text);
    }
}

} // namespace

bool passes(const AcceptanceTest& test, std::int16_t statistic, float r) {
    // A value outside [0, 1) is a broken source: a negative or NaN factor would let any ticket
    // through, so it is refused here as the ball index refuses it.
    checkUnitInterval(r);
    switch (test.arithmetic) {
    case Arithmetic::shareOfSix: {
        const double scaled =
            std::abs(static_cast<double>(statistic) / 6.0 - test.expectation) * double{r};
        checkFinite(scaled, test.name);
        return !(scaled > test.limit);
    }
    case Arithmetic::realDeviation: {
        const double scaled =
            std::abs(static_cast<double>(statistic) - test.expectation) * double{r};
        checkFinite(scaled, test.name);
        return !(scaled > test.limit);
    }
    case Arithmetic::integerDeviation: {
        const auto expectation = static_cast<std::int16_t>(test.expectation);
        const std::int16_t deviation = checked::abs(checked::sub(statistic, expectation));
        const float scaled = static_cast<float>(deviation) * r;
        checkFinite(scaled, test.name);
        return !(scaled > static_cast<float>(test.limit));
    }
    }
    throw std::logic_error("unknown arithmetic in acceptance row");
}

std::int16_t ballIndex(float r, std::int16_t count) {
    checkUnitInterval(r);
    // A float times a number below 64 is exact in double; rounding the product to float could
    // turn the largest r below 1 into count + 1.
    // r is not negative, so truncation is the integer part.
    const double product = double{r} * count;
    return checked::add(static_cast<std::int16_t>(product), 1);
}

std::array<std::string, statisticsLineCount> statisticsLines(const PickStatistics& s) {
    using std::to_string;
    const std::string end = "\r\n";
    return {
        "奇偶比：" + to_string(s.odd) + ":" + to_string(s.even) + end,
        "大小比：" + to_string(s.large) + ":" + to_string(s.small) + end,
        "质合比：" + to_string(s.prime) + ":" + to_string(s.composite) + end,
        "AC值：" + to_string(s.ac) + end,
        "总和：" + to_string(s.total) + end,
        "尾和：" + to_string(s.tail) + end,
        "跨距：" + to_string(s.span) + end,
        "三段分布：" + to_string(s.distribution),
    };
}

PickOutcome pickTicket(SelectionState& state, RandomSource& random, EventProcessor& events,
                       TextBox& txtData) {
    if (state.busy()) {
        return PickOutcome::busy;
    }
    const BusyGuard guard(state);
    for (;;) {
        if (events.processPendingEvents() == HostState::ending) {
            return PickOutcome::abandoned;
        }
        state.resetBoard();
        drawTicket(state, random);
        // The reds reach ticketNumbers ascending only through this round trip of the text.
        state.composeSelectionText();
        state.parseSelectionText();
        if (passesFilter(state.ticketNumbers(), random)) {
            writeStatistics(state.ticketNumbers(), txtData);
            return PickOutcome::accepted;
        }
    }
}

} // namespace kestrune
