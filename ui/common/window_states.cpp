// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/window_states.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace kestrune::ui {

namespace {

// Watches a window's states and answers a refused one: at once with the window's own size, so
// that a Wayland compositor gets the request to leave a maximized state in the same batch as the
// one to enter it; by closing a little later, outside the window system's own change.
class StateWatcher final : public QObject {
public:
    enum class Answer { normalState, close };

    StateWatcher(QWidget& window, Qt::WindowStates refused, Answer answer)
        : QObject(&window), window_(window), refused_(refused), answer_(answer) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_) {
            if (event->type() == QEvent::WindowStateChange) {
                answer(window_.windowState());
            } else if (event->type() == QEvent::Show && !watchingHandle_ &&
                       window_.windowHandle() != nullptr) {
                // A state that Qt's own title bar asks for on Wayland reaches the platform
                // window only, never the widget: Wayland does not report minimizing.
                watchingHandle_ = true;
                connect(window_.windowHandle(), &QWindow::windowStateChanged, this,
                        [this](Qt::WindowState state) { answer(state); });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void answer(Qt::WindowStates states) {
        if ((states & refused_) == 0) {
            return;
        }
        if (answer_ == Answer::close) {
            QTimer::singleShot(0, &window_, [window = &window_] { window->close(); });
        } else {
            window_.setWindowState(window_.windowState() & ~refused_);
            if (window_.windowHandle() != nullptr) {
                window_.windowHandle()->setWindowStates(window_.windowHandle()->windowStates() &
                                                        ~refused_);
            }
        }
    }

    QWidget& window_;
    Qt::WindowStates refused_;
    Answer answer_;
    bool watchingHandle_ = false;
};

// Brings the modal window that blocks a window back when that window is activated. Only the
// blocked window is watched: activating the modal window itself starts nothing again.
class ModalReturner final : public QObject {
public:
    explicit ModalReturner(QWidget& owner) : QObject(&owner), owner_(owner) {
        owner.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &owner_) {
            switch (event->type()) {
            case QEvent::WindowBlocked:
                blocked_ = true;
                break;
            case QEvent::WindowUnblocked:
                blocked_ = false;
                break;
            case QEvent::WindowActivate:
                // Later, once the activation is through: Qt's Wayland plugin answers the focus
                // moving into the blocked window by asking for that window's activation
                // again, and the last request wins.
                if (blocked_) {
                    QTimer::singleShot(0, this, [this] { bringBack(); });
                }
                break;
            default:
                break;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void bringBack() const {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == owner_.window() || !modal->isVisible()) {
            return;
        }
        if (modal->isMinimized()) {
            modal->showNormal();
        }
        modal->raise();
        // On Wayland the compositor decides; Qt asks it through xdg-activation where it can.
        modal->activateWindow();
    }

    QWidget& owner_;
    bool blocked_ = false;
};

// Marks the control's window on the control's first focus, then goes.
class StartFocusShower final : public QObject {
public:
    explicit StartFocusShower(QWidget& control) : QObject(&control), control_(control) {
        control.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &control_ && event->type() == QEvent::FocusIn) {
            control_.window()->setAttribute(Qt::WA_KeyboardFocusChange);
            control_.removeEventFilter(this);
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& control_;
};

} // namespace

void keepFixedSize(QWidget& window) {
    new StateWatcher(window, Qt::WindowMaximized | Qt::WindowFullScreen,
                     StateWatcher::Answer::normalState);
}

void closeWhenMinimized(QWidget& window) {
    new StateWatcher(window, Qt::WindowMinimized, StateWatcher::Answer::close);
}

void bringBackModalOnActivation(QWidget& owner) {
    new ModalReturner(owner);
}

void showFocusFromStart(QWidget& control) {
    new StartFocusShower(control);
}

} // namespace kestrune::ui
