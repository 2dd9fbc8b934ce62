#pragma once

class QTextEdit;

namespace kestrune::ui {

// Spaces the lines of a text box so that `lineCount` lines fit its height in the font it
// actually uses: the font's own line spacing where that fits, a tighter fixed spacing where it
// does not. CJK faces differ a lot in the blank space above their glyphs (Noto Sans CJK's lines
// are a quarter taller than WenQuanYi's for the same glyph size), so a box sized for one face
// would cut off its last line in another. Call it again after every new text: a new text starts
// with the default spacing.
void fitLinesToHeight(QTextEdit& box, int lineCount);

} // namespace kestrune::ui
