// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The one record of what the main window shows as picked; how a machine pick passes through it
// is drawn at the top of ui/main/frm_main.h. The engine knows the window only through BoardView
// and TextBox, so it runs without one.

#include "checked.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrune {

enum class BallColour { red, blue };

// The three template pictures a ball can show.
enum class BallPicture { markedRed, markedBlue, gray };

constexpr std::int16_t redBallCount = 33;
constexpr std::int16_t blueBallCount = 16;

// Positions 1..6 hold the reds ascending, position 7 the blue; all 0 after a reset.
using Ticket = CheckedArray<std::int16_t, 1, 7>;

class BoardView {
public:
    virtual ~BoardView() = default;
    // Puts the number label of ball n back to its standard look and place, in front of the ball.
    virtual void resetBallLabel(BallColour colour, std::int16_t n) = 0;
    virtual void showBallPicture(BallColour colour, std::int16_t n, BallPicture picture) = 0;
};

// A text box of the window as the engine sees it: it only ever replaces the whole text.
class TextBox {
public:
    virtual ~TextBox() = default;
    virtual void setText(const std::string& text) = 0;
};

// "00" format: decimal with a leading zero below 10 ("01" to "33").
std::string twoDigitText(std::int16_t n);

// Reads the first seven space-separated pieces of a selection text into positions 1..7 of the
// ticket; pieces beyond the seventh are ignored. A piece that is not a decimal number within 16
// bits, or a missing piece, throws std::invalid_argument; the entries before it keep their new
// values.
void parseTicketText(std::string_view text, Ticket& ticket);

class SelectionState {
public:
    // Both collaborators must outlive the state.
    SelectionState(BoardView& board, TextBox& txtSelect);

    bool busy() const { return busy_; }
    void setBusy(bool busy) { busy_ = busy; }
    bool redMarked(std::int16_t n) const { return redMarked_[n]; }
    bool blueMarked(std::int16_t n) const { return blueMarked_[n]; }
    const Ticket& ticketNumbers() const { return ticketNumbers_; }
    const std::string& selectionText() const { return selectionText_; }

    void resetBoard();
    void markRed(std::int16_t n);
    void markBlue(std::int16_t n);
    void unmarkRed(std::int16_t n);
    void unmarkBlue(std::int16_t n);

    // Appends the marked numbers to the selection text; never clears it first.
    void composeSelectionText();
    // parseTicketText of the selection text into ticketNumbers.
    void parseSelectionText();

private:
    void setMark(BallColour colour, std::int16_t n, BallPicture picture, bool marked);
    void appendToSelectionText(const std::string& piece);

    BoardView& board_;
    TextBox& txtSelect_;
    bool busy_ = false;
    CheckedArray<bool, 1, redBallCount> redMarked_;
    CheckedArray<bool, 1, blueBallCount> blueMarked_;
    Ticket ticketNumbers_;
    std::string selectionText_;
};

} // namespace kestrune
