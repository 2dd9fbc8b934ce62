// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The record of past draws (2003 to 2011) that the main window carries in nine boxes, one per
// year. Nothing reads the boxes; the record is only split by year for them.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

namespace kestrune::ui {

inline constexpr int firstRecordYear = 2003;
inline constexpr int recordBoxCount = 9;

struct RecordSplit {
    // Box k holds the lines of year 2003 + k, each ended by a line feed.
    std::array<QString, recordBoxCount> boxes;
    // Lines that are not "YYYYNNN" and seven two-digit numbers, or of a year without a box,
    // with their line numbers; they are kept out of the boxes.
    QStringList malformed;
};

// Splits the record text (CR LF line ends) by the year of each line's draw number, keeping the
// lines in their order and as they are.
RecordSplit splitRecordByYear(const QByteArray& record);

// The record bundled with the program.
QByteArray bundledRecord();

} // namespace kestrune::ui
