// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pick_statistics.h"

namespace kestrune {

namespace {

constexpr int firstRed = 1;
constexpr int lastRed = 6;
constexpr std::int16_t redsPerTicket = 6;

template <typename Predicate> std::int16_t countReds(const Ticket& ticket, Predicate predicate) {
    std::int16_t count = 0;
    for (int i = firstRed; i <= lastRed; ++i) {
        if (predicate(ticket[i])) {
            count = checked::add(count, 1);
        }
    }
    return count;
}

// The largest whole number whose square is at most n; negative numbers have none.
int integerSquareRoot(std::int16_t n) {
    if (n < 0) {
        return -1;
    }
    int root = 0;
    while ((root + 1) * (root + 1) <= n) {
        ++root;
    }
    return root;
}

} // namespace

bool isOdd(std::int16_t n) {
    return n % 2 != 0;
}

bool isPrime(std::int16_t n) {
    const int limit = integerSquareRoot(n);
    if (limit < 0) {
        return false;
    }
    std::int16_t d = 2;
    while (d <= limit) {
        if (n % d == 0) {
            break;
        }
        d = checked::add(d, 1);
    }
    return limit < d;
}

// The last character of twoDigitText(n), read back as a number, without building the text.
std::int16_t lastDigit(std::int16_t n) {
    const int digit = n % 10;
    return static_cast<std::int16_t>(digit < 0 ? -digit : digit);
}

std::int16_t countOdd(const Ticket& ticket) {
    return countReds(ticket, isOdd);
}
std::int16_t countEven(const Ticket& ticket) {
    return checked::sub(redsPerTicket, countOdd(ticket));
}

std::int16_t countLarge(const Ticket& ticket) {
    return countReds(ticket, [](std::int16_t n) { return lastDigit(n) > 4; });
}
std::int16_t countSmall(const Ticket& ticket) {
    return checked::sub(redsPerTicket, countLarge(ticket));
}

std::int16_t countPrime(const Ticket& ticket) {
    return countReds(ticket, isPrime);
}
std::int16_t countComposite(const Ticket& ticket) {
    return checked::sub(redsPerTicket, countPrime(ticket));
}

// Ten minus the number of repeated pairwise differences, that is the number of distinct
// differences minus five. A repeat is struck out by setting it to 0.
std::int16_t acValue(const Ticket& ticket) {
    constexpr int differenceCount = 15;
    CheckedArray<std::int16_t, 1, differenceCount> differences;
    int next = 1;
    for (int i = firstRed; i < lastRed; ++i) {
        for (int j = i + 1; j <= lastRed; ++j) {
            differences[next++] = checked::sub(ticket[j], ticket[i]);
        }
    }
    for (int i = 1; i < differenceCount; ++i) {
        for (int j = i + 1; j <= differenceCount; ++j) {
            if (differences[i] == differences[j]) {
                differences[j] = 0;
            }
        }
    }
    std::int16_t result = 10;
    for (int i = 1; i <= differenceCount; ++i) {
        if (differences[i] == 0) {
            result = checked::sub(result, 1);
        }
    }
    return result;
}

std::int16_t sumValue(const Ticket& ticket) {
    std::int16_t total = 0;
    for (int i = firstRed; i <= lastRed; ++i) {
        total = checked::add(total, ticket[i]);
    }
    return total;
}

std::int16_t tailSum(const Ticket& ticket) {
    std::int16_t total = 0;
    for (int i = firstRed; i <= lastRed; ++i) {
        total = checked::add(total, lastDigit(ticket[i]));
    }
    return total;
}

// The reds arrive ascending, so the span needs no search for the extremes.
std::int16_t spanValue(const Ticket& ticket) {
    return checked::sub(ticket[lastRed], ticket[firstRed]);
}

std::int16_t zoneCode(const Ticket& ticket) {
    const std::int16_t low = countReds(ticket, [](std::int16_t n) { return n <= 11; });
    const std::int16_t middle = countReds(ticket, [](std::int16_t n) { return n > 11 && n <= 22; });
    const std::int16_t high = countReds(ticket, [](std::int16_t n) { return n > 22; });
    return checked::add(checked::add(checked::mul(100, low), checked::mul(10, middle)), high);
}

PickStatistics computeStatistics(const Ticket& ticket) {
    return PickStatistics{
        .odd = countOdd(ticket),
        .even = countEven(ticket),
        .large = countLarge(ticket),
        .small = countSmall(ticket),
        .prime = countPrime(ticket),
        .composite = countComposite(ticket),
        .ac = acValue(ticket),
        .total = sumValue(ticket),
        .tail = tailSum(ticket),
        .span = spanValue(ticket),
        .distribution = zoneCode(ticket),
    };
}

} // namespace kestrune
