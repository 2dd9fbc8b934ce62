// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

namespace kestrune::ui {

namespace {

// Dynamic properties that carry the marks from the windows to the factory.
constexpr const char* kindProperty = "kestrune_accessibleKind";
constexpr const char* hidesChildrenProperty = "kestrune_hidesAccessibleChildren";
constexpr const char* markedProperty = "kestrune_ballMarked";
constexpr const char* heldTextProperty = "kestrune_heldText";

enum class Kind { plain, hidden, ball, link, notification, textLine, dialog, invisible };

const QString markedWords = QStringLiteral("已选中");
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
constexpr int announcementMs = 1000;
#endif

Kind kindOf(const QObject* object) {
    return static_cast<Kind>(object->property(kindProperty).toInt());
}

void setKind(QWidget* widget, Kind kind) {
    widget->setProperty(kindProperty, static_cast<int>(kind));
}

// A window or frame whose hidden children are left out of its accessible children.
class ContainerInterface final : public QAccessibleWidget {
public:
    ContainerInterface(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    int childCount() const override { return static_cast<int>(shownChildren().size()); }

    QAccessibleInterface* child(int index) const override {
        const QWidgetList shown = shownChildren();
        if (index < 0 || index >= shown.size()) {
            return nullptr;
        }
        return QAccessible::queryAccessibleInterface(shown[index]);
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr) {
            return -1;
        }
        return static_cast<int>(shownChildren().indexOf(qobject_cast<QWidget*>(child->object())));
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            if (const auto* frame = qobject_cast<const QGroupBox*>(widget())) {
                return frame->title();
            }
        }
        return QAccessibleWidget::text(t);
    }

private:
    QWidgetList shownChildren() const {
        QWidgetList shown;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child != nullptr && !child->isWindow() && kindOf(child) != Kind::hidden) {
                shown.append(child);
            }
        }
        return shown;
    }
};

class BallInterface final : public QAccessibleWidget {
public:
    explicit BallInterface(QWidget* picture) : QAccessibleWidget(picture, QAccessible::Graphic) {}

    QString text(QAccessible::Text t) const override {
        const QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && isBallMarked(widget())) {
            return text + u' ' + markedWords;
        }
        return text;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = isBallMarked(widget());
        return state;
    }
};

class DialogInterface final : public QAccessibleWidget {
public:
    explicit DialogInterface(QWidget* dialog) : QAccessibleWidget(dialog, QAccessible::Dialog) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.modal = widget()->isModal();
        return state;
    }
};

// A read-only QLineEdit through public API only, so that the whole text is one attribute run.
class TextLineInterface final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TextLineInterface(QLineEdit* line)
        : QAccessibleWidget(line, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            return line()->text();
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = line()->isReadOnly();
        state.editable = !line()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && line()->hasSelectedText()) {
            *startOffset = line()->selectionStart();
            *endOffset = line()->selectionEnd();
        }
    }
    int selectionCount() const override { return line()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override {
        if (selectionIndex == 0) {
            line()->deselect();
        }
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        if (selectionIndex == 0) {
            line()->setSelection(startOffset, endOffset - startOffset);
        }
    }

    int cursorPosition() const override { return line()->cursorPosition(); }
    void setCursorPosition(int position) override { line()->setCursorPosition(position); }

    QString text(int startOffset, int endOffset) const override {
        return line()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(line()->text().size()); }

    // Where the line draws the character: its text area, the text aligned in it as the line
    // aligns it, and the advance of the text before the character.
    QRect characterRect(int offset) const override {
        const QString all = line()->text();
        if (offset < 0 || offset >= all.size()) {
            return {};
        }
        QStyleOptionFrame frame;
        frame.initFrom(line());
        frame.lineWidth =
            line()->hasFrame()
                ? line()->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, line())
                : 0;
        const QRect area = line()
                               ->style()
                               ->subElementRect(QStyle::SE_LineEditContents, &frame, line())
                               .marginsRemoved(line()->textMargins());
        const QFontMetrics metrics(line()->font());
        const int width = metrics.horizontalAdvance(all);
        const QRect aligned = QStyle::alignedRect(line()->layoutDirection(), line()->alignment(),
                                                  QSize(width, metrics.height()), area);
        const QRect character(aligned.left() + metrics.horizontalAdvance(all.left(offset)),
                              aligned.top(), metrics.horizontalAdvance(all.at(offset)),
                              metrics.height());
        return character.translated(line()->mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint& point) const override {
        return line()->cursorPositionAt(line()->mapFromGlobal(point));
    }

    void scrollToSubstring(int startIndex, int) override { line()->setCursorPosition(startIndex); }

    // One run, without attributes, from the first character to the last.
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        if (offset < 0 || offset > *endOffset) {
            *startOffset = *endOffset = -1;
        }
        return {};
    }

