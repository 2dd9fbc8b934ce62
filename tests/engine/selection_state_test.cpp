// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakes.h"
#include "selection_state.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

using testing::BoardCall;
using testing::RecordingBoard;
using testing::RecordingTextBox;

class SelectionStateTest : public ::testing::Test {
protected:
    void mark(std::initializer_list<int> reds, int blue) {
        for (const int n : reds) {
            state.markRed(static_cast<std::int16_t>(n));
        }
        state.markBlue(static_cast<std::int16_t>(blue));
    }

    RecordingBoard board;
    RecordingTextBox txtSelect;
    SelectionState state{board, txtSelect};
};

TEST_F(SelectionStateTest, ResetTurnsEveryBallGrayLabelFirstInBallOrder) {
    state.setBusy(true);
    state.resetBoard();

    ASSERT_EQ(board.calls.size(), 98u);
    std::size_t at = 0;
    for (const auto& [colour, count] : {std::pair{BallColour::red, 33}, {BallColour::blue, 16}}) {
        for (std::int16_t n = 1; n <= count; ++n) {
            EXPECT_EQ(board.calls[at++], (BoardCall{BoardCall::Kind::resetLabel, colour, n}));
            EXPECT_EQ(board.calls[at++],
                      (BoardCall{BoardCall::Kind::showPicture, colour, n, BallPicture::gray}));
        }
    }
    EXPECT_TRUE(state.busy()) << "a reset leaves busy alone";
}

TEST_F(SelectionStateTest, ResetClearsMarksTextAndTicket) {
    mark({3, 7, 12, 19, 25, 31}, 8);
    state.composeSelectionText();
    state.parseSelectionText();

    state.resetBoard();

    for (std::int16_t n = 1; n <= redBallCount; ++n) {
        EXPECT_FALSE(state.redMarked(n)) << "red " << n;
    }
    for (std::int16_t n = 1; n <= blueBallCount; ++n) {
        EXPECT_FALSE(state.blueMarked(n)) << "blue " << n;
    }
    EXPECT_EQ(state.selectionText(), "");
    EXPECT_EQ(txtSelect.text(), "") << "txtSelect mirrors the emptied text";
    for (int i = 1; i <= 7; ++i) {
        EXPECT_EQ(state.ticketNumbers()[i], 0);
    }
}

TEST_F(SelectionStateTest, ComposeInAnyMarkingOrderGivesAscendingTextThatParsesBack) {
    mark({25, 3, 31, 12, 7, 19}, 8);
    state.composeSelectionText();
    EXPECT_EQ(state.selectionText(), "03 07 12 19 25 31 08");
    EXPECT_EQ(txtSelect.text(), "03 07 12 19 25 31 08");

    state.parseSelectionText();
    const int expected[] = {3, 7, 12, 19, 25, 31, 8};
    for (int i = 1; i <= 7; ++i) {
        EXPECT_EQ(state.ticketNumbers()[i], expected[i - 1]) << "position " << i;
    }
}

TEST_F(SelectionStateTest, TxtSelectSeesEveryAppendedNumber) {
    mark({1, 2, 3, 4, 5, 6}, 16);
    state.composeSelectionText();
    ASSERT_EQ(txtSelect.writes.size(), 7u);
    EXPECT_EQ(txtSelect.writes.front(), "01 ");
    EXPECT_EQ(txtSelect.writes.back(), "01 02 03 04 05 06 16");
}

TEST_F(SelectionStateTest, ComposeEdges) {
    state.composeSelectionText();
    EXPECT_EQ(state.selectionText(), "") << "nothing marked leaves the text empty";

    state.markRed(33);
    state.composeSelectionText();
    EXPECT_EQ(state.selectionText(), "33 ") << "reds without a blue end in a space";

    state.resetBoard();
    mark({1, 2, 3, 4, 5, 6}, 7);
    state.composeSelectionText();
    state.composeSelectionText();
    EXPECT_EQ(state.selectionText(), "01 02 03 04 05 06 0701 02 03 04 05 06 07")
        << "a second compose appends right behind the blue number";
}

TEST_F(SelectionStateTest, MarkingTwiceShowsThePictureTwiceAndKeepsTheFlag) {
    state.markRed(5);
    state.markRed(5);
    EXPECT_TRUE(state.redMarked(5));
    ASSERT_EQ(board.calls.size(), 2u);
    EXPECT_EQ(board.calls[1], (BoardCall{BoardCall::Kind::showPicture, BallColour::red, 5,
                                         BallPicture::markedRed}));

    state.unmarkBlue(9);
    EXPECT_FALSE(state.blueMarked(9));
    EXPECT_EQ(board.calls.back(),
              (BoardCall{BoardCall::Kind::showPicture, BallColour::blue, 9, BallPicture::gray}));
}

TEST_F(SelectionStateTest, BallsOutsideTheBoardAreRangeErrorsThatChangeNothing) {
    EXPECT_THROW(state.markRed(0), std::out_of_range);
    EXPECT_THROW(state.markRed(34), std::out_of_range);
    EXPECT_THROW(state.markBlue(17), std::out_of_range);
    EXPECT_THROW(state.unmarkBlue(-1), std::out_of_range);
    EXPECT_THROW((void)state.redMarked(0), std::out_of_range) << "there is no flag 0";
    EXPECT_THROW((void)state.ticketNumbers()[8], std::out_of_range);
    EXPECT_TRUE(board.calls.empty());
}

