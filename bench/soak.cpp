// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Many machine picks in the real window, each checked on the way: exactly six red marks and one
// blue mark, the board showing the marked pictures on those balls and gray on the others,
// a selection text of 20 characters that txtSelect shows, and no pick left running. Prints the
// failures, the picks per second and resident memory before and after (goal: growth under
// 2 MB). Exit status 1 when a pick failed.
//
// Usage: soak [picks]   (default 10000; offscreen unless QT_QPA_PLATFORM says otherwise)

#include "main/frm_main.h"
#include "timer_random_source.h"
#include "window_bench_support.h"
#include "window_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace kestrune;
using namespace kestrune::ui;
using kestrune::bench::residentKilobytes;
using kestrune::testing::RecordingServices;

constexpr int defaultPicks = 10'000;
constexpr double goalGrowthMegabytes = 2;
constexpr int failuresShown = 10;
constexpr int exposeLimitMs = 10'000;
#if defined(__SANITIZE_ADDRESS__)
constexpr bool underAddressSanitizer = true;
#else
constexpr bool underAddressSanitizer = false;
#endif

std::optional<int> parsePicks(int argc, char** argv) {
    if (argc < 2) {
        return defaultPicks;
    }
    int picks = 0;
    const char* end = argv[1] + std::strlen(argv[1]);
    const auto [rest, error] = std::from_chars(argv[1], end, picks);
    if (argc > 2 || error != std::errc{} || rest != end || picks < 1) {
        return std::nullopt;
    }
    return picks;
}

template <typename T> T* child(QWidget& window, const QString& name) {
    auto* found = window.findChild<T*>(name);
    if (found == nullptr) {
        throw std::runtime_error("the window has no " + name.toStdString());
    }
    return found;
}

// The widgets the checks look at, found once.
struct Board {
    explicit Board(QWidget& window)
        : cmdSelect(child<QPushButton>(window, QStringLiteral("cmdSelect"))),
          txtSelect(child<QLineEdit>(window, QStringLiteral("txtSelect"))),
          redTemplate(child<QLabel>(window, QStringLiteral("imgRedBall"))),
          blueTemplate(child<QLabel>(window, QStringLiteral("imgBlueBall"))),
          grayTemplate(child<QLabel>(window, QStringLiteral("imgGrayBall"))) {
        for (std::size_t i = 0; i < red.size(); ++i) {
            red[i] = child<QLabel>(window, QStringLiteral("imgRed_%1").arg(i + 1));
        }
        for (std::size_t i = 0; i < blue.size(); ++i) {
            blue[i] = child<QLabel>(window, QStringLiteral("imgBlue_%1").arg(i + 1));
        }
    }

    QPushButton* cmdSelect;
    QLineEdit* txtSelect;
    QLabel* redTemplate;
    QLabel* blueTemplate;
    QLabel* grayTemplate;
    std::array<QLabel*, redBallCount> red{};
    std::array<QLabel*, blueBallCount> blue{};
};

// What is wrong after a pick, empty when nothing is.
std::string checkPick(const frmMain& window, const Board& board) {
    const SelectionState& state = window.selection();
    std::string problems;
    auto fail = [&problems](const std::string& what) {
        problems += problems.empty() ? what : "; " + what;
    };

    // The picture keys of the templates are read anew: a template that lost its picture would
    // show up as every ball being wrong.
    const qint64 redKey = board.redTemplate->pixmap().cacheKey();
    const qint64 blueKey = board.blueTemplate->pixmap().cacheKey();
    const qint64 grayKey = board.grayTemplate->pixmap().cacheKey();
    int reds = 0;
    int blues = 0;
    std::string expectedText;
    for (std::int16_t n = 1; n <= redBallCount; ++n) {
        const bool marked = state.redMarked(n);
        reds += marked;
        if (marked) {
            expectedText += twoDigitText(n) + ' ';
        }
        const qint64 shown = board.red[static_cast<std::size_t>(n - 1)]->pixmap().cacheKey();
        if (shown != (marked ? redKey : grayKey)) {
            fail("red ball " + std::to_string(n) +
                 (marked ? " is marked but not red" : " is not gray"));
        }
    }
    for (std::int16_t n = 1; n <= blueBallCount; ++n) {
        const bool marked = state.blueMarked(n);
        blues += marked;
        if (marked) {
            expectedText += twoDigitText(n);
        }
        const qint64 shown = board.blue[static_cast<std::size_t>(n - 1)]->pixmap().cacheKey();
        if (shown != (marked ? blueKey : grayKey)) {
            fail("blue ball " + std::to_string(n) +
                 (marked ? " is marked but not blue" : " is not gray"));
        }
    }
    if (reds != 6) {
        fail(std::to_string(reds) + " red marks");
    }
    if (blues != 1) {
        fail(std::to_string(blues) + " blue marks");
    }
    const std::string& text = state.selectionText();
    if (text.size() != 20) {
        fail("selection text \"" + text + "\" is not 20 characters");
    }
    if (text != expectedText) {
        fail("selection text \"" + text + "\" is not the marked balls \"" + expectedText + "\"");
    }
    if (board.txtSelect->text() != QString::fromStdString(text)) {
        fail("txtSelect shows \"" + board.txtSelect->text().toStdString() + "\"");
    }
    if (state.busy()) {
        fail("still busy");
    }
    return problems;
}

