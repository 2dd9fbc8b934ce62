// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the window tests hand the windows instead of the real services: platform services that
// record what they were asked (window_support.h, shared with the benchmarks), and a random source
// that plays a script (scripted_random.h, shared with the engine tests); the main window made
// with them; and a spy on what assistive technology is told.

#include "help/frm_help.h"
#include "machine_pick.h"
#include "main/frm_main.h"
#include "platform/platform_services.h"
#include "scripted_random.h"
#include "window_support.h"

#include <QAccessible>
#include <QAccessibleEvent>
#include <QApplication>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStringList>
#include <QTest>
#include <QtGui/private/qguiapplication_p.h>
#include <memory>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <utility>
#include <vector>

namespace kestrune::testing {

// With Qt 6.8 and later a screen reader hears an announcement and the notification stays
// hidden; with Qt 6.4, which has no announcement, the notification shows for a moment.
inline constexpr bool notificationShows = QT_VERSION < QT_VERSION_CHECK(6, 8, 0);

// How QCOMPARE shows a call of the recording services.
inline char* toString(const OpenCall& call) {
    return QTest::toString(
        QStringLiteral("openTarget(\"%1\", \"%2\")").arg(call.operation, call.target));
}

// Reds 1 2 3 4 5 7 and blue 1, rejected by the first row (five odd reds); then reds 3 7 7 12 19
// 25 31 (the second 7 drawn again) and blue 8, accepted with eight zeros.
inline std::vector<float> rejectedThenAccepted() {
    std::vector<float> script = rejectedAtRow({1, 2, 3, 4, 5, 7}, 1, 1);
    const std::vector<float> accepted = acceptedAtOnce({3, 7, 7, 12, 19, 25, 31}, 8);
    script.insert(script.end(), accepted.begin(), accepted.end());
    return script;
}

// A main window on the given stand-ins, shown and exposed.
inline std::unique_ptr<ui::frmMain> shownMainWindow(RandomSource& random,
                                                    ui::PlatformServices& services) {
    auto window = std::make_unique<ui::frmMain>(random, services);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) {
        qWarning("the main window was not exposed");
    }
    return window;
}

// The help window that is open, or none.
inline ui::frmHelp* openHelpWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* help = qobject_cast<ui::frmHelp*>(widget); help != nullptr && help->isVisible()) {
            return help;
        }
    }
    return nullptr;
}

// For a check that runs inside the help window's own event loop: whatever the check finds (a
// failing QVERIFY returns early), the help window closes when the guard goes, so that the
// opening returns.
[[nodiscard]] inline auto closingHelpWindowAtEnd() {
    return qScopeGuard([] {
        if (ui::frmHelp* open = openHelpWindow()) {
            open->close();
        }
    });
}

// What assistive technology is told, one line an event: "imgRed_3 checked changed",
// "imgRed_3 named 红球 03 已选中", "txtSelect text \"\" -> \"03 07 …\"", "errorBox alert", and
// so on; what a screen reader speaks unasked (an announcement, or a notification that appears)
// goes to news() as its words. It is an update handler installed before the first window is
// made: the windows' own filter then passes it what it passes a screen reader.
class AccessibilitySpy {
public:
    // Once, in initTestCase, before any window exists. Assistive technology is made active, as a
    // running screen reader makes it: only then does Qt 6.4 pass on any event. False where the
    // platform has no accessibility at all.
    static bool install() {
        QAccessible::installUpdateHandler(&AccessibilitySpy::record);
        QPlatformAccessibility* platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility();
        if (platform == nullptr) {
            return false;
        }
        platform->setActive(true);
        return QAccessible::isActive();
    }
    static void clear() {
        told().clear();
        news().clear();
    }
    static QStringList& told() {
        static QStringList lines;
        return lines;
    }
    static QStringList& news() {
        static QStringList words;
        return words;
    }
    // The lines about the objects whose names match.
    static QStringList toldAbout(const QString& namePattern) {
        const QRegularExpression pattern(QStringLiteral("^(%1) ").arg(namePattern));
        return told().filter(pattern);
    }

private:
    // What an event says in a word or two, where that is all it says.
    static QString plainWords(QAccessible::Event type) {
        static const QList<std::pair<QAccessible::Event, const char*>> words{
            {QAccessible::ObjectShow, "shown"},
            {QAccessible::Alert, "alert"},
            {QAccessible::Focus, "focused"},
            {QAccessible::TextCaretMoved, "caret moved"},
            {QAccessible::TextSelectionChanged, "selection changed"}};
        for (const auto& [known, word] : words) {
            if (known == type) {
                return QString::fromLatin1(word);
            }
        }
        return QStringLiteral("event 0x%1").arg(int(type), 0, 16);
    }

    static void record(QAccessibleEvent* event) {
        QAccessibleInterface* iface = event->accessibleInterface();
        const QObject* object = event->object();
        const QString who = object != nullptr ? object->objectName() : QStringLiteral("?");
        const QString name = iface != nullptr ? iface->text(QAccessible::Name) : QString();
        QString what = plainWords(event->type());
        switch (event->type()) {
        case QAccessible::StateChanged:
            what = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates().checked
                       ? QStringLiteral("checked changed")
                       : QStringLiteral("other state changed");
            break;
        case QAccessible::NameChanged:
            what = QStringLiteral("named ") + name;
            break;
        case QAccessible::TextUpdated: {
            const auto* update = static_cast<QAccessibleTextUpdateEvent*>(event);
            what = QStringLiteral("text \"%1\" -> \"%2\"")
                       .arg(update->textRemoved(), update->textInserted());
            break;
        }
        case QAccessible::TextInserted:
            what = QStringLiteral("text inserted \"%1\"")
                       .arg(static_cast<QAccessibleTextInsertEvent*>(event)->textInserted());
            break;
        case QAccessible::TextRemoved:
            what = QStringLiteral("text removed \"%1\"")
                       .arg(static_cast<QAccessibleTextRemoveEvent*>(event)->textRemoved());
            break;
        case QAccessible::ObjectShow:
            if (iface != nullptr && iface->role() == QAccessible::Notification) {
                news() << name;
            }
            break;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        case QAccessible::Announcement: {
            const QString message = static_cast<QAccessibleAnnouncementEvent*>(event)->message();
            what = QStringLiteral("announces ") + message;
            news() << message;
            break;
        }
#endif
        default:
            break;
        }
        told() << who + u' ' + what;
    }
};

} // namespace kestrune::testing
