// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QString;
class QTextEdit;

namespace kestrune::ui {

// Replaces the text of a box and spaces its lines so that `lineCount` lines fit its height in the
// font it actually uses: the font's own line spacing where that fits, a tighter fixed spacing
// where it does not. CJK faces differ a lot in the blank space above their glyphs (Noto Sans
// CJK's lines are a quarter taller than WenQuanYi's for the same glyph size), so a box sized for
// one face would cut off its last line in another. Text and spacing go in as one edit, so the
// box reports one change (a screen reader hears one), and nothing is kept for undo.
void setTextWithLinesFitted(QTextEdit& box, const QString& text, int lineCount);

} // namespace kestrune::ui