bool waitUntilExposed(QWidget& window) {
    window.show();
    QElapsedTimer clock;
    clock.start();
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
        if (clock.elapsed() > exposeLimitMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QCoreApplication::processEvents();
    return true;
}

int run(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const std::optional<int> picks = parsePicks(argc, argv);
    if (!picks) {
        std::fprintf(stderr, "usage: soak [picks (>= 1)]\n");
        return 2;
    }

    TimerRandomSource random;
    RecordingServices services;
    frmMain window(random, services);
    if (!waitUntilExposed(window)) {
        std::fprintf(stderr, "soak: the window was not exposed\n");
        return 1;
    }
    const Board board(window);

    // A pick that throws opens an error box and waits in it; close it, so that the soak goes on
    // and counts the failure instead of hanging.
    int errorBoxes = 0;
    QTimer boxCloser;
    boxCloser.setInterval(50);
    QObject::connect(&boxCloser, &QTimer::timeout, &window, [&errorBoxes] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            ++errorBoxes;
            const auto* message = qobject_cast<QMessageBox*>(box);
            std::fprintf(stderr, "soak: an error box opened: %s\n",
                         qPrintable(message != nullptr
                                        ? message->text() + u' ' + message->informativeText()
                                        : box->windowTitle()));
            box->close();
        }
    });
    boxCloser.start();

    std::printf("QPA platform: %s\n", qPrintable(QGuiApplication::platformName()));
    const long rssBefore = residentKilobytes();
    int failures = 0;
    QElapsedTimer clock;
    clock.start();
    for (int pick = 1; pick <= *picks; ++pick) {
        const int boxesBefore = errorBoxes;
        board.cmdSelect->click();
        // The final repaint, as the event loop does it after the pick.
        QCoreApplication::processEvents();
        std::string problems = checkPick(window, board);
        if (errorBoxes != boxesBefore) {
            problems += problems.empty() ? "an error box opened" : "; an error box opened";
        }
        if (!problems.empty()) {
            ++failures;
            if (failures <= failuresShown) {
                std::printf("pick %d: %s\n", pick, problems.c_str());
            }
        }
    }
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    boxCloser.stop();
    const long rssAfter = residentKilobytes();
    const double growthMegabytes = static_cast<double>(rssAfter - rssBefore) / 1024.0;

    std::printf("picks:            %d\n", *picks);
    std::printf("failures:         %d\n", failures);
    std::printf("picks per second: %.1f (with the checks and the final repaint)\n",
                static_cast<double>(*picks) / seconds);
    std::printf("VmRSS before:     %ld KB\n", rssBefore);
    std::printf("VmRSS after:      %ld KB\n", rssAfter);
    std::printf("growth:           %.2f MB   goal < %.0f MB: %s\n", growthMegabytes,
                goalGrowthMegabytes, growthMegabytes < goalGrowthMegabytes ? "met" : "NOT MET");
    if (underAddressSanitizer) {
        std::printf("(address sanitizer: freed memory is held in its quarantine, so the growth "
                    "says nothing here)\n");
    }
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "soak: %s\n", error.what());
        return 1;
    }
}
