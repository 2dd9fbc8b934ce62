// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "frm_main.h"

#include "common/accessibility.h"
#include "common/activation_keys.h"
#include "common/fonts.h"
#include "common/line_spacing.h"
#include "common/picture_sizes.h"
#include "common/pictures.h"
#include "common/twips.h"
#include "common/window_states.h"
#include "help/frm_help.h"
#include "kestrune/version.h"
#include "main_window_layout.h"
#include "past_draw_record.h"
#include "platform/platform_services.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QtDebug>
#include <string_view>

namespace kestrune::ui {

namespace {

QString twoDigitCaption(std::int16_t n) {
    return QString::fromStdString(twoDigitText(n));
}

// True when `front` is stacked above its sibling `back`: later children paint over earlier ones.
bool isInFrontOf(const QWidget* front, const QWidget* back) {
    const QObjectList& siblings = front->parentWidget()->children();
    return siblings.indexOf(front) > siblings.indexOf(back);
}

// The picture drawn for the screen's scale, so the ball stays a crisp disc at 125 % or 150 %; a
// plain 32-pixel QPixmap would be resampled and blurred.
QPixmap loadPicture(const QString& path) {
    const QPixmap picture = sizedPicture(path, ballPictureSizes).pixmap(QSize(32, 32));
    if (picture.isNull()) {
        throw std::runtime_error("the picture " + path.toStdString() + " is missing");
    }
    return picture;
}

// A row of the window's table, looked up while compiling: a name that the table lacks does not
// build.
consteval const ControlLayout& rowOf(std::string_view name) {
    return main_window::control(name);
}

QPushButton* makeButton(QWidget* parent, const ControlLayout& row) {
    auto* button = makeControl<QPushButton>(parent, row);
    button->setAutoDefault(false);
    return button;
}

} // namespace

// The engine writes a box at every step of composing a text. Each write would reach a screen
// reader as an edit of its own (a pick made hundreds), so the box holds the text and shows it
// only when the window lets events run or the pick ends: nobody could see the steps anyway.

// The ticket field (txtSelect) shows the selection text as it is.
class frmMain::HeldTicketText final : public TextBox {
public:
    explicit HeldTicketText(QLineEdit* box) : box_(box) {}
    void setText(const std::string& text) override { held_ = QString::fromStdString(text); }
    void show() {
        if (box_->text() != held_) {
            box_->setText(held_);
        }
    }

private:
    QLineEdit* box_;
    QString held_;
};

// The statistics box (txtData) gets CR LF line ends, which the text document takes as one line
// break each. Its eight lines are spaced to fit the box in whatever face it shows.
class frmMain::HeldStatisticsText final : public TextBox {
public:
    explicit HeldStatisticsText(QTextEdit* box) : box_(box) {}
    void setText(const std::string& text) override {
        held_ = QString::fromStdString(text);
        written_ = true;
    }
    void show() {
        if (written_) {
            written_ = false;
            setTextWithLinesFitted(*box_, held_, statisticsLineCount);
            // The caret at the first line, so that a screen reader reads the box from the top.
            box_->moveCursor(QTextCursor::Start);
        }
    }

private:
    QTextEdit* box_;
    QString held_;
    bool written_ = false;
};

frmMain::frmMain(RandomSource& random, PlatformServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      random_(random), services_(services),
      ballNumberFont_(uiFont(main_window::ballNumberPointSize)) {
    setObjectName(QStringLiteral("frmMain"));
    // One simplified-Chinese face for every caption and box, in every locale.
    setFont(uiFont());
    setWindowIcon(sizedPicture(QStringLiteral(":/assets/kestrune.png"), iconPictureSizes));
    keepFixedSize(*this);
    bringBackModalOnActivation(*this);
    createBoard();
    createTextBoxesAndButtons();
    createTemplates();
    createRecordBoxes();
    setUpTabOrder();
    setUpKeys();

    heldTicket_ = std::make_unique<HeldTicketText>(ticketField_);
    heldStatistics_ = std::make_unique<HeldStatisticsText>(statisticsBox_);
    state_ = std::make_unique<SelectionState>(*this, *heldTicket_);
    load();
}

frmMain::~frmMain() = default;

void frmMain::createBoard() {
    auto* redFrame = makeControl<QGroupBox>(this, rowOf("fraRed"));
    auto* blueFrame = makeControl<QGroupBox>(this, rowOf("fraBlue"));

    QPalette numberPalette;
    numberPalette.setColor(QPalette::WindowText, main_window::ballNumberColour);
    auto createBalls = [&](auto& balls, BallColour colour, QGroupBox* frame, const char* prefix) {
        for (std::int16_t n = 1; n <= static_cast<std::int16_t>(balls.size()); ++n) {
            Ball& ball = balls[static_cast<std::size_t>(n - 1)];
            ball.image = new QLabel(frame);
            ball.image->setObjectName(QStringLiteral("img%1_%2").arg(prefix).arg(n));
            ball.image->setGeometry(main_window::ballRect(colour, n));
            ball.image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            // Picture and number are one ball to a screen reader. The blue frame's caption
            // writes 兰 for 蓝 (blue); a ball's name uses the usual character.
            exposeAsBall(ball.image, QStringLiteral("%1 %2").arg(colour == BallColour::red
                                                                     ? QStringLiteral("红球")
                                                                     : QStringLiteral("蓝球"),
                                                                 twoDigitCaption(n)));

            // Every label starts as "01"; the first reset gives it its own number and place.
            ball.label = new QLabel(QStringLiteral("01"), frame);
            ball.label->setObjectName(QStringLiteral("lbl%1_%2").arg(prefix).arg(n));
            ball.label->setPalette(numberPalette);
            const bool small = colour == BallColour::red && n == redBallCount;
            ball.label->setFont(uiFont(small ? main_window::lastRedNumberPointSizeBeforeReset
                                             : main_window::numberPointSizeBeforeReset));
            ball.label->adjustSize();
            hideFromAccessibility(ball.label);
        }
    };
    createBalls(redBalls_, BallColour::red, redFrame, "Red");
    createBalls(blueBalls_, BallColour::blue, blueFrame, "Blue");
}

void frmMain::createTextBoxesAndButtons() {
    // A QTextEdit rather than a QPlainTextEdit: only its layout honours a fixed line spacing.
    statisticsBox_ = makeControl<QTextEdit>(this, rowOf("txtData"));
    statisticsBox_->setAcceptRichText(false);
    statisticsBox_->setUndoRedoEnabled(false);
    statisticsBox_->setReadOnly(true);
    statisticsBox_->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                            Qt::TextSelectableByKeyboard);
    statisticsBox_->setFocusPolicy(Qt::StrongFocus);
    statisticsBox_->setTabChangesFocus(true);
    statisticsBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    statisticsBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A narrow margin, so that the widest line ("三段分布：" and a three-digit code) stays on
    // one line in a box only 97 pixels wide.
    statisticsBox_->document()->setDocumentMargin(2);
    statisticsBox_->setAccessibleName(QStringLiteral("号码统计"));
    exposeAsTextBox(statisticsBox_);

    ticketField_ = makeControl<QLineEdit>(this, rowOf("txtSelect"));
    ticketField_->setReadOnly(true);
    ticketField_->setAlignment(Qt::AlignCenter);
    ticketField_->setAccessibleName(QStringLiteral("机选号码"));
    exposeAsTextLine(ticketField_);

    pickButton_ = makeButton(this, rowOf("cmdSelect"));
    exitButton_ = makeButton(this, rowOf("cmdExit"));
    helpButton_ = makeButton(this, rowOf("cmdHelp"));
    connect(pickButton_, &QPushButton::clicked, this, &frmMain::onSelectClicked);
    connect(exitButton_, &QPushButton::clicked, this, &frmMain::onExitClicked);
    connect(helpButton_, &QPushButton::clicked, this, &frmMain::onHelpClicked);

    // Below the visible client area, like the templates, and hidden until a pick is accepted.
    pickNews_ = makeControl<QLabel>(this, rowOf("pickNews"));
    pickNews_->hide();
    exposeAsNotification(pickNews_);
}

// The templates lie below the visible client area; they are placed there, not hidden, but a
// screen reader has no business with them.
void frmMain::createTemplates() {
    auto createTemplate = [this](const ControlLayout& row, const QString& path) {
        auto* image = makeControl<QLabel>(this, row);
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        image->setPixmap(loadPicture(path));
        hideFromAccessibility(image);
        return image;
    };
    redTemplate_ = createTemplate(rowOf("imgRedBall"), QStringLiteral(":/assets/red-ball.png"));
    blueTemplate_ = createTemplate(rowOf("imgBlueBall"), QStringLiteral(":/assets/blue-ball.png"));
    grayTemplate_ = createTemplate(rowOf("imgGrayBall"), QStringLiteral(":/assets/gray-ball.png"));
    for (Ball& ball : redBalls_) {
        ball.image->setPixmap(grayTemplate_->pixmap());
    }
    for (Ball& ball : blueBalls_) {
        ball.image->setPixmap(grayTemplate_->pixmap());
    }
}

// The record boxes lie right of the visible client area, one per year in a grid of four
// columns. They are editable, but nothing ever reads them. Nobody can see them, so the focus
// never goes there and a screen reader does not find them.
void frmMain::createRecordBoxes() {
    const RecordSplit record = splitRecordByYear(bundledRecord());
    if (!record.malformed.isEmpty()) {
        qWarning().noquote() << "The past-draw record has lines that are not draws; they are left"
                                " out of the record boxes:\n"
                             << record.malformed.join(u'\n');
    }
    for (int k = 0; k < recordBoxCount; ++k) {
        auto* box = new QPlainTextEdit(this);
        box->setObjectName(QStringLiteral("txtRecord_%1").arg(k));
        box->setGeometry(main_window::recordBoxRect(k));
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setTabChangesFocus(true);
        box->setFocusPolicy(Qt::NoFocus);
        hideFromAccessibility(box);
        box->setPlainText(record.boxes[static_cast<std::size_t>(k)]);
    }
}

void frmMain::setUpTabOrder() {
    const QList<QWidget*> cycle{pickButton_, ticketField_, exitButton_, statisticsBox_,
                                helpButton_};
    for (qsizetype i = 0; i + 1 < cycle.size(); ++i) {
        setTabOrder(cycle[i], cycle[i + 1]);
    }
    pickButton_->setFocus();
    showFocusFromStart(*pickButton_);
}

// F1 and Ctrl+Q where the platform uses them; Enter presses a focused button as the space bar
// does, with no default button on the window.
void frmMain::setUpKeys() {
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &frmMain::onHelpClicked);
    // Where the platform has no key to quit (Windows closes with Alt+F4), Ctrl+Q still works.
    const QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    auto* quit = new QShortcut(
        quitKeys.isEmpty() ? QKeySequence(Qt::CTRL | Qt::Key_Q) : quitKeys.front(), this);
    connect(quit, &QShortcut::activated, this, &frmMain::onExitClicked);
    for (QPushButton* button : {pickButton_, exitButton_, helpButton_}) {
        button->installEventFilter(this);
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    // Held down, Enter presses a button once: a held key must not start pick after pick.
    if (auto* button = qobject_cast<QPushButton*>(watched);
        button != nullptr && activateOnKey(*event, ActivationKeys::enter, HeldKey::activatesOnce,
                                           [button] { button->click(); })) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::load() {
    setWindowTitle(QStringLiteral("Kestrune %1.%2.%3")
                       .arg(version::major)
                       .arg(version::minor)
                       .arg(version::revision));
    // A screen reader names the window by what the program does as well.
    setAccessibleName(windowTitle() + QStringLiteral(" 彩票机选"));
    setFixedSize(sizeFromTwips(main_window::clientWidth, main_window::clientHeight));

    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        move(centredIn(screen->geometry(),
                       QSizeF(main_window::outerWidth, main_window::outerHeight)));
    }
    startPosition_ = pos();
    state_->resetBoard();
    showHeldTexts();
}

frmMain::Ball& frmMain::ball(BallColour colour, std::int16_t n) {
    const std::size_t count = colour == BallColour::red ? redBalls_.size() : blueBalls_.size();
    if (n < 1 || static_cast<std::size_t>(n) > count) {
        throw std::out_of_range("there is no ball " + std::to_string(n) + " on the board");
    }
    Ball* balls = colour == BallColour::red ? redBalls_.data() : blueBalls_.data();
    return balls[n - 1];
}

QLabel* frmMain::templateImage(BallPicture picture) const {
    switch (picture) {
    case BallPicture::markedRed:
        return redTemplate_;
    case BallPicture::markedBlue:
        return blueTemplate_;
    case BallPicture::gray:
        return grayTemplate_;
    }
    throw std::logic_error("unknown ball picture");
}

// Every part of the reset is skipped where the label already has it, so that a reset of an
// unchanged label schedules no repaint: the board then repaints only the balls an attempt changes.
void frmMain::resetBallLabel(BallColour colour, std::int16_t n) {
    Ball& target = ball(colour, n);
    QLabel* label = target.label;
    if (!isInFrontOf(label, target.image)) {
        label->raise();
    }
    bool resize = false;
    const QString caption = twoDigitCaption(n);
    if (label->text() != caption) {
        label->setText(caption);
        resize = true;
    }
    if (label->font() != ballNumberFont_) {
        label->setFont(ballNumberFont_);
        resize = true;
    }
    if (resize) {
        label->adjustSize();
    }
    if (label->palette().color(QPalette::WindowText) != main_window::ballNumberColour) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, main_window::ballNumberColour);
        label->setPalette(palette);
    }
    label->move(main_window::ballNumberTopLeft(target.image->pos()));
}

