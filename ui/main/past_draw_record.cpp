// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "past_draw_record.h"

#include <QFile>
#include <QRegularExpression>
#include <stdexcept>

namespace kestrune::ui {

RecordSplit splitRecordByYear(const QByteArray& record) {
    static const QRegularExpression lineFormat(
        QStringLiteral("^(\\d{4})\\d{3}( (0[1-9]|[12]\\d|3[0-3])){6} (0[1-9]|1[0-6])$"));
    RecordSplit split;
    const QString text = QString::fromLatin1(record);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        // The text ends with a line end, which leaves one empty piece behind the last line.
        if (i == lines.size() - 1 && line.isEmpty()) {
            break;
        }
        const QRegularExpressionMatch match = lineFormat.match(line);
        const int box = match.hasMatch() ? match.captured(1).toInt() - firstRecordYear : -1;
        if (box < 0 || box >= recordBoxCount) {
            split.malformed << QStringLiteral("line %1: \"%2\"").arg(i + 1).arg(line);
            continue;
        }
        split.boxes[static_cast<std::size_t>(box)] += line + u'\n';
    }
    return split;
}

QByteArray bundledRecord() {
    QFile file(QStringLiteral(":/assets/past-draws.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("the past-draw record is missing from the program");
    }
    return file.readAll();
}

} // namespace kestrune::ui
