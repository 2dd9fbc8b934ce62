#include "common/window_states.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace kestrune::ui {

namespace {

// Watches a window's state changes and answers a refused state once the change is complete.
class StateWatcher final : public QObject {
public:
    enum class Answer { normalState, close };

    StateWatcher(QWidget& window, Qt::WindowStates refused, Answer answer)
        : QObject(&window), refused_(refused), answer_(answer) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange) {
            auto* window = static_cast<QWidget*>(watched);
            if ((window->windowState() & refused_) != 0) {
                // Later, not inside the window system's own change.
                QTimer::singleShot(0, window, [window, refused = refused_, answer = answer_] {
                    if (answer == Answer::close) {
                        window->close();
                    } else {
                        window->setWindowState(window->windowState() & ~refused);
                    }
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Qt::WindowStates refused_;
    Answer answer_;
};

} // namespace

void keepFixedSize(QWidget& window) {
    new StateWatcher(window, Qt::WindowMaximized | Qt::WindowFullScreen,
                     StateWatcher::Answer::normalState);
}

void closeWhenMinimized(QWidget& window) {
    new StateWatcher(window, Qt::WindowMinimized, StateWatcher::Answer::close);
}

} // namespace kestrune::ui