// The ball gets the template's own pixmap: QPixmap is implicitly shared, so no pixel is copied.
// A ball that already shows it keeps it untouched (QLabel would repaint it anyway).
void frmMain::showBallPicture(BallColour colour, std::int16_t n, BallPicture picture) {
    QLabel* image = ball(colour, n).image;
    const QPixmap shown = templateImage(picture)->pixmap();
    if (image->pixmap().cacheKey() != shown.cacheKey()) {
        image->setPixmap(shown);
    }
}

HostState frmMain::processPendingEvents() {
    showHeldTexts();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return ending_ ? HostState::ending : HostState::running;
}

void frmMain::onSelectClicked() {
    // Hidden again, so that the next accepted ticket shows it anew (and is spoken anew, even
    // when it equals the previous one).
    if (!state_->busy()) {
        pickNews_->hide();
        // The ticket field shows every attempt's ticket; a screen reader hears only the last.
        holdTextEvents(ticketField_);
    }
    try {
        const PickOutcome outcome = pickTicket(*state_, random_, *this, *heldStatistics_);
        if (outcome != PickOutcome::busy) {
            endOfPick(outcome);
        }
    } catch (const std::exception& error) {
        endOfPick(PickOutcome::abandoned);
        reportError(rowOf("cmdSelect").caption.toString(), error);
    }
}

