#pragma once

// Hand-written fakes of what the engine needs from its host; each records what it was asked.

#include "machine_pick.h"
#include "selection_state.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrune::testing {

struct BoardCall {
    enum class Kind { resetLabel, showPicture } kind;
    BallColour colour;
    std::int16_t n;
    BallPicture picture = BallPicture::gray;

    friend bool operator==(const BoardCall&, const BoardCall&) = default;
};

class RecordingBoard final : public BoardView {
public:
    void resetBallLabel(BallColour colour, std::int16_t n) override {
        calls.push_back({BoardCall::Kind::resetLabel, colour, n});
    }
    void showBallPicture(BallColour colour, std::int16_t n, BallPicture picture) override {
        if (failOnShow) {
            throw std::runtime_error("the board refused a picture");
        }
        calls.push_back({BoardCall::Kind::showPicture, colour, n, picture});
    }

    std::vector<BoardCall> calls;
    bool failOnShow = false;
};

class RecordingTextBox final : public TextBox {
public:
    void setText(const std::string& text) override { writes.push_back(text); }
    std::string text() const { return writes.empty() ? std::string() : writes.back(); }

    std::vector<std::string> writes;
};

// Hands out a fixed script of values and logs every call, so a test can check that each value
// was directly preceded by a reseed. Running out of script is a test failure.
class ScriptedRandomSource final : public RandomSource {
public:
    explicit ScriptedRandomSource(std::vector<float> script = {})
        : values(script.begin(), script.end()) {}

    void reseedFromTimer() override { log.push_back('s'); }
    float nextUniform() override {
        log.push_back('v');
        if (values.empty()) {
            throw std::logic_error("scripted random source ran out of values");
        }
        const float r = values.front();
        values.pop_front();
        ++drawn;
        return r;
    }

    std::deque<float> values;
    std::string log;
    int drawn = 0;
};

class ScriptedEvents final : public EventProcessor {
public:
    HostState processPendingEvents() override {
        ++calls;
        if (onProcess) {
            onProcess(calls);
        }
        return calls > endAfter ? HostState::ending : HostState::running;
    }

    int calls = 0;
    int endAfter = 1 << 30;
    std::function<void(int)> onProcess;
};

// The value that makes ballIndex pick ball n out of count: the middle of its interval.
inline float valueFor(int n, int count) {
    return (static_cast<float>(n) - 0.5f) / count;
}

} // namespace kestrune::testing
