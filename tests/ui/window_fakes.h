#pragma once

// What the window tests hand the windows instead of the real services: platform services that
// do nothing (window_support.h, shared with the benchmarks), and a random source that plays a
// script; and the main window made with them.

#include "help/frm_help.h"
#include "machine_pick.h"
#include "main/frm_main.h"
#include "platform/platform_services.h"
#include "window_support.h"

#include <QApplication>
#include <QScopeGuard>
#include <QTest>
#include <cstddef>
#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace kestrune::testing {

// The value that makes a pick draw ball n out of count: the middle of its interval.
inline float valueFor(int n, int count) {
    return (static_cast<float>(n) - 0.5f) / static_cast<float>(count);
}

// Hands out the values of a script. Past its end it starts again from the top, or, made with
// repeat false, throws, so that a test drawing more than it meant to fails. onValue runs before
// every value with the number of values handed out so far.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> script, bool repeat = true)
        : script_(std::move(script)), repeat_(repeat) {}

    void reseedFromTimer() override { ++reseeds; }
    float nextUniform() override {
        if (onValue) {
            onValue(drawn);
        }
        const auto index = static_cast<std::size_t>(drawn);
        if (script_.empty() || (!repeat_ && index >= script_.size())) {
            throw std::logic_error("the scripted random values ran out");
        }
        ++drawn;
        return script_[index % script_.size()];
    }

    int reseeds = 0;
    int drawn = 0;
    std::function<void(int)> onValue;

private:
    std::vector<float> script_;
    bool repeat_;
};

// Reds 1 2 3 4 5 7 and blue 1, rejected by the first row (five odd reds); then reds 3 7 7 12 19
// 25 31 (the second 7 drawn again) and blue 8, accepted with eight zeros.
inline std::vector<float> rejectedThenAccepted() {
    std::vector<float> script;
    for (const int n : {1, 2, 3, 4, 5, 7}) {
        script.push_back(valueFor(n, 33));
    }
    script.push_back(valueFor(1, 16));
    script.push_back(0.99f);
    for (const int n : {3, 7, 7, 12, 19, 25, 31}) {
        script.push_back(valueFor(n, 33));
    }
    script.push_back(valueFor(8, 16));
    script.insert(script.end(), 8, 0.0f);
    return script;
}

// A main window on the given stand-ins, shown and exposed.
inline std::unique_ptr<ui::frmMain> shownMainWindow(RandomSource& random,
                                                    ui::PlatformServices& services) {
    auto window = std::make_unique<ui::frmMain>(random, services);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) {
        qWarning("the main window was not exposed");
    }
    return window;
}

// The help window that is open, or none.
inline ui::frmHelp* openHelpWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* help = qobject_cast<ui::frmHelp*>(widget); help != nullptr && help->isVisible()) {
            return help;
        }
    }
    return nullptr;
}

// For a check that runs inside the help window's own event loop: whatever the check finds (a
// failing QVERIFY returns early), the help window closes when the guard goes, so that the
// opening returns.
[[nodiscard]] inline auto closingHelpWindowAtEnd() {
    return qScopeGuard([] {
        if (ui::frmHelp* open = openHelpWindow()) {
            open->close();
        }
    });
}

} // namespace kestrune::testing
