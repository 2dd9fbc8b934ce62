// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/pictures.h"

#include <QFile>
#include <stdexcept>

namespace kestrune::ui {

QIcon sizedPicture(const QString& path, std::span<const int> sizes) {
    constexpr int designSide = 32;
    const QString stem = path.chopped(QStringLiteral(".png").size());
    QIcon picture;
    for (const int side : sizes) {
        const QString file =
            side == designSide ? path : QStringLiteral("%1-%2.png").arg(stem).arg(side);
        if (!QFile::exists(file)) {
            throw std::runtime_error("the picture " + file.toStdString() + " is missing");
        }
        picture.addFile(file, QSize(side, side));
    }
    return picture;
}

} // namespace kestrune::ui
