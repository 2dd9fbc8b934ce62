// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>
#include <QString>
#include <span>

namespace kestrune::ui {

// A picture of the resource with every device size that tools/make_assets drew of it: path names
// the 32-pixel file ("…/name.png"), and "…/name-N.png" holds each other size N. QIcon then hands
// out the file that matches the screen's scale exactly instead of resampling one. Throws when a
// file is missing.
QIcon sizedPicture(const QString& path, std::span<const int> sizes);

} // namespace kestrune::ui
