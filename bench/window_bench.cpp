// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The machine pick as the user meets it: in the real window, with the real random source and a
// repaint of the board at every attempt, judged against a floor measured in the same run and
// display session: a bare board of the design's own controls that does the least an attempt must
// do (bare_board.h). Three figures beside their goals:
//   - time per attempt of a pick: at most 1.2 times the bare board's;
//   - start-up, from process start to the first painted window: median at most 150 ms;
//   - resident memory growth over many picks: at most 2 MB.
// A pick takes a random number of attempts (about one in thirty passes the filter), so its own
// median and 99th percentile follow from the attempts' and are printed beside them, not judged.
// Run it on a real display server so that the repaint reaches one, e.g.
//
//   xvfb-run -a -s "-screen 0 1024x768x24" window_bench [--picks N] [--memory-picks N]
//                                                       [--starts N] [--floor-attempts N]
//
// --starts 0 or --memory-picks 0 leave that part out. The bench starts itself with
// --startup-child for the start-up figure, and for the start-up floors beside it with
// --bare-window-child (an empty Qt window) and --empty-child (a process that ends at once). Its
// last line sums everything up for a script (tools/bench_platforms): "summary key=value ...".

#include "bare_board.h"
#include "main/frm_main.h"
#include "platform/desktop_platform_services.h"
#include "timer_random_source.h"
#include "window_bench_support.h"
#include "window_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace kestrune;
using namespace kestrune::ui;
using kestrune::bench::BareBoard;
using kestrune::bench::processCpuMs;
using kestrune::bench::residentKilobytes;
using kestrune::testing::PaintCounter;
using kestrune::testing::RecordingServices;

constexpr double goalFloorRatio = 1.2;
constexpr double goalStartupMs = 150;
constexpr double goalGrowthMegabytes = 2;
constexpr int waitLimitMs = 10'000;
const char* const childFlag = "--startup-child";
const char* const bareChildFlag = "--bare-window-child";
// A child that says it is there and ends, before any of Qt: what starting a process costs here.
const char* const emptyChildFlag = "--empty-child";
const char* const shownLine = "shown";

const char* verdict(bool met) {
    return met ? "met" : "NOT MET";
}

// Nearest rank: the smallest sample with at least the given share of samples at or below it.
double percentile(std::vector<double> samples, double share) {
    std::sort(samples.begin(), samples.end());
    const auto rank =
        static_cast<std::size_t>(std::ceil(share * static_cast<double>(samples.size())));
    return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    return samples.size() % 2 != 0 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

double mean(const std::vector<double>& samples) {
    double sum = 0;
    for (const double sample : samples) {
        sum += sample;
    }
    return sum / static_cast<double>(samples.size());
}

// Calls back once, after the first paint of the window while it is exposed. The zero timer runs
// when the event that painted it is done, and with it the flush of the backing store.
class FirstPaintWatcher final : public QObject {
public:
    FirstPaintWatcher(QWidget& window, std::function<void()> painted)
        : window_(window), painted_(std::move(painted)) {
        window_.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !pending_ && !reported_) {
            pending_ = true;
            QTimer::singleShot(0, this, [this] {
                pending_ = false;
                const QWindow* handle = window_.windowHandle();
                if (handle != nullptr && handle->isExposed()) {
                    reported_ = true;
                    painted_();
                }
            });
        }
        return QObject::eventFilter(watched, event);
    }

    bool reported() const { return reported_; }

private:
    QWidget& window_;
    std::function<void()> painted_;
    bool pending_ = false;
    bool reported_ = false;
};

// The child of the start-up figure: what app/main.cpp does, and a line on stdout once the
// window is on the screen.
// With `bare`, an empty window of the main window's size in place of it: what showing a Qt window
// costs here.
int runStartupChild(int argc, char** argv, bool bare) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrune"));
    QApplication::setOrganizationName(QStringLiteral("Kestrune"));

    TimerRandomSource random;
    DesktopPlatformServices services;
    try {
        std::unique_ptr<QWidget> window;
        if (bare) {
            window = std::make_unique<QWidget>();
            window->resize(
                ui::sizeFromTwips(ui::main_window::clientWidth, ui::main_window::clientHeight));
        } else {
            window = std::make_unique<frmMain>(random, services);
        }
        const FirstPaintWatcher watcher(*window, [] {
            std::printf("%s\n", shownLine);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
        QTimer::singleShot(waitLimitMs, window.get(), [] { QCoreApplication::exit(1); });
        window->show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "window_bench: the window could not start: %s\n", error.what());
        return 1;
    }
}