TEST_F(SelectionStateTest, AFailingDisplayStepLeavesTheFlagAlone) {
    board.failOnShow = true;
    EXPECT_THROW(state.markRed(4), std::runtime_error);
    EXPECT_FALSE(state.redMarked(4));
}

// Parsing is driven through compose, the only way text gets into the state.
class ParseTest : public SelectionStateTest {
protected:
    void composeText(std::initializer_list<int> reds, std::initializer_list<int> blues) {
        for (const int n : reds) {
            state.markRed(static_cast<std::int16_t>(n));
        }
        for (const int n : blues) {
            state.markBlue(static_cast<std::int16_t>(n));
        }
        state.composeSelectionText();
    }
};

TEST_F(ParseTest, PiecesBeyondTheSeventhAreIgnored) {
    composeText({1, 2, 3, 4, 5, 6, 7}, {9});
    ASSERT_EQ(state.selectionText(), "01 02 03 04 05 06 07 09");
    state.parseSelectionText();
    for (int i = 1; i <= 7; ++i) {
        EXPECT_EQ(state.ticketNumbers()[i], i);
    }
}

TEST_F(ParseTest, TooFewPiecesFailAtTheMissingPieceAfterWritingTheEarlierOnes) {
    composeText({10, 20}, {11});
    ASSERT_EQ(state.selectionText(), "10 20 11");
    EXPECT_THROW(state.parseSelectionText(), std::invalid_argument);
    EXPECT_EQ(state.ticketNumbers()[1], 10);
    EXPECT_EQ(state.ticketNumbers()[2], 20);
    EXPECT_EQ(state.ticketNumbers()[3], 11);
    EXPECT_EQ(state.ticketNumbers()[4], 0);
}

TEST_F(ParseTest, AnEmptyPieceIsNotANumber) {
    composeText({1, 2, 3, 4, 5, 6}, {});
    ASSERT_EQ(state.selectionText(), "01 02 03 04 05 06 ");
    EXPECT_THROW(state.parseSelectionText(), std::invalid_argument);
    EXPECT_EQ(state.ticketNumbers()[6], 6) << "the six pieces before the empty one are written";
    EXPECT_EQ(state.ticketNumbers()[7], 0);
}

TEST_F(ParseTest, AnEmptyTextFailsAtTheFirstPiece) {
    EXPECT_THROW(state.parseSelectionText(), std::invalid_argument);
}

struct BadText {
    const char* name;
    const char* text;
    int failingPosition; // the positions before it are written
};

void PrintTo(const BadText& bad, std::ostream* os) {
    *os << bad.name;
}

class ParseTicketTextError : public ::testing::TestWithParam<BadText> {};

TEST_P(ParseTicketTextError, StopsAtTheBadPieceAfterWritingTheEarlierOnes) {
    const BadText& bad = GetParam();
    Ticket ticket;
    ticket.fill(-1);
    EXPECT_THROW(parseTicketText(bad.text, ticket), std::invalid_argument);
    for (int i = 1; i < bad.failingPosition; ++i) {
        EXPECT_EQ(ticket[i], i) << "position " << i;
    }
    for (int i = bad.failingPosition; i <= 7; ++i) {
        EXPECT_EQ(ticket[i], -1) << "position " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Pieces, ParseTicketTextError,
                         ::testing::Values(BadText{"letter", "01 02 03 04 05 06 0x", 7},
                                           BadText{"letter_first", "a1 02 03 04 05 06 07", 1},
                                           BadText{"decimal_point", "01 02 3.0 04 05 06 07", 3},
                                           BadText{"sign_alone", "01 02 03 - 05 06 07", 4},
                                           BadText{"fullwidth_digit", "01 02 03 04 ５ 06 07", 5},
                                           BadText{"above_16_bits", "01 32768 03 04 05 06 07", 2},
                                           BadText{"below_16_bits", "01 02 -32769 04 05 06 07", 3},
                                           BadText{"wraps_to_one", "01 02 03 65537 05 06 07", 4},
                                           BadText{"many_digits", "01 02 03 04 05 06 99999999999",
                                                   7},
                                           BadText{"two_spaces", "01 02  03 04 05 06", 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ParseTicketText, TakesTheWholeSixteenBitRange) {
    Ticket ticket;
    parseTicketText("32767 -32768 +5 0 007 -0 1", ticket);
    const int expected[] = {32767, -32768, 5, 0, 7, 0, 1};
    for (int i = 1; i <= 7; ++i) {
        EXPECT_EQ(ticket[i], expected[i - 1]) << "position " << i;
    }
}

TEST(TwoDigitText, PadsBelowTenOnly) {
    EXPECT_EQ(twoDigitText(1), "01");
    EXPECT_EQ(twoDigitText(9), "09");
    EXPECT_EQ(twoDigitText(10), "10");
    EXPECT_EQ(twoDigitText(33), "33");
    EXPECT_EQ(twoDigitText(0), "00");
    EXPECT_EQ(twoDigitText(600), "600");
}

TEST(CheckedArithmetic, RaisesOnSixteenBitOverflow) {
    EXPECT_EQ(checked::add(32766, 1), 32767);
    EXPECT_THROW(checked::add(32767, 1), std::overflow_error);
    EXPECT_THROW(checked::sub(-32768, 1), std::overflow_error);
    EXPECT_THROW(checked::mul(200, 200), std::overflow_error);
    EXPECT_THROW(checked::abs(-32768), std::overflow_error);
}

} // namespace
} // namespace kestrune
