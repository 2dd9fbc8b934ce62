// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The random source of the tests and benchmarks: it plays a script of values. Qt-free, so that
// the engine tests share it with the widget tests.

#include "machine_pick.h"

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kestrune::testing {

// The value that makes a pick draw ball n out of count: the middle of its interval.
inline float valueFor(int n, int count) {
    return (static_cast<float>(n) - 0.5f) / static_cast<float>(count);
}

// Hands out the values of its script and logs every call ('s' a reseed, 'v' a value), so that a
// test can check what came right before each value. Past the script's end it throws, so that a
// test drawing more than it meant to fails; made with AtEnd::repeat it starts again from the
// top. onValue runs before every value with the number of values handed out so far.
class ScriptedRandom final : public RandomSource {
public:
    enum class AtEnd { fail, repeat };

    explicit ScriptedRandom(std::vector<float> script = {}, AtEnd atEnd = AtEnd::fail)
        : script_(std::move(script)), atEnd_(atEnd) {}

    // A new script, played from its start.
    void play(std::vector<float> script) {
        script_ = std::move(script);
        next_ = 0;
    }
    std::size_t valuesLeft() const { return next_ < script_.size() ? script_.size() - next_ : 0; }

    void reseedFromTimer() override {
        ++reseeds;
        log.push_back('s');
    }
    float nextUniform() override {
        log.push_back('v');
        if (onValue) {
            onValue(drawn);
        }
        if (next_ >= script_.size() && atEnd_ == AtEnd::repeat) {
            next_ = 0;
        }
        if (next_ >= script_.size()) {
            throw std::logic_error("the scripted random values ran out");
        }
        ++drawn;
        return script_[next_++];
    }

    std::string log;
    int reseeds = 0;
    int drawn = 0;
    std::function<void(int)> onValue;

private:
    std::vector<float> script_;
    AtEnd atEnd_;
    std::size_t next_ = 0;
};

// The values that draw the given reds (as drawn, a red drawn again included) and blue.
template <typename Reds> std::vector<float> ballValues(const Reds& reds, int blue) {
    std::vector<float> script;
    for (const int n : reds) {
        script.push_back(valueFor(n, 33));
    }
    script.push_back(valueFor(blue, 16));
    return script;
}

// The values that make a pick accept the given reds and blue at its first attempt: the balls'
// values, then eight zeros, which pass every row of the filter.
inline std::vector<float> acceptedAtOnce(std::initializer_list<int> reds, int blue) {
    std::vector<float> script = ballValues(reds, blue);
    // One at a time: GCC 14 takes an insert of eight values here, inlined into a constructor,
    // for a write out of bounds (-Warray-bounds).
    for (int row = 0; row < 8; ++row) {
        script.push_back(0.0f);
    }
    return script;
}

// The values of an attempt that draws the given reds and blue and is rejected by row `row` of
// the filter (1 to 8): the balls' values, then 0.99 for each row up to that one. The rows before
// it must pass the ticket even at 0.99; the attempt draws nothing more.
template <typename Reds> std::vector<float> rejectedAtRow(const Reds& reds, int blue, int row) {
    std::vector<float> script = ballValues(reds, blue);
    script.insert(script.end(), static_cast<std::size_t>(row), 0.99f);
    return script;
}

inline std::vector<float> rejectedAtRow(std::initializer_list<int> reds, int blue, int row) {
    return rejectedAtRow<std::initializer_list<int>>(reds, blue, row);
}

} // namespace kestrune::testing