struct Options {
    int picks = 300;
    int memoryPicks = 10'000;
    int starts = 20;
    int floorAttempts = 3'000;
};

std::optional<Options> parseOptions(const QStringList& arguments) {
    Options options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& name = arguments[i];
        int* target = name == QLatin1String("--picks")            ? &options.picks
                      : name == QLatin1String("--memory-picks")   ? &options.memoryPicks
                      : name == QLatin1String("--starts")         ? &options.starts
                      : name == QLatin1String("--floor-attempts") ? &options.floorAttempts
                                                                  : nullptr;
        bool ok = false;
        const int value = i + 1 < arguments.size() ? arguments[i + 1].toInt(&ok) : 0;
        if (target == nullptr || !ok || value < 0) {
            return std::nullopt;
        }
        *target = value;
        ++i;
    }
    if (options.picks < 1 || options.floorAttempts < 1) {
        return std::nullopt;
    }
    return options;
}

// From just before the start to the child's line; the child's shutdown is not part of it.
std::optional<double> timeOneStart(const QString& program, const char* flag) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start(program, {QString::fromLatin1(flag)});
    QByteArray output;
    while (!output.contains('\n')) {
        if (!child.waitForReadyRead(waitLimitMs)) {
            std::fprintf(stderr, "window_bench: the start-up child gave no line (%s)\n",
                         qPrintable(child.errorString()));
            child.kill();
            child.waitForFinished(waitLimitMs);
            return std::nullopt;
        }
        output += child.readAllStandardOutput();
    }
    const double elapsedMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (!child.waitForFinished(waitLimitMs)) {
        child.kill();
        child.waitForFinished(waitLimitMs);
    }
    if (!output.startsWith(shownLine)) {
        std::fprintf(stderr, "window_bench: unexpected line from the child: %s", output.data());
        return std::nullopt;
    }
    return elapsedMs;
}

// Summed up in the last line, for tools/bench_platforms.
QStringList summary;

void summarize(const char* key, double value) {
    summary << QStringLiteral("%1=%2").arg(QLatin1String(key)).arg(value, 0, 'f', 3);
}

bool measureStartup(int starts) {
    const QString program = QCoreApplication::applicationFilePath();
    std::vector<double> samples;
    std::vector<double> bareWindow;
    std::vector<double> bareProcess;
    for (int i = 0; i < starts; ++i) {
        const std::optional<double> sample = timeOneStart(program, childFlag);
        const std::optional<double> window = timeOneStart(program, bareChildFlag);
        const std::optional<double> process = timeOneStart(program, emptyChildFlag);
        if (!sample || !window || !process) {
            return false;
        }
        samples.push_back(*sample);
        bareWindow.push_back(*window);
        bareProcess.push_back(*process);
    }
    const double middle = median(samples);
    std::printf("\nStart-up: process start to the first painted window (%d starts of\n"
                "%s %s, built like app/main.cpp)\n",
                starts, qPrintable(program), childFlag);
    std::printf("  median  ms %8.1f   goal <= %.0f ms: %s\n", middle, goalStartupMs,
                verdict(middle <= goalStartupMs));
    std::printf("  min     ms %8.1f\n", *std::min_element(samples.begin(), samples.end()));
    std::printf("  max     ms %8.1f\n", *std::max_element(samples.begin(), samples.end()));
    std::printf("  the same for an empty Qt window, median ms %.1f\n", median(bareWindow));
    std::printf("  a process that ends at once, median ms %.1f\n", median(bareProcess));
    std::fflush(stdout);
    summarize("startup_ms", middle);
    summarize("bare_window_start_ms", median(bareWindow));
    summarize("process_start_ms", median(bareProcess));
    return true;
}

bool waitUntilPainted(QWidget& window) {
    QEventLoop loop;
    const FirstPaintWatcher watcher(window, [&loop] { loop.quit(); });
    QTimer::singleShot(waitLimitMs, &loop, [&loop] { loop.quit(); });
    window.show();
    loop.exec();
    return watcher.reported();
}

// The bare board's time per attempt, in milliseconds, over the given number of attempts; shown
// for the measurement and hidden again after it.
std::optional<double> measureFloor(BareBoard& board, int attempts) {
    if (!waitUntilPainted(board)) {
        std::fprintf(stderr, "window_bench: the bare board was not painted\n");
        return std::nullopt;
    }
    QElapsedTimer clock;
    clock.start();
    for (int attempt = 0; attempt < attempts; ++attempt) {
        board.attempt();
    }
    const double perAttempt = static_cast<double>(clock.nsecsElapsed()) / 1e6 / attempts;
    QCoreApplication::processEvents();
    board.hide();
    QCoreApplication::processEvents();
    return perAttempt;
}

