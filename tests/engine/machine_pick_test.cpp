// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakes.h"
#include "machine_pick.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace kestrune {
namespace {

using testing::BoardCall;
using testing::RecordingBoard;
using testing::RecordingTextBox;
using testing::ScriptedEvents;
using testing::ScriptedRandom;
using testing::valueFor;

// Values that draw reds 3, 7, 7 (repeated on a marked ball), 12, 19, 25, 31 and blue 8.
std::vector<float> drawOf03071219253108() {
    return {valueFor(3, 33),  valueFor(7, 33),  valueFor(7, 33),  valueFor(12, 33),
            valueFor(19, 33), valueFor(25, 33), valueFor(31, 33), valueFor(8, 16)};
}

std::vector<float> concat(std::vector<float> a, const std::vector<float>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class MachinePickTest : public ::testing::Test {
protected:
    PickOutcome pick() { return pickTicket(state, random, events, txtData); }
    void script(const std::vector<float>& values) { random.play(values); }

    RecordingBoard board;
    RecordingTextBox txtSelect;
    RecordingTextBox txtData;
    SelectionState state{board, txtSelect};
    ScriptedRandom random;
    ScriptedEvents events;
};

TEST_F(MachinePickTest, ScriptedDrawIsAcceptedWithItsStatisticsText) {
    script(concat(drawOf03071219253108(), std::vector<float>(8, 0.0f)));

    EXPECT_EQ(pick(), PickOutcome::accepted);

    EXPECT_EQ(state.selectionText(), "03 07 12 19 25 31 08");
    EXPECT_EQ(txtSelect.text(), "03 07 12 19 25 31 08");
    std::string sixteenReseedsBeforeValues;
    for (int i = 0; i < 16; ++i) {
        sixteenReseedsBeforeValues += "sv";
    }
    EXPECT_EQ(random.log, sixteenReseedsBeforeValues) << "16 reseeds, each directly before a value";
    EXPECT_EQ(events.calls, 1);
    EXPECT_FALSE(state.busy());

    const std::string expected = "奇偶比：5:1\r\n大小比：3:3\r\n质合比：4:2\r\nAC值：8\r\n"
                                 "总和：97\r\n尾和：27\r\n跨距：28\r\n三段分布：222";
    EXPECT_EQ(txtData.text(), expected);
    ASSERT_EQ(txtData.writes.size(), 8u) << "eight writes, each adding one line";
    EXPECT_EQ(txtData.writes[0], "奇偶比：5:1\r\n");
    for (std::size_t i = 1; i < 8; ++i) {
        EXPECT_TRUE(txtData.writes[i].starts_with(txtData.writes[i - 1])) << "write " << i;
    }

    for (const int n : {3, 7, 12, 19, 25, 31}) {
        EXPECT_TRUE(state.redMarked(static_cast<std::int16_t>(n)));
    }
    EXPECT_TRUE(state.blueMarked(8));
    const auto markedRed = std::count_if(board.calls.begin(), board.calls.end(), [](auto& c) {
        return c.picture == BallPicture::markedRed;
    });
    EXPECT_EQ(markedRed, 6) << "the repeated 7 is not marked again";
}

TEST_F(MachinePickTest, ABusyPickIsDroppedWithoutATrace) {
    state.setBusy(true);
    EXPECT_EQ(pick(), PickOutcome::busy);
    EXPECT_TRUE(board.calls.empty());
    EXPECT_TRUE(random.log.empty());
    EXPECT_TRUE(txtData.writes.empty());
    EXPECT_TRUE(txtSelect.writes.empty());
    EXPECT_EQ(events.calls, 0);
    EXPECT_TRUE(state.busy());
}

TEST_F(MachinePickTest, ASecondClickDuringEventProcessingIsDropped) {
    script(concat(drawOf03071219253108(), std::vector<float>(8, 0.0f)));
    PickOutcome nested = PickOutcome::accepted;
    events.onProcess = [&](int) { nested = pick(); };
    EXPECT_EQ(pick(), PickOutcome::accepted);
    EXPECT_EQ(nested, PickOutcome::busy);
}

TEST_F(MachinePickTest, ARejectionInRowKDrawsKFilterValuesThenStartsAFreshAttempt) {
    // 03 07 12 19 25 31 has odd 5, so row 1 rejects for any r above about 0.3.
    std::vector<float> script = drawOf03071219253108();
    script.push_back(0.9f);
    script = concat(script, drawOf03071219253108());
    script = concat(script, std::vector<float>(8, 0.0f));
    random.play(script);
    std::vector<std::size_t> boardCallsAtProcessing;
    events.onProcess = [&](int) { boardCallsAtProcessing.push_back(board.calls.size()); };

    EXPECT_EQ(pick(), PickOutcome::accepted);
    EXPECT_EQ(random.drawn, 8 + 1 + 8 + 8);
    ASSERT_EQ(events.calls, 2);
    // Second attempt: processing first, then all 98 reset calls before any mark.
    const std::size_t secondStart = boardCallsAtProcessing[1];
    ASSERT_GE(board.calls.size(), secondStart + 98);
    for (std::size_t i = secondStart; i < secondStart + 98; ++i) {
        const BoardCall& call = board.calls[i];
        EXPECT_TRUE(call.kind == BoardCall::Kind::resetLabel || call.picture == BallPicture::gray);
    }
}

// Tickets that fail exactly one row whatever r is above a threshold; r = 0.99 rejects there.
struct RowCase {
    const char* name;
    std::array<int, 6> reds;
    int rejectingRow;
};

void PrintTo(const RowCase& row, std::ostream* os) {
    *os << row.name;
}

class RejectingRow : public MachinePickTest, public ::testing::WithParamInterface<RowCase> {};

TEST_P(RejectingRow, DrawsExactlyThatManyFilterValues) {
    const RowCase& row = GetParam();
    random.play(testing::rejectedAtRow(row.reds, 1, row.rejectingRow));
    events.endAfter = 1; // the second attempt gives up at its event processing

    EXPECT_EQ(pick(), PickOutcome::abandoned);
    EXPECT_EQ(random.drawn, 7 + row.rejectingRow);
    EXPECT_EQ(random.valuesLeft(), 0u);
    EXPECT_TRUE(txtData.writes.empty()) << "a rejected ticket writes no statistics";
    EXPECT_FALSE(state.busy());
}

// Each ticket passes every row before its rejecting row whatever r is, and fails that row for
// r = 0.99.
INSTANTIATE_TEST_SUITE_P(Rows, RejectingRow,
                         ::testing::Values(RowCase{"odd", {1, 2, 3, 4, 5, 7}, 1},
                                           RowCase{"large", {1, 2, 3, 4, 5, 6}, 2},
                                           RowCase{"prime", {1, 2, 3, 5, 6, 8}, 3},
                                           RowCase{"ac", {1, 2, 4, 6, 15, 25}, 4},
                                           RowCase{"total", {1, 2, 4, 6, 9, 15}, 5},
                                           RowCase{"tail", {1, 2, 15, 20, 25, 26}, 6},
                                           RowCase{"span", {1, 2, 6, 15, 28, 33}, 7},
                                           RowCase{"distribution", {1, 2, 10, 18, 25, 27}, 8}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AcceptanceTable, ADeviationEqualToTheLimitPasses) {
    const AcceptanceTest& total = acceptanceTable[4];
    EXPECT_TRUE(passes(total, 142, 0.5f)) << "|142 - 102| * 0.5 = 20";
    EXPECT_TRUE(passes(total, 62, 0.5f));
    EXPECT_FALSE(passes(total, 142, std::nextafter(0.5f, 1.0f)));
    EXPECT_TRUE(passes(total, 122, 0.999f)) << "a deviation at the limit passes whatever r is";
    EXPECT_FALSE(passes(total, 123, 0.999f));
}

TEST(AcceptanceTable, RowsPassWhateverRIsInsideTheirBands) {
    const float nearlyOne = std::nextafter(1.0f, 0.0f);
    const std::pair<int, std::vector<int>> bands[] = {
        {0, {3}},
        {1, {3}},
        {2, {2}},
        {3, {7}},
        {5, {23, 24, 28}},
        {6, {23, 26}},
        {7, {172, 222, 272}},
    };
    for (const auto& [row, values] : bands) {
        for (const int v : values) {
            EXPECT_TRUE(passes(acceptanceTable[static_cast<std::size_t>(row)],
                               static_cast<std::int16_t>(v), nearlyOne))
                << acceptanceTable[static_cast<std::size_t>(row)].name << " " << v;
        }
    }
    EXPECT_FALSE(passes(acceptanceTable[5], 22, nearlyOne)) << "tail 22 is 3.64 off";
    EXPECT_FALSE(passes(acceptanceTable[6], 27, nearlyOne)) << "span 27 is 2.62 off";
    EXPECT_FALSE(passes(acceptanceTable[1], 2, nearlyOne));
}

TEST(AcceptanceTable, SixteenBitOverflowInAnIntegerRowIsAnError) {
    EXPECT_THROW(passes(acceptanceTable[4], -32700, 0.5f), std::overflow_error);
}

// One row of the filter at the edge of its limit: the threshold is the r at which the scaled
// deviation equals the limit, worked out by hand from the expectation and the limit.
struct LimitEdge {
    const char* name;
    std::size_t row;
    int statistic;
    double threshold; // limit / |statistic - expectation|
};

void PrintTo(const LimitEdge& edge, std::ostream* os) {
    *os << edge.name;
}

class FilterRowEdge : public ::testing::TestWithParam<LimitEdge> {};

// The largest float not above the threshold passes and the next float rejects: one case on each
// side of a row's expectation, and exact equality where a float reaches it. For the double rows
// at least one case would move by a float if the row were computed in single precision.
TEST_P(FilterRowEdge, PassesUpToTheThresholdAndRejectsTheNextFloat) {
    const LimitEdge& edge = GetParam();
    const AcceptanceTest& row = acceptanceTable.at(edge.row);
    float atThreshold = static_cast<float>(edge.threshold);
    if (atThreshold > edge.threshold) {
        atThreshold = std::nextafter(atThreshold, 0.0f);
    }
    const auto statistic = static_cast<std::int16_t>(edge.statistic);
    EXPECT_TRUE(passes(row, statistic, atThreshold)) << row.name;
    EXPECT_FALSE(passes(row, statistic, std::nextafter(atThreshold, 1.0f))) << row.name;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FilterRowEdge,
    ::testing::Values(
        // 2/6 - 17/33 = -6/33: 0.05 * 33/6
        LimitEdge{"odd_two", 0, 2, 0.275},
        // 4/6 - 17/33 = 5/33: 0.05 * 33/5
        LimitEdge{"odd_four", 0, 4, 0.33},
        // 2/6 - 18/33 = -7/33: 0.05 * 33/7
        LimitEdge{"large_two", 1, 2, 0.2357142857},
        // 4/6 - 18/33 = 4/33: 0.05 * 33/4
        LimitEdge{"large_four", 1, 4, 0.4125},
        // 1/6 - 12/33 = -13/66: 0.05 * 66/13
        LimitEdge{"prime_one", 2, 1, 0.2538461538},
        // 3/6 - 12/33 = 9/66: 0.05 * 66/9
        LimitEdge{"prime_three", 2, 3, 0.3666666667},
        // 6 - 7.4 = -1.4: 0.5 / 1.4
        LimitEdge{"ac_six", 3, 6, 0.3571428571},
        // 10 - 7.4 = 2.6: 0.5 / 2.6
        LimitEdge{"ac_ten", 3, 10, 0.1923076923},
        // 1 - 7.4 = -6.4: 0.5 / 6.4, a float at which the product is exactly the limit
        LimitEdge{"ac_one", 3, 1, 0.078125},
        // 62 - 102 = -40: 20 / 40, the limit reached exactly
        LimitEdge{"total_62", 4, 62, 0.5},
        // 22 - 25.64 = -3.64: 3 / 3.64
        LimitEdge{"tail_22", 5, 22, 0.8241758242},
        // 30 - 25.64 = 4.36: 3 / 4.36
        LimitEdge{"tail_30", 5, 30, 0.6880733945},
        // 41 - 25.64 = 15.36: 3 / 15.36, exactly the limit again
        LimitEdge{"tail_41", 5, 41, 0.1953125},
        // 20 - 24.38 = -4.38: 2 / 4.38
        LimitEdge{"span_20", 6, 20, 0.4566210046},
        // 27 - 24.38 = 2.62: 2 / 2.62
        LimitEdge{"span_27", 6, 27, 0.7633587786},
        // 123 - 222 = -99: 50 / 99
        LimitEdge{"distribution_123", 7, 123, 0.5050505051},
        // 312 - 222 = 90: 50 / 90
        LimitEdge{"distribution_312", 7, 312, 0.5555555556}),
    [](const auto& info) { return std::string(info.param.name); });

// The integer rows scale in single precision: the exact product lies just above the limit but
// rounds to it, so the row passes where double arithmetic would reject.
TEST(AcceptanceTable, IntegerRowsRoundTheProductToSinglePrecision) {
    // |162 - 102| * float(1/3) = 20.0000006, which is 20.0f
    EXPECT_TRUE(passes(acceptanceTable[4], 162, 1.0f / 3.0f));
    // |33 - 222| * float(50/189) = 50.0000008, which is 50.0f
    EXPECT_TRUE(passes(acceptanceTable[7], 33, static_cast<float>(50.0 / 189.0)));
}

TEST(AcceptanceTable, ARandomValueOutsideTheUnitIntervalIsAnErrorInEveryRow) {
    const float broken[] = {std::nanf(""), INFINITY, -INFINITY, -0.25f, 1.0f};
    // At the expectation of the integer rows the deviation is 0, and 0 * infinity is no number.
    const std::int16_t statistics[] = {3, 3, 2, 7, 102, 25, 24, 222};
    for (std::size_t row = 0; row < acceptanceTable.size(); ++row) {
        for (const float r : broken) {
            EXPECT_THROW(passes(acceptanceTable[row], statistics[row], r), std::range_error)
                << acceptanceTable[row].name << " r = " << r;
        }
    }
}

// r * 33 rounded to single precision reaches the next whole number for these floats; formed
// exactly it stays below, and the ball is the lower one.
TEST(BallIndex, TheProductIsFormedExactly) {
    EXPECT_EQ(ballIndex(0x1.07c1fp-1f, 33), 17) << "r * 33 = 16.9999995";
    EXPECT_EQ(ballIndex(0x1.e0f83ep-1f, 33), 31) << "r * 33 = 30.9999999";
}

TEST(BallIndex, TheFloatJustBelowOneGivesTheLastBallNeverOneMore) {
    const float nearlyOne = std::nextafter(1.0f, 0.0f);
    EXPECT_EQ(ballIndex(nearlyOne, 33), 33);
    EXPECT_EQ(ballIndex(nearlyOne, 16), 16);
    EXPECT_EQ(ballIndex(0.0f, 33), 1);
    EXPECT_EQ(ballIndex(1.0f / 33, 33), 2);
}

TEST(BallIndex, ValuesOutsideTheUnitIntervalAreErrors) {
    EXPECT_THROW(ballIndex(1.0f, 33), std::range_error);
    EXPECT_THROW(ballIndex(-0.1f, 33), std::range_error);
    EXPECT_THROW(ballIndex(std::nanf(""), 16), std::range_error);
}

TEST(StatisticsText, PrintsZoneCodesWithoutPadding) {
    PickStatistics s;
    s.distribution = 33;
    EXPECT_EQ(statisticsLines(s)[7], "三段分布：33");
    s.distribution = 6;
    EXPECT_EQ(statisticsLines(s)[7], "三段分布：6");
}

TEST_F(MachinePickTest, AnErrorLeavesThePickWithBusyCleared) {
    random.play({1.0f}); // a broken source: 1 would make red ball 34
    EXPECT_THROW(pick(), std::range_error);
    EXPECT_FALSE(state.busy()) << "the machine-pick button keeps working";

    script(concat(drawOf03071219253108(), std::vector<float>(8, 0.0f)));
    EXPECT_EQ(pick(), PickOutcome::accepted);
}

TEST_F(MachinePickTest, TheProgramEndingAbandonsThePickBeforeAnotherAttempt) {
    events.endAfter = 0;
    EXPECT_EQ(pick(), PickOutcome::abandoned);
    EXPECT_TRUE(board.calls.empty());
    EXPECT_EQ(random.drawn, 0);
    EXPECT_FALSE(state.busy());
}

TEST_F(MachinePickTest, ThePreviousStatisticsStayUntilANewTicketIsAccepted) {
    std::vector<float> script = concat(drawOf03071219253108(), std::vector<float>(8, 0.0f));
    script = concat(script, drawOf03071219253108());
    script.push_back(0.9f); // rejected
    random.play(script);
    EXPECT_EQ(pick(), PickOutcome::accepted);
    const auto writes = txtData.writes.size();

    events.endAfter = events.calls + 1; // the second pick ends after one attempt
    EXPECT_EQ(pick(), PickOutcome::abandoned);
    EXPECT_EQ(txtData.writes.size(), writes);
}

} // namespace
} // namespace kestrune
