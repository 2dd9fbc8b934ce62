// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The real random source of the machine pick. The pick reseeds before every single value, so a
// seed taken from the clock alone would repeat a value for as long as the clock stands still
// (and a red draw could loop on one marked ball for a whole clock tick). Instead the clock is
// mixed into the running state of SplitMix64: with a frozen clock the values are plain
// SplitMix64, with a moving clock every new reading moves the stream somewhere else.

#include "machine_pick.h"

#include <cstdint>
#include <functional>

namespace kestrune {

class TimerRandomSource final : public RandomSource {
public:
    using Clock = std::function<std::uint64_t()>;

    // highResolutionTicks, and a seed from the system's entropy source.
    TimerRandomSource();
    TimerRandomSource(Clock clock, std::uint64_t seed);

    void reseedFromTimer() override;
    float nextUniform() override;

    // The processor's time-stamp counter where there is one (a few cycles to read), else the
    // steady clock in nanoseconds.
    static std::uint64_t highResolutionTicks();

private:
    Clock clock_;
    std::uint64_t state_;
    std::uint64_t lastReading_ = 0;
};

} // namespace kestrune