// The real window's picks, with what each took.
class Picker {
public:
    explicit Picker(frmMain& window)
        : window_(window), button_(window.findChild<QPushButton*>(QStringLiteral("cmdSelect"))) {
        auto* txtSelect = window.findChild<QLineEdit*>(QStringLiteral("txtSelect"));
        auto* ball = window.findChild<QLabel*>(QStringLiteral("imgRed_1"));
        if (button_ == nullptr || txtSelect == nullptr || ball == nullptr) {
            throw std::runtime_error("the window lacks cmdSelect, txtSelect or imgRed_1");
        }
        // txtSelect shows each attempt's ticket once, when the next attempt lets events run or
        // the pick ends; two attempts in a row with the same ticket are too rare to count.
        QObject::connect(txtSelect, &QLineEdit::textChanged, &window,
                         [this](const QString&) { ++attempts_; });
        // Each reset raises the number label over ball 1, so a repaint of the board repaints it.
        ballPaints_.watch(ball);
    }

    // One pick; its figures are kept when it is timed.
    void pick(bool timed) {
        const std::int64_t attemptsBefore = attempts_;
        QElapsedTimer clock;
        const double cpuBefore = processCpuMs();
        clock.start();
        button_->click();
        const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        const double cpu = processCpuMs() - cpuBefore;
        // The last attempt's repaint, as the event loop would do it right after the pick; kept
        // out of the pick's time so that it does not land in the next pick's first attempt.
        clock.restart();
        QCoreApplication::processEvents();
        if (timed) {
            attemptsPerPick.push_back(static_cast<double>(attempts_ - attemptsBefore));
            wallMs.push_back(elapsed);
            cpuMs.push_back(cpu);
            settleMs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
    }

    std::int64_t attempts() const { return attempts_; }
    std::int64_t ballPaints() const { return ballPaints_.paints; }

    std::vector<double> attemptsPerPick;
    std::vector<double> wallMs;
    std::vector<double> cpuMs;
    std::vector<double> settleMs;

private:
    frmMain& window_;
    QPushButton* button_;
    std::int64_t attempts_ = 0;
    PaintCounter ballPaints_;
};

double sum(const std::vector<double>& samples, std::size_t from) {
    double total = 0;
    for (std::size_t i = from; i < samples.size(); ++i) {
        total += samples[i];
    }
    return total;
}

int runParent(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::optional<Options> options = parseOptions(QCoreApplication::arguments());
    if (!options) {
        std::fprintf(stderr, "usage: window_bench [--picks N (>= 1)] [--memory-picks N] "
                             "[--starts N] [--floor-attempts N (>= 1)]\n");
        return 2;
    }

    const QString platform = QGuiApplication::platformName();
    std::printf("QPA platform: %s, Qt %s\n", qPrintable(platform), qVersion());
    summary << QStringLiteral("platform=") + platform << QStringLiteral("qt=") + qVersion();
    if (platform != QLatin1String("xcb") && platform != QLatin1String("wayland") &&
        platform != QLatin1String("windows")) {
        std::printf("  note: no display server; the repaint is not real and the figures say "
                    "little. Run it under xvfb-run.\n");
    }
    std::fflush(stdout);

    if (options->starts > 0 && !measureStartup(options->starts)) {
        return 1;
    }

    BareBoard board;
    TimerRandomSource random;
    RecordingServices services;
    frmMain window(random, services);
    std::optional<Picker> picker;
    try {
        picker.emplace(window);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "window_bench: %s\n", error.what());
        return 1;
    }
    // Both warmed up once: the first paints of a window load fonts and pictures.
    if (!measureFloor(board, 50) || !waitUntilPainted(window)) {
        return 1;
    }
    for (int pick = 0; pick < 5; ++pick) {
        picker->pick(false);
    }
    const long rssAtStart = residentKilobytes();

