// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Checked building blocks of the engine: 16-bit arithmetic that raises on overflow and arrays
// addressed from a first position other than 0 that raise on a bad position. With valid
// tickets neither ever fires; they turn a logic fault into an error instead of a wrong ticket.

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace kestrune {

namespace checked {

inline std::int16_t narrow(int value, const char* what) {
    if (value < INT16_MIN || value > INT16_MAX) {
        throw std::overflow_error(std::string("16-bit overflow in ") + what + ": " +
                                  std::to_string(value));
    }
    return static_cast<std::int16_t>(value);
}

inline std::int16_t add(std::int16_t a, std::int16_t b) {
    return narrow(int{a} + int{b}, "sum");
}
inline std::int16_t sub(std::int16_t a, std::int16_t b) {
    return narrow(int{a} - int{b}, "difference");
}
inline std::int16_t mul(std::int16_t a, std::int16_t b) {
    return narrow(int{a} * int{b}, "product");
}
inline std::int16_t abs(std::int16_t a) {
    return narrow(a < 0 ? -int{a} : int{a}, "abs");
}

} // namespace checked

// A fixed-size array whose valid positions are First..Last; there is no position 0 unless
// First is 0. Every access is checked.
template <typename T, int First, int Last> class CheckedArray {
    static_assert(First <= Last);

public:
    static constexpr int first = First;
    static constexpr int last = Last;
    static constexpr std::size_t size = static_cast<std::size_t>(Last - First + 1);

    constexpr CheckedArray() : items_{} {}

    T& operator[](int position) { return items_[offset(position)]; }
    const T& operator[](int position) const { return items_[offset(position)]; }

    void fill(const T& value) { items_.fill(value); }
    friend bool operator==(const CheckedArray&, const CheckedArray&) = default;

private:
    static std::size_t offset(int position) {
        if (position < First || position > Last) {
            throw std::out_of_range("position " + std::to_string(position) + " outside " +
                                    std::to_string(First) + ".." + std::to_string(Last));
        }
        return static_cast<std::size_t>(position - First);
    }

    std::array<T, size> items_;
};

} // namespace kestrune
