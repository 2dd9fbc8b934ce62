// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection_state.h"

#include <stdexcept>
#include <string_view>

namespace kestrune {

namespace {

void checkBall(BallColour colour, std::int16_t n) {
    const std::int16_t count = colour == BallColour::red ? redBallCount : blueBallCount;
    if (n < 1 || n > count) {
        throw std::out_of_range(std::string("there is no ") +
                                (colour == BallColour::red ? "red" : "blue") + " ball " +
                                std::to_string(n));
    }
}

// A decimal number with an optional sign and leading zeros, within 16 bits.
std::int16_t parseNumberPiece(std::string_view piece, int index) {
    auto fail = [&](const char* why) {
        throw std::invalid_argument("selection text piece " + std::to_string(index) + " \"" +
                                    std::string(piece) + "\" " + why);
    };
    std::string_view digits = piece;
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        digits.remove_prefix(1);
    }
    if (digits.empty()) {
        fail("is not a number");
    }
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            fail("is not a number");
        }
        value = value * 10 + (c - '0');
        if (value > INT16_MAX + 1) {
            fail("is outside the 16-bit range");
        }
    }
    value = negative ? -value : value;
    if (value > INT16_MAX) {
        fail("is outside the 16-bit range");
    }
    return static_cast<std::int16_t>(value);
}

} // namespace

std::string twoDigitText(std::int16_t n) {
    if (n >= 0 && n < 100) {
        return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
    }
    std::string text = std::to_string(n >= 0 ? n : -n);
    if (text.size() < 2) {
        text.insert(0, 1, '0');
    }
    return n < 0 ? "-" + text : text;
}

SelectionState::SelectionState(BoardView& board, TextBox& txtSelect)
    : board_(board), txtSelect_(txtSelect) {
    selectionText_.reserve(20);
}

void SelectionState::resetBoard() {
    for (std::int16_t n = 1; n <= redBallCount; ++n) {
        board_.resetBallLabel(BallColour::red, n);
        unmarkRed(n);
    }
    for (std::int16_t n = 1; n <= blueBallCount; ++n) {
        board_.resetBallLabel(BallColour::blue, n);
        unmarkBlue(n);
    }
    selectionText_.clear();
    txtSelect_.setText(selectionText_);
    ticketNumbers_.fill(0);
}

void SelectionState::markRed(std::int16_t n) {
    setMark(BallColour::red, n, BallPicture::markedRed, true);
}

void SelectionState::markBlue(std::int16_t n) {
    setMark(BallColour::blue, n, BallPicture::markedBlue, true);
}

void SelectionState::unmarkRed(std::int16_t n) {
    setMark(BallColour::red, n, BallPicture::gray, false);
}

void SelectionState::unmarkBlue(std::int16_t n) {
    setMark(BallColour::blue, n, BallPicture::gray, false);
}

// The picture is shown first; the flag follows only when the display step went through.
void SelectionState::setMark(BallColour colour, std::int16_t n, BallPicture picture, bool marked) {
    checkBall(colour, n);
    board_.showBallPicture(colour, n, picture);
    if (colour == BallColour::red) {
        redMarked_[n] = marked;
    } else {
        blueMarked_[n] = marked;
    }
}

void SelectionState::appendToSelectionText(const std::string& piece) {
    selectionText_ += piece;
    txtSelect_.setText(selectionText_);
}

void SelectionState::composeSelectionText() {
    for (std::int16_t n = 1; n <= redBallCount; ++n) {
        if (redMarked_[n]) {
            appendToSelectionText(twoDigitText(n) + ' ');
        }
    }
    for (std::int16_t n = 1; n <= blueBallCount; ++n) {
        if (blueMarked_[n]) {
            appendToSelectionText(twoDigitText(n));
        }
    }
}

void SelectionState::parseSelectionText() {
    parseTicketText(selectionText_, ticketNumbers_);
}

void parseTicketText(std::string_view text, Ticket& ticket) {
    std::size_t start = 0;
    for (int position = Ticket::first; position <= Ticket::last; ++position) {
        const int index = position - 1;
        if (start > text.size()) {
            throw std::invalid_argument("selection text \"" + std::string(text) + "\" has only " +
                                        std::to_string(index) + " pieces");
        }
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        ticket[position] = parseNumberPiece(text.substr(start, end - start), index);
        start = end + 1;
    }
}

} // namespace kestrune
