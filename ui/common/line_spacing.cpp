#include "line_spacing.h"

#include <QFontMetrics>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <cmath>

namespace kestrune::ui {

void fitLinesToHeight(QTextEdit& box, int lineCount) {
    if (lineCount < 1) {
        return;
    }
    QTextDocument* document = box.document();
    // The viewport fills the contents rectangle: the box has no scroll bars.
    const int margin = static_cast<int>(std::ceil(document->documentMargin()));
    const int available = box.contentsRect().height() - 2 * margin;
    const int natural = QFontMetrics(document->defaultFont()).lineSpacing();
    const int spacing = std::max(1, std::min(natural, available / lineCount));

    QTextBlockFormat format;
    format.setLineHeight(spacing, QTextBlockFormat::FixedHeight);
    QTextCursor cursor(document);
    cursor.select(QTextCursor::Document);
    cursor.mergeBlockFormat(format);
}

} // namespace kestrune::ui
