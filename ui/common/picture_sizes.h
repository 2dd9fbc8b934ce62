// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>

// The device-pixel sizes at which tools/make_assets draws each picture and the windows load it,
// so that no scale factor between 100 % and 200 % in steps of 25 % ever resamples one.
namespace kestrune::ui {

// The ball pictures are 32 × 32 layout pixels: 32, 40, 48, 56 and 64 device pixels.
inline constexpr std::array<int, 5> ballPictureSizes{32, 40, 48, 56, 64};

// The program icon: the sizes of the hicolor icon theme plus the window icon at each scale.
inline constexpr std::array<int, 10> iconPictureSizes{16, 22, 24, 32, 40, 48, 56, 64, 128, 256};

} // namespace kestrune::ui
