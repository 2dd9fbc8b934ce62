// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Enter presses a focused button, as the space bar does, in both windows, neither of which has a
// default button; a link line of the help window follows on Enter or the space bar.

#include <functional>

class QEvent;

namespace kestrune::ui {

// The keys that activate a control: Return or the keypad's Enter, and for a control that is no
// button (which answers the space bar by itself) the space bar as well.
enum class ActivationKeys { enter, enterOrSpace };

// What a key held down does once the platform starts repeating it: nothing more, or activate the
// control again at every repeat.
enum class HeldKey { activatesOnce, activatesAgain };

// For an event filter: true when `event` presses one of `keys` with no modifier but the keypad's,
// and the filter is to consume it. `activate` runs for the press, and for a repeat of it only
// when a held key activates again.
bool activateOnKey(const QEvent& event, ActivationKeys keys, HeldKey held,
                   const std::function<void()>& activate);

} // namespace kestrune::ui