private:
    QLineEdit* line() const { return static_cast<QLineEdit*>(widget()); }
};

class LinkInterface final : public QAccessibleWidget {
public:
    explicit LinkInterface(QWidget* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            if (const auto* label = qobject_cast<const QLabel*>(widget())) {
                return label->text();
            }
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(widget(), &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(widget(), &release);
    }

    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == pressAction()) {
            return {QStringLiteral("Return"), QStringLiteral("Space")};
        }
        return QAccessibleWidget::keyBindingsForAction(action);
    }
};

// A part of a widget that assistive technology passes over: in the tree, never shown.
class InvisibleInterface final : public QAccessibleWidget {
public:
    explicit InvisibleInterface(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Client) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        state.focusable = false;
        return state;
    }
};

QAccessibleInterface* createInterface(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) {
        return nullptr;
    }
    switch (kindOf(widget)) {
    case Kind::ball:
        return new BallInterface(widget);
    case Kind::link:
        return new LinkInterface(widget);
    case Kind::notification:
        return new QAccessibleWidget(widget, QAccessible::Notification);
    case Kind::textLine:
        if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            return new TextLineInterface(line);
        }
        break;
    case Kind::dialog:
        return new DialogInterface(widget);
    case Kind::invisible:
        return new InvisibleInterface(widget);
    case Kind::plain:
    case Kind::hidden:
        break;
    }
    if (widget->property(hidesChildrenProperty).toBool()) {
        const QAccessible::Role role =
            qobject_cast<QGroupBox*>(widget) != nullptr
                ? QAccessible::Grouping
                : (widget->isWindow() ? QAccessible::Window : QAccessible::Client);
        return new ContainerInterface(widget, role);
    }
    return nullptr;
}

// Qt makes a widget's interface as early as its constructor, before any mark can be set; the
// plain one is dropped, so that the factory makes the marked one at the next query.
void dropPlainInterface(QWidget* widget) {
    QAccessibleInterface* existing = QAccessible::queryAccessibleInterface(widget);
    if (existing != nullptr && existing->role() != QAccessible::Notification &&
        dynamic_cast<ContainerInterface*>(existing) == nullptr &&
        dynamic_cast<BallInterface*>(existing) == nullptr &&
        dynamic_cast<LinkInterface*>(existing) == nullptr &&
        dynamic_cast<TextLineInterface*>(existing) == nullptr &&
        dynamic_cast<DialogInterface*>(existing) == nullptr &&
        dynamic_cast<InvisibleInterface*>(existing) == nullptr) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
    }
}

QAccessible::UpdateHandler previousUpdateHandler = nullptr;

// A text line whose focus is changing: from its focus-in or focus-out until the focus event
// that follows, its selection and caret changes come from the focus change itself. Orca would
// take a caret move for the focus arriving, and then say nothing of the focus event itself.
QPointer<QObject> lineInFocusChange;

class FocusChangeWatcher final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            lineInFocusChange = watched;
        }
        return QObject::eventFilter(watched, event);
    }
};

bool isTextEvent(QAccessible::Event type) {
    switch (type) {
    case QAccessible::TextInserted:
    case QAccessible::TextRemoved:
    case QAccessible::TextUpdated:
    case QAccessible::TextCaretMoved:
    case QAccessible::TextSelectionChanged:
    case QAccessible::ValueChanged:
        return true;
    default:
        return false;
    }
}

QString accessibleText(QWidget* widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    QAccessibleTextInterface* text = iface != nullptr ? iface->textInterface() : nullptr;
    return text != nullptr ? text->text(0, text->characterCount()) : QString();
}

