// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QPalette>

namespace kestrune::ui {

// The least contrast ratio at which normal-sized text counts as readable.
inline constexpr double minimumTextContrast = 4.5;

// The light window face the windows were designed on: light gray button face, black text,
// white text boxes.
QPalette lightFacePalette();

// The contrast ratio of two colours as the Web Content Accessibility Guidelines define it, from
// 1 (the same luminance) to 21 (black on white).
double contrastRatio(const QColor& first, const QColor& second);

} // namespace kestrune::ui
