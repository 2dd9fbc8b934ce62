// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The statistics by which a machine pick judges the six reds of a ticket. Each is a pure
// function of positions 1 to 6 of the ticket, which hold distinct reds 1..33 in ascending order
// whenever the pick calls them; for other contents they give some value but never read outside
// positions 1..7. All arithmetic is 16-bit and checked.

#include "selection_state.h"

#include <cstdint>

namespace kestrune {

struct PickStatistics {
    std::int16_t odd = 0;
    std::int16_t even = 0;
    std::int16_t large = 0;
    std::int16_t small = 0;
    std::int16_t prime = 0;
    std::int16_t composite = 0;
    std::int16_t ac = 0;
    std::int16_t total = 0;
    std::int16_t tail = 0;
    std::int16_t span = 0;
    std::int16_t distribution = 0;

    friend bool operator==(const PickStatistics&, const PickStatistics&) = default;
};

bool isOdd(std::int16_t n);
// 1 counts as prime, as do 2 and 3: no divisor from 2 up to the square root is found.
bool isPrime(std::int16_t n);
// The last character of the two-digit text of n, as a number.
std::int16_t lastDigit(std::int16_t n);

std::int16_t countOdd(const Ticket& ticket);
std::int16_t countEven(const Ticket& ticket);
std::int16_t countLarge(const Ticket& ticket);
std::int16_t countSmall(const Ticket& ticket);
std::int16_t countPrime(const Ticket& ticket);
std::int16_t countComposite(const Ticket& ticket);
std::int16_t acValue(const Ticket& ticket);
std::int16_t sumValue(const Ticket& ticket);
std::int16_t tailSum(const Ticket& ticket);
std::int16_t spanValue(const Ticket& ticket);
std::int16_t zoneCode(const Ticket& ticket);

PickStatistics computeStatistics(const Ticket& ticket);

} // namespace kestrune