// Drops the text events of held widgets and passes every other event on as if no handler were
// installed (or to the handler that was there before).
void filterUpdates(QAccessibleEvent* event) {
    const QObject* object = event->object();
    if (object != nullptr && object->property(heldTextProperty).isValid() &&
        isTextEvent(event->type())) {
        return;
    }
    if (event->type() == QAccessible::Focus) {
        lineInFocusChange = nullptr;
    } else if (object != nullptr && object == lineInFocusChange &&
               (event->type() == QAccessible::TextSelectionChanged ||
                event->type() == QAccessible::TextCaretMoved)) {
        return;
    }
    QAccessible::installUpdateHandler(previousUpdateHandler);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(filterUpdates);
}

} // namespace

void installAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(createInterface);
        previousUpdateHandler = QAccessible::installUpdateHandler(filterUpdates);
        return true;
    }();
    (void)installed;
}

void holdTextEvents(QWidget* widget) {
    installAccessibleFactory();
    if (!widget->property(heldTextProperty).isValid()) {
        widget->setProperty(heldTextProperty, accessibleText(widget));
    }
}

void releaseTextEvents(QWidget* widget) {
    const QVariant held = widget->property(heldTextProperty);
    if (!held.isValid()) {
        return;
    }
    widget->setProperty(heldTextProperty, QVariant());
    const QString before = held.toString();
    const QString now = accessibleText(widget);
    if (before != now) {
        QAccessibleTextUpdateEvent event(widget, 0, before, now);
        QAccessible::updateAccessibility(&event);
    }
}

void hideFromAccessibility(QWidget* widget) {
    installAccessibleFactory();
    setKind(widget, Kind::hidden);
    if (QWidget* parent = widget->parentWidget()) {
        if (!parent->property(hidesChildrenProperty).toBool()) {
            parent->setProperty(hidesChildrenProperty, true);
            dropPlainInterface(parent);
        }
    }
}

void exposeAsBall(QWidget* picture, const QString& name) {
    installAccessibleFactory();
    setKind(picture, Kind::ball);
    picture->setAccessibleName(name);
    dropPlainInterface(picture);
}

void setBallMarked(QWidget* picture, bool marked) {
    if (isBallMarked(picture) == marked) {
        return;
    }
    picture->setProperty(markedProperty, marked);
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(picture, changed);
    QAccessible::updateAccessibility(&event);
    QAccessibleEvent renamed(picture, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
}

bool isBallMarked(const QWidget* picture) {
    return picture->property(markedProperty).toBool();
}

void exposeAsNotification(QWidget* widget) {
    installAccessibleFactory();
    setKind(widget, Kind::notification);
    dropPlainInterface(widget);
}

void exposeAsTextBox(QTextEdit* box) {
    installAccessibleFactory();
    setKind(box->viewport(), Kind::invisible);
    dropPlainInterface(box->viewport());
}

void exposeAsTextLine(QLineEdit* line) {
    installAccessibleFactory();
    setKind(line, Kind::textLine);
    line->installEventFilter(new FocusChangeWatcher(line));
    dropPlainInterface(line);
}

void exposeAsDialog(QDialog* dialog) {
    installAccessibleFactory();
    setKind(dialog, Kind::dialog);
    dropPlainInterface(dialog);
}

void announce(QWidget* notification, const QString& words) {
    if (auto* label = qobject_cast<QLabel*>(notification)) {
        label->setText(words);
    }
    notification->setAccessibleName(words);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Qt 6.8 passes an announcement on as it is (AT-SPI's announcement, UI Automation's
    // notification), which Orca 48, Narrator and NVDA speak; the notification stays hidden, so
    // that the words are not spoken twice. It comes from the window, which is shown.
    QAccessibleAnnouncementEvent event(notification->window(), words);
    QAccessible::updateAccessibility(&event);
#else
    // Qt 6.4 has no announcement; a screen reader speaks a notification that appears. Hidden
    // first, so that the same words twice in a row are spoken twice.
    notification->hide();
    notification->show();
    QTimer::singleShot(announcementMs, notification, &QWidget::hide);
#endif
}

void describeMessageBox([[maybe_unused]] QMessageBox& box) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS) && QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    box.setAccessibleDescription(
        box.informativeText().isEmpty() ? box.text() : box.text() + u'\n' + box.informativeText());
#endif
}

void exposeAsLink(QWidget* label) {
    installAccessibleFactory();
    setKind(label, Kind::link);
    dropPlainInterface(label);
}

} // namespace kestrune::ui
