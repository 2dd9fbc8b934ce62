#include "common/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QWidget>

namespace kestrune::ui {

namespace {

// Dynamic properties that carry the marks from the windows to the factory.
constexpr const char* kindProperty = "kestrune_accessibleKind";
constexpr const char* hidesChildrenProperty = "kestrune_hidesAccessibleChildren";
constexpr const char* markedProperty = "kestrune_ballMarked";
constexpr const char* heldTextProperty = "kestrune_heldText";

enum class Kind { plain, hidden, ball, link, notification };

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

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = isBallMarked(widget());
        return state;
    }
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
        dynamic_cast<LinkInterface*>(existing) == nullptr) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
    }
}

QAccessible::UpdateHandler previousUpdateHandler = nullptr;

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
    // Words for those who do not hear the state; this sends its own change event.
    picture->setAccessibleDescription(marked ? QStringLiteral("已选中") : QString());
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(picture, changed);
    QAccessible::updateAccessibility(&event);
}

bool isBallMarked(const QWidget* picture) {
    return picture->property(markedProperty).toBool();
}

void exposeAsNotification(QWidget* widget) {
    installAccessibleFactory();
    setKind(widget, Kind::notification);
    dropPlainInterface(widget);
}

void exposeAsLink(QWidget* label) {
    installAccessibleFactory();
    setKind(label, Kind::link);
    dropPlainInterface(label);
}

} // namespace kestrune::ui