void frmMain::showHeldTexts() {
    heldTicket_->show();
    heldStatistics_->show();
}

// What a pick leaves reaches assistive technology once, here. Orca speaks neither a text change
// in a box without the focus nor a changed description (Qt sends the object where Orca expects
// the text), so the accepted ticket is announced (announce: an announcement with Qt 6.8, a
// notification that appears with Qt 6.4), and the focus stays on 机选.
void frmMain::endOfPick(PickOutcome outcome) {
    showHeldTexts();
    releaseTextEvents(ticketField_);
    for (std::int16_t n = 1; n <= redBallCount; ++n) {
        setBallMarked(ball(BallColour::red, n).image, state_->redMarked(n));
    }
    for (std::int16_t n = 1; n <= blueBallCount; ++n) {
        setBallMarked(ball(BallColour::blue, n).image, state_->blueMarked(n));
    }
    if (outcome == PickOutcome::accepted) {
        const Ticket& ticket = state_->ticketNumbers();
        QStringList reds;
        for (int position = Ticket::first; position < Ticket::last; ++position) {
            reds << twoDigitCaption(ticket[position]);
        }
        const QString news = QStringLiteral("红球 %1，蓝球 %2")
                                 .arg(reds.join(u' '), twoDigitCaption(ticket[Ticket::last]));
        announce(pickNews_, news);
    }
}

void frmMain::onHelpClicked() {
    try {
        // Centred on the screen as designed; once the user has moved the main window, over it,
        // so that the two stay together.
        showHelpWindow(services_, this, pos() != startPosition_);
    } catch (const std::exception& error) {
        reportError(rowOf("cmdHelp").caption.toString(), error);
    }
}

void frmMain::onExitClicked() {
    endProgram();
}

void frmMain::closeEvent(QCloseEvent* event) {
    event->accept();
    endProgram();
}

// Ends the program at once. A pick waiting in processPendingEvents sees ending_ and returns
// without another attempt; the event loop then exits with status 0.
void frmMain::endProgram() {
    ending_ = true;
    hide();
    QCoreApplication::exit(0);
}

void frmMain::reportError(const QString& what, const std::exception& error) {
    QMessageBox box(QMessageBox::Critical, windowTitle(),
                    QStringLiteral("“%1”未能完成，程序可以继续使用。").arg(what), QMessageBox::Ok,
                    this);
    box.setObjectName(QStringLiteral("errorBox"));
    box.setInformativeText(QString::fromLocal8Bit(error.what()));
    describeMessageBox(box);
    box.exec();
}

} // namespace kestrune::ui
