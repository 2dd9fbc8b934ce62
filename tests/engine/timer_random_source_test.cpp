// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "machine_pick.h"
#include "timer_random_source.h"

#include <array>
#include <gtest/gtest.h>
#include <set>

namespace kestrune {
namespace {

// Pearson's chi-square of the red indices drawn the way the pick draws them.
double redIndexChiSquare(RandomSource& source, int draws) {
    std::array<int, 34> counts{};
    for (int i = 0; i < draws; ++i) {
        source.reseedFromTimer();
        ++counts[static_cast<std::size_t>(ballIndex(source.nextUniform(), 33))];
    }
    const double expected = draws / 33.0;
    double chiSquare = 0;
    for (int n = 1; n <= 33; ++n) {
        const double d = counts[static_cast<std::size_t>(n)] - expected;
        chiSquare += d * d / expected;
    }
    return chiSquare;
}

// 32 degrees of freedom: 62.5 is the 0.1 % point.
constexpr double chiSquareBound = 62.5;
constexpr int draws = 330'000;

// What a seed taken from the clock alone does: the same value for as long as the clock stands.
class ClockOnlySource final : public RandomSource {
public:
    void reseedFromTimer() override { state_ = 12345; }
    float nextUniform() override {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<float>(state_ >> 40) * 0x1p-24f;
    }

private:
    std::uint64_t state_ = 0;
};

TEST(TimerRandomSource, AFrozenClockStillGivesChangingUniformValues) {
    TimerRandomSource source([] { return std::uint64_t{42}; }, 7);
    std::set<float> firstValues;
    for (int i = 0; i < 100; ++i) {
        source.reseedFromTimer();
        firstValues.insert(source.nextUniform());
    }
    EXPECT_GT(firstValues.size(), 95u);
    EXPECT_LT(redIndexChiSquare(source, draws), chiSquareBound);
}

TEST(TimerRandomSource, AMovingClockGivesUniformValues) {
    std::uint64_t now = 1'000'000;
    TimerRandomSource source([&now] { return now += 37; }, 99);
    EXPECT_LT(redIndexChiSquare(source, draws), chiSquareBound);
}

TEST(TimerRandomSource, TheBoundCatchesASourceThatRepeatsOnAFrozenClock) {
    ClockOnlySource repeating;
    EXPECT_GT(redIndexChiSquare(repeating, draws), chiSquareBound);
}

TEST(TimerRandomSource, ValuesStayInsideTheUnitInterval) {
    TimerRandomSource source;
    for (int i = 0; i < 100'000; ++i) {
        source.reseedFromTimer();
        const float r = source.nextUniform();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
    }
}

} // namespace
} // namespace kestrune
