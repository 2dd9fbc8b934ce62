// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "timer_random_source.h"

#include <chrono>
#include <random>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace kestrune {

namespace {

constexpr std::uint64_t golden = 0x9E3779B97F4A7C15ULL;

// The SplitMix64 finaliser: a bijection of 64-bit words with good avalanche.
std::uint64_t mix64(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t steadyNanoseconds() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

std::uint64_t entropySeed() {
    std::random_device device;
    return (std::uint64_t{device()} << 32) ^ device() ^ steadyNanoseconds();
}

} // namespace

std::uint64_t TimerRandomSource::highResolutionTicks() {
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    return steadyNanoseconds();
#endif
}

TimerRandomSource::TimerRandomSource() : TimerRandomSource(highResolutionTicks, entropySeed()) {}

TimerRandomSource::TimerRandomSource(Clock clock, std::uint64_t seed)
    : clock_(std::move(clock)), state_(mix64(seed)) {}

void TimerRandomSource::reseedFromTimer() {
    const std::uint64_t reading = clock_();
    if (reading != lastReading_) {
        state_ += mix64(reading);
        lastReading_ = reading;
    }
}

// 24 random bits scaled by 2^-24: the largest value is the largest float below 1, and 1 itself
// cannot occur.
float TimerRandomSource::nextUniform() {
    state_ += golden;
    return static_cast<float>(mix64(state_) >> 40) * 0x1p-24f;
}

} // namespace kestrune
