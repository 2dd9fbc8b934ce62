// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The main window. Data flow of a machine pick:
//   click on cmdSelect -> pickTicket (engine) -> SelectionState -> this window as BoardView
//                                                                  (ball pictures)
//                                                               -> txtSelect (selection text)
//                                             -> pick statistics -> txtData (statistics text)
// The pick runs on this thread and lets pending events run once per attempt through
// processPendingEvents, so the board repaints and cmdExit / the close box can end the program
// in the middle of a pick: the window then reports HostState::ending and the pick gives up.
// The two text boxes hold what the engine writes and show it when events run and when the pick
// ends, so each shows at most one new text per attempt; assistive technology learns the marks
// of the balls and the ticket once, when the pick ends.

#include "machine_pick.h"
#include "selection_state.h"

#include <QFont>
#include <QWidget>
#include <array>
#include <exception>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace kestrune::ui {

class PlatformServices;

class frmMain final : public QWidget, public BoardView, public EventProcessor {
    Q_OBJECT

public:
    // The random source and the platform services must outlive the window.
    frmMain(RandomSource& random, PlatformServices& services, QWidget* parent = nullptr);
    ~frmMain() override;

    void resetBallLabel(BallColour colour, std::int16_t n) override;
    void showBallPicture(BallColour colour, std::int16_t n, BallPicture picture) override;
    HostState processPendingEvents() override;

    const SelectionState& selection() const { return *state_; }
    bool isEnding() const { return ending_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Ball {
        QLabel* image = nullptr;
        QLabel* label = nullptr;
    };
    class HeldTicketText;
    class HeldStatisticsText;

    void createBoard();
    void createTextBoxesAndButtons();
    void createTemplates();
    void createRecordBoxes();
    void setUpTabOrder();
    void setUpKeys();
    void load();
    void showHeldTexts();
    void endOfPick(PickOutcome outcome);

    void onSelectClicked();
    void onHelpClicked();
    void onExitClicked();
    void endProgram();
    void reportError(const QString& what, const std::exception& error);

    Ball& ball(BallColour colour, std::int16_t n);
    QLabel* templateImage(BallPicture picture) const;

    RandomSource& random_;
    PlatformServices& services_;
    bool ending_ = false;
    // Where the load put the window, frame included.
    QPoint startPosition_;
    // The number labels' font after every reset, built once: a reset runs 49 times an attempt.
    const QFont ballNumberFont_;

    // The balls of the board and the three pictures they copy (imgRedBall, imgBlueBall,
    // imgGrayBall); then the controls by their object names. The frames and the record boxes are
    // the window's children as well, but nothing uses them once they are made.
    std::array<Ball, redBallCount> redBalls_{};
    std::array<Ball, blueBallCount> blueBalls_{};
    QLabel* redTemplate_ = nullptr;
    QLabel* blueTemplate_ = nullptr;
    QLabel* grayTemplate_ = nullptr;
    QLineEdit* ticketField_ = nullptr;   // txtSelect
    QTextEdit* statisticsBox_ = nullptr; // txtData
    QPushButton* pickButton_ = nullptr;  // cmdSelect, 机选
    QPushButton* exitButton_ = nullptr;  // cmdExit, 退出
    QPushButton* helpButton_ = nullptr;  // cmdHelp, 帮助
    // Tells a screen reader the accepted ticket; hidden between picks and never seen.
    QLabel* pickNews_ = nullptr;

    // What the engine writes to the ticket field and the statistics box, held until shown.
    std::unique_ptr<HeldTicketText> heldTicket_;
    std::unique_ptr<HeldStatisticsText> heldStatistics_;
    std::unique_ptr<SelectionState> state_;
};

} // namespace kestrune::ui
