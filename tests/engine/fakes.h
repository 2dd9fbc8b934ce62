// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Hand-written fakes of what the engine needs from its host; each records what it was asked.
// The random source is the one all tests share (tests/support/scripted_random.h).

#include "machine_pick.h"
#include "scripted_random.h"
#include "selection_state.h"

#include <cstdint>
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

} // namespace kestrune::testing
