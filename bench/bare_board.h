// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The floor of an attempt: a window of the main window's own controls for the board (the two
// frames, 49 ball pictures of the same files with a number label over each, the ticket field,
// placed by the same table) and nothing else, doing the least an attempt of this design must do:
// let pending events run once, put the gray picture back on the seven balls the last attempt
// marked, mark seven others and show their ticket in the field. No engine, no statistics, no
// accessibility: what an attempt of the real window costs beyond this is the program's own.

#include "common/control_layout.h"
#include "common/fonts.h"
#include "common/picture_sizes.h"
#include "common/pictures.h"
#include "main/main_window_layout.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace kestrune::bench {

class BareBoard final : public QWidget {
public:
    BareBoard()
        : gray_(picture(QStringLiteral(":/assets/gray-ball.png"))),
          red_(picture(QStringLiteral(":/assets/red-ball.png"))),
          blue_(picture(QStringLiteral(":/assets/blue-ball.png"))) {
        using namespace kestrune::ui;
        setFont(uiFont());
        setFixedSize(sizeFromTwips(main_window::clientWidth, main_window::clientHeight));
        auto* redFrame = makeControl<QGroupBox>(this, main_window::control("fraRed"));
        auto* blueFrame = makeControl<QGroupBox>(this, main_window::control("fraBlue"));
        QPalette numberPalette;
        numberPalette.setColor(QPalette::WindowText, main_window::ballNumberColour);
        const QFont numberFont = uiFont(main_window::ballNumberPointSize);
        for (int n = 1; n <= redBallCount + blueBallCount; ++n) {
            const bool isRed = n <= redBallCount;
            const BallColour colour = isRed ? BallColour::red : BallColour::blue;
            const int number = isRed ? n : n - redBallCount;
            auto* image = new QLabel(isRed ? redFrame : blueFrame);
            image->setGeometry(main_window::ballRect(colour, number));
            image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            image->setPixmap(gray_);
            auto* label = new QLabel(QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')),
                                     isRed ? redFrame : blueFrame);
            label->setPalette(numberPalette);
            label->setFont(numberFont);
            label->adjustSize();
            label->move(main_window::ballNumberTopLeft(colour, number));
            balls_[static_cast<std::size_t>(n - 1)] = image;
        }
        ticket_ = makeControl<QLineEdit>(this, main_window::control("txtSelect"));
        ticket_->setReadOnly(true);
        ticket_->setAlignment(Qt::AlignCenter);
    }

    void attempt() {
        QCoreApplication::processEvents();
        for (QLabel* ball : marked_) {
            ball->setPixmap(gray_);
        }
        marked_.clear();
        std::array<int, 33> reds{};
        for (int n = 0; n < 33; ++n) {
            reds[static_cast<std::size_t>(n)] = n + 1;
        }
        std::shuffle(reds.begin(), reds.end(), generator_);
        std::sort(reds.begin(), reds.begin() + 6);
        QString text;
        for (int i = 0; i < 6; ++i) {
            QLabel* ball = balls_[static_cast<std::size_t>(reds[static_cast<std::size_t>(i)] - 1)];
            ball->setPixmap(red_);
            marked_.push_back(ball);
            text += QStringLiteral("%1 ").arg(reds[static_cast<std::size_t>(i)], 2, 10,
                                              QLatin1Char('0'));
        }
        const int blue = std::uniform_int_distribution<int>(1, 16)(generator_);
        QLabel* ball = balls_[static_cast<std::size_t>(redBallCount + blue - 1)];
        ball->setPixmap(blue_);
        marked_.push_back(ball);
        ticket_->setText(text + QStringLiteral("%1").arg(blue, 2, 10, QLatin1Char('0')));
    }

private:
    static QPixmap picture(const QString& path) {
        return ui::sizedPicture(path, ui::ballPictureSizes).pixmap(QSize(32, 32));
    }

    QPixmap gray_;
    QPixmap red_;
    QPixmap blue_;
    std::array<QLabel*, redBallCount + blueBallCount> balls_{};
    QLineEdit* ticket_ = nullptr;
    std::vector<QLabel*> marked_;
    std::mt19937 generator_{20261209};
};

} // namespace kestrune::bench
