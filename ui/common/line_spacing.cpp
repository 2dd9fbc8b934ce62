// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "line_spacing.h"

#include <QFontMetrics>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <cmath>

namespace kestrune::ui {

void setTextWithLinesFitted(QTextEdit& box, const QString& text, int lineCount) {
    QTextDocument* document = box.document();
    document->setUndoRedoEnabled(false);
    // The viewport fills the contents rectangle: the box has no scroll bars.
    const int margin = static_cast<int>(std::ceil(document->documentMargin()));
    const int available = box.contentsRect().height() - 2 * margin;
    const int natural = QFontMetrics(document->defaultFont()).lineSpacing();
    const int spacing = std::max(1, std::min(natural, available / std::max(1, lineCount)));

    QTextBlockFormat format;
    format.setLineHeight(spacing, QTextBlockFormat::FixedHeight);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.setBlockFormat(format);
    cursor.setCharFormat(QTextCharFormat());
    cursor.insertText(text);
    cursor.endEditBlock();
}

} // namespace kestrune::ui
