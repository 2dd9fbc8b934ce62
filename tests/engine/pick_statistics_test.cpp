// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pick_statistics.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace kestrune {
namespace {

Ticket ticketOf(std::array<int, 6> reds, int blue = 1) {
    Ticket ticket;
    for (int i = 1; i <= 6; ++i) {
        ticket[i] = static_cast<std::int16_t>(reds[static_cast<std::size_t>(i - 1)]);
    }
    ticket[7] = static_cast<std::int16_t>(blue);
    return ticket;
}

struct WorkedExample {
    const char* name;
    std::array<int, 6> reds;
    int blue;
    PickStatistics expected;
};

PickStatistics stats(int odd, int large, int prime, int ac, int total, int tail, int span,
                     int distribution) {
    auto s16 = [](int v) { return static_cast<std::int16_t>(v); };
    return {s16(odd), s16(6 - odd), s16(large), s16(6 - large), s16(prime),       s16(6 - prime),
            s16(ac),  s16(total),   s16(tail),  s16(span),      s16(distribution)};
}

void PrintTo(const WorkedExample& example, std::ostream* os) {
    *os << example.name;
}

class WorkedExamples : public ::testing::TestWithParam<WorkedExample> {};

TEST_P(WorkedExamples, GiveTheTabledStatistics) {
    const WorkedExample& example = GetParam();
    EXPECT_EQ(computeStatistics(ticketOf(example.reds, example.blue)), example.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tickets, WorkedExamples,
    ::testing::Values(
        WorkedExample{"mixed", {3, 9, 20, 24, 26, 32}, 10, stats(2, 2, 1, 6, 114, 24, 29, 213)},
        WorkedExample{"lowest", {1, 2, 3, 4, 5, 6}, 1, stats(3, 2, 4, 0, 21, 21, 5, 600)},
        WorkedExample{"highest", {28, 29, 30, 31, 32, 33}, 16, stats(3, 2, 2, 0, 183, 23, 5, 6)},
        WorkedExample{
            "one_is_prime", {1, 12, 23, 30, 31, 33}, 5, stats(4, 0, 3, 9, 130, 10, 32, 114)},
        WorkedExample{"step_five", {5, 10, 15, 20, 25, 30}, 8, stats(3, 3, 1, 0, 105, 15, 25, 222)},
        WorkedExample{
            "zone_edges", {11, 12, 22, 23, 24, 33}, 2, stats(3, 0, 2, 4, 125, 15, 22, 123)},
        WorkedExample{"no_low_zone", {12, 13, 14, 15, 16, 17}, 9, stats(3, 3, 2, 0, 87, 27, 5, 60)},
        WorkedExample{"all_distinct_differences",
                      {2, 4, 8, 16, 32, 33},
                      3,
                      stats(1, 2, 1, 10, 95, 25, 31, 312)}),
    [](const ::testing::TestParamInfo<WorkedExample>& info) {
        return std::string(info.param.name);
    });

TEST(PickStatistics, TheBlueNumberChangesNothing) {
    EXPECT_EQ(computeStatistics(ticketOf({3, 9, 20, 24, 26, 32}, 1)),
              computeStatistics(ticketOf({3, 9, 20, 24, 26, 32}, 16)));
}

TEST(PickStatistics, AcValueCountsATripleDifferenceTwice) {
    // Differences 6, 17, 21, 23, 29, 11, 15, 17, 23, 4, 6, 12, 2, 8, 6: 6 three times, 17 and
    // 23 twice, so four repeats and eleven distinct values.
    EXPECT_EQ(acValue(ticketOf({3, 9, 20, 24, 26, 32})), 6);
    EXPECT_EQ(acValue(ticketOf({1, 2, 3, 4, 5, 7})), 1);
}

TEST(PickStatistics, PrimesCountOneAndStopAtTheSquareRoot) {
    std::string primes;
    for (std::int16_t n = 1; n <= 33; ++n) {
        if (isPrime(n)) {
            primes += std::to_string(n) + ' ';
        }
    }
    EXPECT_EQ(primes, "1 2 3 5 7 11 13 17 19 23 29 31 ");
    EXPECT_FALSE(isPrime(4));
    EXPECT_FALSE(isPrime(9));
    EXPECT_FALSE(isPrime(25));
    EXPECT_TRUE(isOdd(27));
    EXPECT_FALSE(isPrime(27));
    EXPECT_TRUE(isOdd(33));
    EXPECT_FALSE(isPrime(33));
}

TEST(PickStatistics, LastDigitsDecideLargeAndTail) {
    const Ticket roundNumbers = ticketOf({1, 10, 11, 20, 21, 30});
    EXPECT_EQ(tailSum(roundNumbers), 3);
    EXPECT_EQ(countLarge(roundNumbers), 0);
    const Ticket nines = ticketOf({8, 9, 18, 19, 28, 29});
    EXPECT_EQ(tailSum(nines), 51);
    EXPECT_EQ(countLarge(nines), 6);
    EXPECT_EQ(countLarge(ticketOf({5, 15, 25, 10, 20, 30})), 3) << "5 counts as large";
}

TEST(PickStatistics, ZoneBoundariesAtElevenAndTwentyTwo) {
    EXPECT_EQ(zoneCode(ticketOf({11, 12, 22, 23, 24, 33})), 123);
    EXPECT_EQ(zoneCode(ticketOf({12, 13, 14, 28, 29, 30})), 33);
    EXPECT_EQ(zoneCode(ticketOf({1, 2, 3, 4, 5, 11})), 600);
}

TEST(PickStatistics, AResetTicketReadsOnlyItsOwnPositions) {
    EXPECT_NO_THROW(computeStatistics(Ticket{}));
}

TEST(PickStatistics, OverflowInASumIsAnError) {
    Ticket huge;
    huge.fill(32000);
    EXPECT_THROW(sumValue(huge), std::overflow_error);
}

// Walks every set of six distinct reds, in ascending order as the pick supplies them.
TEST(PickStatistics, AllSetsOfSixRedsGiveTheKnownHistogramAndMeans) {
    std::array<long, 11> acHistogram{};
    long sets = 0;
    double odd = 0, large = 0, prime = 0, total = 0, tail = 0, span = 0, distribution = 0;
    Ticket t;
    for (int a = 1; a <= 28; ++a)
        for (int b = a + 1; b <= 29; ++b)
            for (int c = b + 1; c <= 30; ++c)
                for (int d = c + 1; d <= 31; ++d)
                    for (int e = d + 1; e <= 32; ++e)
                        for (int f = e + 1; f <= 33; ++f) {
                            t = ticketOf({a, b, c, d, e, f});
                            const PickStatistics s = computeStatistics(t);
                            ++acHistogram[static_cast<std::size_t>(s.ac)];
                            ++sets;
                            odd += s.odd;
                            large += s.large;
                            prime += s.prime;
                            total += s.total;
                            tail += s.tail;
                            span += s.span;
                            distribution += s.distribution;
                        }
    ASSERT_EQ(sets, 1'107'568);
    const std::array<long, 11> expected{93,      437,     3'093,   9'642,   32'735, 68'694,
                                        184'858, 224'408, 339'540, 158'760, 85'308};
    EXPECT_EQ(acHistogram, expected);
    const double n = static_cast<double>(sets);
    EXPECT_NEAR(odd / n, 6.0 * 17 / 33, 1e-9);
    EXPECT_NEAR(large / n, 6.0 * 15 / 33, 1e-9);
    EXPECT_NEAR(prime / n, 6.0 * 12 / 33, 1e-9);
    EXPECT_NEAR(total / n, 102.0, 1e-9);
    EXPECT_NEAR(tail / n, 6.0 * 141 / 33, 1e-9);
    EXPECT_NEAR(span / n, 170.0 / 7, 1e-9);
    EXPECT_NEAR(distribution / n, 222.0, 1e-9);
}

} // namespace
} // namespace kestrune
