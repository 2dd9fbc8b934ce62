// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/frm_help.h"

#include "common/accessibility.h"
#include "common/activation_keys.h"
#include "common/fonts.h"
#include "common/palettes.h"
#include "common/picture_sizes.h"
#include "common/pictures.h"
#include "common/twips.h"
#include "common/window_states.h"
#include "help/help_lines.h"
#include "help/help_window_layout.h"
#include "platform/platform_services.h"

#include <QColor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWindow>
#include <algorithm>
#include <iterator>

namespace kestrune::ui {

namespace {

// The lines' colours as designed: pure green for a link under the pointer, black for every line
// once the pointer has crossed the bare window.
constexpr QColor hoveredLinkColour(0, 255, 0); // green
constexpr QColor restedColour(0, 0, 0);        // black

bool isLink(int index) {
    return helpLines()[index].link.has_value();
}

// A line of the window. A link line that has the keyboard focus wears the style's focus frame:
// its colour already tells of the pointer, so the focus must show as a shape.
class InformationLabel final : public QLabel {
public:
    explicit InformationLabel(QWidget* parent) : QLabel(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (hasFocus()) {
            QPainter painter(this);
            QStyleOptionFocusRect frame;
            frame.initFrom(this);
            frame.state |= QStyle::State_KeyboardFocusChange;
            frame.backgroundColor = palette().color(backgroundRole());
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
        }
    }
};

void showText(QLabel* label, const QColor& colour, bool underline) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    if (label->font().underline() != underline) {
        QFont font = label->font();
        font.setUnderline(underline);
        label->setFont(font);
    }
}

// A hovered link is underlined as well: pure green on the light gray face is hard to tell from
// the other lines by colour alone.
void showHovered(QLabel* label, bool hovered) {
    showText(label, hovered ? hoveredLinkColour : restedColour, hovered);
}

} // namespace

frmHelp::frmHelp(PlatformServices& services)
    : QDialog(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      services_(services) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Kestrune 帮助"));
    setFont(uiFont());
    // The lines turn black and green as designed on a light window face; a dark theme would
    // leave them unreadable, so the window keeps that light face there.
    if (contrastRatio(restedColour, palette().color(QPalette::Window)) < minimumTextContrast) {
        setPalette(lightFacePalette());
    }
    setFixedSize(sizeFromTwips(help_window::clientWidth, help_window::clientHeight));
    setSizeGripEnabled(false);
    // The program's icon, which title bars and task switchers show; and no maximized or
    // minimized state even where a title bar offers one anyway.
    setWindowIcon(sizedPicture(QStringLiteral(":/assets/kestrune.png"), iconPictureSizes));
    keepFixedSize(*this);
    closeWhenMinimized(*this);
    // Moves over the bare window reach mouseMoveEvent without a button held down as well.
    setMouseTracking(true);

    const QColor startColour = palette().color(QPalette::ButtonText);
    QStringList allText;
    for (int index = 0; index < helpLineCount; ++index) {
        auto* label = makeControl<InformationLabel>(this, help_window::controls[index]);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(false);
        label->setText(helpLines()[index].text);
        allText << label->text();
        // The links are reached with Tab only: a click must not move the focus from cmdOk.
        label->setFocusPolicy(isLink(index) ? Qt::TabFocus : Qt::NoFocus);
        if (isLink(index)) {
            exposeAsLink(label);
        }
        label->setBackgroundRole(QPalette::Window);
        label->setAutoFillBackground(true);
        showText(label, startColour, false);
        // The row gives the place; the size is the text's.
        label->adjustSize();
        // A label keeps its own mouse events: a move over a label is never one over the window.
        label->setMouseTracking(true);
        label->setAttribute(Qt::WA_NoMousePropagation);
        label->installEventFilter(this);
        lblInformation_[index] = label;
    }

    cmdOk_ = makeControl<QPushButton>(this, help_window::control("cmdOk"));
    // The blanks only space the caption out; a screen reader would read them.
    cmdOk_->setAccessibleName(QStringLiteral("确定"));
    // Neither the default nor the cancel button of the window.
    cmdOk_->setAutoDefault(false);
    cmdOk_->setDefault(false);
    cmdOk_->setFocusPolicy(Qt::StrongFocus);
    // Nor is a move over the button one over the bare window.
    cmdOk_->setAttribute(Qt::WA_NoMousePropagation);
    cmdOk_->installEventFilter(this);
    showFocusFromStart(*cmdOk_);
    connect(cmdOk_, &QPushButton::clicked, this, &QWidget::close);
    // Tab goes from cmdOk through the links, top to bottom.
    QWidget* previous = cmdOk_;
    for (int index = 0; index < helpLineCount; ++index) {
        if (isLink(index)) {
            setTabOrder(previous, lblInformation_[index]);
            previous = lblInformation_[index];
        }
    }
    cmdOk_->setFocus();
    // A screen reader reads a dialog's loose labels on opening only when they hold three words
    // or more, which Chinese lines without spaces never do; it reads the description instead.
    setAccessibleDescription(allText.join(u'\n'));
    exposeAsDialog(this);
    linkNews_ = makeControl<QLabel>(this, help_window::control("linkNews"));
    linkNews_->hide();
    exposeAsNotification(linkNews_);
}