    // The floor and the pick take turns in rounds, each round in one window alone, so that a
    // change of the machine's speed during the run touches both alike; the ratio is each round's
    // pick per attempt over its floor, and the median of the rounds is judged.
    constexpr int rounds = 5;
    std::vector<double> floorMs;
    std::vector<double> ratios;
    double timedAttempts = 0;
    for (int round = 0; round < rounds; ++round) {
        window.hide();
        const std::optional<double> floor =
            measureFloor(board, std::max(1, options->floorAttempts / rounds));
        if (!floor || !waitUntilPainted(window)) {
            std::fprintf(stderr, "window_bench: a window was not painted\n");
            return 1;
        }
        const std::size_t first = picker->wallMs.size();
        const std::int64_t attemptsBefore = picker->attempts();
        const int picks = options->picks / rounds + (round < options->picks % rounds ? 1 : 0);
        for (int pick = 0; pick < picks; ++pick) {
            picker->pick(true);
        }
        const auto attempts = static_cast<double>(picker->attempts() - attemptsBefore);
        if (attempts > 0) {
            floorMs.push_back(*floor);
            ratios.push_back(sum(picker->wallMs, first) / attempts / *floor);
            timedAttempts += attempts;
        }
    }
    const double perAttempt = sum(picker->wallMs, 0) / timedAttempts;
    const double floor = median(floorMs);
    const double ratio = median(ratios);
    std::printf("\nMachine pick in the window: %d clicks on cmdSelect, real random source, "
                "repaint at every attempt, in %d rounds with the floor\n",
                options->picks, rounds);
    std::printf("  per attempt           ms %8.3f\n", perAttempt);
    std::printf("  floor per attempt     ms %8.3f   (bare board, median of the rounds: %d "
                "attempts in all)\n",
                floor, options->floorAttempts);
    std::printf("  ratio to the floor       %8.2f   goal <= %.1f: %s   (rounds %.2f to %.2f)\n",
                ratio, goalFloorRatio, verdict(ratio <= goalFloorRatio),
                *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()));
    const std::vector<double>& perPick = picker->attemptsPerPick;
    std::printf("  attempts per pick     median %5.0f   99th %% %5.0f   mean %.1f\n",
                median(perPick), percentile(perPick, 0.99), mean(perPick));
    const std::vector<double>& wallMs = picker->wallMs;
    std::printf("  wall time per pick ms median %5.1f   99th %% %5.1f   mean %.1f "
                "(min %.2f, max %.2f)\n",
                median(wallMs), percentile(wallMs, 0.99), mean(wallMs),
                *std::min_element(wallMs.begin(), wallMs.end()),
                *std::max_element(wallMs.begin(), wallMs.end()));
    std::printf("  CPU time per pick     median ms %.2f   (this process only; the display "
                "server draws in its own)\n",
                median(picker->cpuMs));
    std::printf("  repaints of imgRed_1 per attempt %.2f\n",
                static_cast<double>(picker->ballPaints()) /
                    static_cast<double>(picker->attempts()));
    std::printf("  final repaint after the pick, mean ms %.2f (not in the figures above)\n",
                mean(picker->settleMs));
    std::fflush(stdout);
    summarize("attempt_ms", perAttempt);
    summarize("floor_ms", floor);
    summarize("ratio", ratio);
    summarize("attempts_median", median(perPick));
    summarize("attempts_p99", percentile(perPick, 0.99));
    summarize("pick_median_ms", median(wallMs));
    summarize("pick_p99_ms", percentile(wallMs, 0.99));

    if (options->memoryPicks > 0) {
        const long rssAfterTimed = residentKilobytes();
        for (int pick = 0; pick < options->memoryPicks; ++pick) {
            picker->pick(false);
        }
        const long rssAtEnd = residentKilobytes();
        const int picks = options->picks + options->memoryPicks + 5;
        const double growthMegabytes = static_cast<double>(rssAtEnd - rssAtStart) / 1024.0;
        std::printf("\nResident memory over %d picks\n", picks);
        std::printf("  after start and 5 picks KB %8ld\n", rssAtStart);
        std::printf("  after the timed picks   KB %8ld\n", rssAfterTimed);
        std::printf("  after %6d picks       KB %8ld\n", picks, rssAtEnd);
        std::printf("  growth since start      MB %8.2f   goal <= %.0f MB: %s\n", growthMegabytes,
                    goalGrowthMegabytes, verdict(growthMegabytes <= goalGrowthMegabytes));
        summarize("growth_mb", growthMegabytes);
    }
    std::printf("\nsummary %s\n", qPrintable(summary.join(u' ')));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], emptyChildFlag) == 0) {
            std::printf("%s\n", shownLine);
            return 0;
        }
        if (std::strcmp(argv[i], childFlag) == 0 || std::strcmp(argv[i], bareChildFlag) == 0) {
            return runStartupChild(argc, argv, std::strcmp(argv[i], bareChildFlag) == 0);
        }
    }
    return runParent(argc, argv);
}
