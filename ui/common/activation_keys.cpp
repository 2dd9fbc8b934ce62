// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "activation_keys.h"

#include <QEvent>
#include <QKeyEvent>

namespace kestrune::ui {

bool activateOnKey(const QEvent& event, ActivationKeys keys, HeldKey held,
                   const std::function<void()>& activate) {
    if (event.type() != QEvent::KeyPress) {
        return false;
    }
    const auto& key = static_cast<const QKeyEvent&>(event);
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    const bool space = keys == ActivationKeys::enterOrSpace && key.key() == Qt::Key_Space;
    if (!(enter || space) || (key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    if (!key.isAutoRepeat() || held == HeldKey::activatesAgain) {
        activate();
    }
    return true;
}

} // namespace kestrune::ui