void frmHelp::centreOnScreen(const QWidget* framedLike) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    centreIn(screen->geometry(), framedLike);
}

void frmHelp::centreOver(const QWidget& window) {
    centreIn(window.frameGeometry(), &window);
    // Over a window dragged partly off its screen, the help window stays whole on that screen.
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QRect outer = frameGeometry();
    move(std::clamp(outer.left(), area.left(),
                    std::max(area.left(), area.right() - outer.width() + 1)),
         std::clamp(outer.top(), area.top(),
                    std::max(area.top(), area.bottom() - outer.height() + 1)));
}

void frmHelp::centreIn(const QRect& area, const QWidget* framedLike) {
    // The platform window knows the size of its frame once it exists, except under an X11
    // window manager, which frames a window only once it is shown: there a window of the
    // program that is already shown lends its frame.
    winId();
    QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    const bool frameLent =
        frame.isNull() && framedLike != nullptr && framedLike->windowHandle() != nullptr;
    if (frameLent) {
        frame = framedLike->windowHandle()->frameMargins();
    }
    const QSize outer = size().grownBy(frame);

    // move() places the outer rectangle, frame included, as far as the window knows its frame:
    // without one of its own yet, that is the client area.
    const QPoint frameTopLeft =
        centredIn(area, QSizeF(twipsOf(outer.width()), twipsOf(outer.height())));
    move(frameLent ? frameTopLeft + QPoint(frame.left(), frame.top()) : frameTopLeft);
}

bool frmHelp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cmdOk_) {
        // Like any focused button, cmdOk answers Enter as well as the space bar; a held Enter
        // presses it at every repeat.
        if (activateOnKey(*event, ActivationKeys::enter, HeldKey::activatesAgain,
                          [this] { cmdOk_->click(); })) {
            return true;
        }
        return QDialog::eventFilter(watched, event);
    }

    const int index = informationIndexOf(watched);
    if (index < 0) {
        return QDialog::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::KeyPress:
        // A link with the focus follows on Enter or the space bar, as a click does.
        if (isLink(index) &&
            activateOnKey(*event, ActivationKeys::enterOrSpace, HeldKey::activatesOnce,
                          [this, index] { lblInformationClick(index); })) {
            return true;
        }
        return QDialog::eventFilter(watched, event);
    case QEvent::MouseMove:
        lblInformationMouseMove(index);
        return true;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            pressedIndex_ = index;
        }
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) {
            return true;
        }
        // A click is a press and a release over the same label.
        const bool clicked = pressedIndex_ == index &&
                             lblInformation_[index]->rect().contains(mouse->position().toPoint());
        pressedIndex_ = -1;
        if (clicked) {
            lblInformationClick(index);
        }
        return true;
    }
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void frmHelp::mouseMoveEvent(QMouseEvent* event) {
    // Only moves over the bare window arrive here; the labels and the button keep theirs.
    for (QLabel* label : lblInformation_) {
        showHovered(label, false);
    }
    event->accept();
}

void frmHelp::keyPressEvent(QKeyEvent* event) {
    // The window has no cancel and no default button: Esc and Enter close nothing.
    if (event->matches(QKeySequence::Cancel) || event->key() == Qt::Key_Escape ||
        event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

int frmHelp::informationIndexOf(const QObject* object) const {
    const auto found = std::find(lblInformation_.begin(), lblInformation_.end(), object);
    return found == lblInformation_.end()
               ? -1
               : static_cast<int>(std::distance(lblInformation_.begin(), found));
}

void frmHelp::lblInformationMouseMove(int index) {
    if (isLink(index)) {
        showHovered(lblInformation_[index], true);
    }
}

void frmHelp::lblInformationClick(int index) {
    if (!isLink(index)) {
        return;
    }
    // A link that fails changes nothing, and the next click simply tries again; the user learns
    // why in a message box. One that works is announced to a screen reader, which would hear
    // nothing else: the program it starts opens a window of its own, or none at all. The
    // services come from outside; whatever they throw stops here.
    const HelpLink& link = *helpLines()[index].link;
    QString failure;
    try {
        failure = link.follow(services_);
    } catch (const std::exception& error) {
        failure = QStringLiteral("未能打开链接：%1").arg(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        failure = QStringLiteral("未能打开链接。");
    }
    if (failure.isEmpty()) {
        announce(linkNews_, link.followedNews);
        return;
    }
    QMessageBox box(QMessageBox::Warning, windowTitle(), failure, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("linkFailureBox"));
    describeMessageBox(box);
    box.exec();
}

void showHelpWindow(PlatformServices& services, QWidget* mainWindow, bool overMainWindow) {
    auto* window = new frmHelp(services);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    if (overMainWindow && mainWindow != nullptr) {
        window->centreOver(*mainWindow->window());
    } else {
        window->centreOnScreen(mainWindow != nullptr ? mainWindow->window() : nullptr);
    }
    // The window stays without an owner widget, but the window system learns that it belongs
    // to the main window: a Wayland compositor, which ignores where a program puts its windows,
    // then places it over the main window instead of anywhere.
    if (mainWindow != nullptr && window->windowHandle() != nullptr) {
        window->windowHandle()->setTransientParent(mainWindow->window()->windowHandle());
    }
    // exec() returns when the window has been closed and deletes it then (delete on close).
    window->exec();
}

} // namespace kestrune::ui
