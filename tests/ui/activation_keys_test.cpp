// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Enter on a focused control, the same in both windows: which key presses activate, and what a
// key held down does (each window keeps its own rule for that).

#include "common/activation_keys.h"
#include "help/frm_help.h"
#include "main/frm_main.h"
#include "platform/platform_services.h"
#include "window_fakes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <memory>
#include <optional>

using namespace kestrune;
using namespace kestrune::ui;
using namespace kestrune::testing;

class ActivationKeysTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void keyPressesThatActivate_data();
    void keyPressesThatActivate();
    void aHeldKeyActivatesAsEachControlHasIt_data();
    void aHeldKeyActivatesAsEachControlHasIt();
};

void ActivationKeysTest::initTestCase() {
    QApplication::setQuitOnLastWindowClosed(false);
}

void ActivationKeysTest::keyPressesThatActivate_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<ActivationKeys>("keys");
    QTest::addColumn<HeldKey>("held");
    QTest::addColumn<bool>("consumed");
    QTest::addColumn<int>("activations");

    const int press = QEvent::KeyPress;
    const Qt::KeyboardModifiers none;
    const Qt::KeyboardModifiers keypad(Qt::KeypadModifier);
    const auto enter = ActivationKeys::enter;
    const auto enterOrSpace = ActivationKeys::enterOrSpace;
    const auto once = HeldKey::activatesOnce;
    const auto again = HeldKey::activatesAgain;
    QTest::addRow("Return activates")
        << press << int(Qt::Key_Return) << none << false << enter << once << true << 1;
    QTest::addRow("keypad Enter activates")
        << press << int(Qt::Key_Enter) << keypad << false << enter << once << true << 1;
    QTest::addRow("Return with the keypad flag activates")
        << press << int(Qt::Key_Return) << keypad << false << enter << once << true << 1;
    QTest::addRow("Shift+Return is left alone")
        << press << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ShiftModifier) << false
        << enter << once << false << 0;
    QTest::addRow("Ctrl+keypad Enter is left alone")
        << press << int(Qt::Key_Enter) << (keypad | Qt::ControlModifier) << false << enter << once
        << false << 0;
    QTest::addRow("Alt+Return is left alone")
        << press << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::AltModifier) << false << enter
        << once << false << 0;
    QTest::addRow("Space is left to a button")
        << press << int(Qt::Key_Space) << none << false << enter << once << false << 0;
    QTest::addRow("Space activates a link")
        << press << int(Qt::Key_Space) << none << false << enterOrSpace << once << true << 1;
    QTest::addRow("Return activates a link")
        << press << int(Qt::Key_Return) << none << false << enterOrSpace << once << true << 1;
    QTest::addRow("Shift+Space is left alone")
        << press << int(Qt::Key_Space) << Qt::KeyboardModifiers(Qt::ShiftModifier) << false
        << enterOrSpace << once << false << 0;
    QTest::addRow("Escape is left alone")
        << press << int(Qt::Key_Escape) << none << false << enterOrSpace << once << false << 0;
    QTest::addRow("a release of Return is left alone")
        << int(QEvent::KeyRelease) << int(Qt::Key_Return) << none << false << enter << once << false
        << 0;
    QTest::addRow("a held Return is consumed without activating again")
        << press << int(Qt::Key_Return) << none << true << enter << once << true << 0;
    QTest::addRow("a held Space on a link is consumed without activating again")
        << press << int(Qt::Key_Space) << none << true << enterOrSpace << once << true << 0;
    QTest::addRow("a held Return activates again where held keys do")
        << press << int(Qt::Key_Return) << none << true << enter << again << true << 1;
    QTest::addRow("a first Return activates where held keys do")
        << press << int(Qt::Key_Return) << none << false << enter << again << true << 1;
}

void ActivationKeysTest::keyPressesThatActivate() {
    QFETCH(int, type);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, repeat);
    QFETCH(ActivationKeys, keys);
    QFETCH(HeldKey, held);
    QFETCH(bool, consumed);
    QFETCH(int, activations);
    const QKeyEvent event(QEvent::Type(type), key, modifiers, QString(), repeat);
    int activated = 0;
    QCOMPARE(activateOnKey(event, keys, held, [&activated] { ++activated; }), consumed);
    QCOMPARE(activated, activations);
}

// The platform repeats a key held down. Held on a main window button or a link, the key
// activates once; on 确定 every repeat presses it, also when Enter was held down on 帮助
// and the help window opened under it.
void ActivationKeysTest::aHeldKeyActivatesAsEachControlHasIt_data() {
    QTest::addColumn<bool>("help");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("pressedHere");
    QTest::addColumn<int>("activations");
    QTest::addRow("机选 held picks once")
        << false << "cmdSelect" << int(Qt::Key_Return) << true << 1;
    QTest::addRow("机选 under a key held before does nothing")
        << false << "cmdSelect" << int(Qt::Key_Return) << false << 0;
    QTest::addRow("确定 under a key held before is pressed")
        << true << "cmdOk" << int(Qt::Key_Return) << false << 1;
    QTest::addRow("mail link held follows once")
        << true << "lblInformation_2" << int(Qt::Key_Return) << true << 1;
    QTest::addRow("home page link held with Space follows once")
        << true << "lblInformation_3" << int(Qt::Key_Space) << true << 1;
}

void ActivationKeysTest::aHeldKeyActivatesAsEachControlHasIt() {
    QFETCH(bool, help);
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(bool, pressedHere);
    QFETCH(int, activations);
    ScriptedRandom random(rejectedThenAccepted(), ScriptedRandom::AtEnd::repeat);
    RecordingServices services; // every link works
    std::unique_ptr<QWidget> window;
    if (help) {
        window = std::make_unique<frmHelp>(services);
    } else {
        window = std::make_unique<frmMain>(random, services);
    }
    QWidget* target = window->findChild<QWidget*>(control);
    QVERIFY(target != nullptr);
    int clicks = 0;
    if (auto* button = qobject_cast<QAbstractButton*>(target)) {
        connect(button, &QAbstractButton::clicked, window.get(), [&clicks] { ++clicks; });
    }

    // One press where the key went down (if it went down here), then the repeats.
    if (pressedHere) {
        QKeyEvent first(QEvent::KeyPress, key, Qt::NoModifier, QString(), false);
        QCoreApplication::sendEvent(target, &first);
    }
    for (int i = 0; i < (pressedHere ? 2 : 1); ++i) {
        QKeyEvent repeated(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(target, &repeated);
    }
    QCOMPARE(clicks + services.followed(), activations);
}

QTEST_MAIN(ActivationKeysTest)
#include "activation_keys_test.moc"
