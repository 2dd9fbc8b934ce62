// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The two windows' tables held against the design: every number, caption and face of the design
// is written out here and nowhere else, so that a mistyped entry of main_window_layout.h,
// help_window_layout.h or help_lines.cpp shows. The other tests read the tables.

#include "common/control_layout.h"
#include "common/twips.h"
#include "help/help_lines.h"
#include "help/help_window_layout.h"
#include "help/publisher.h"
#include "main/main_window_layout.h"
#include "selection_state.h"

#include <QRegularExpression>
#include <QTest>
#include <optional>

using namespace kestrune;
using namespace kestrune::ui;

namespace {

// One control as the tables and rules give it: the place and size in twips (an empty size where
// the control is sized to its text), the caption (a help line's text), the face, and whether it
// is a link.
struct Designed {
    QRectF twips;
    QString caption;
    double pointSize = 0;
    bool bold = false;
    bool link = false;
};

Designed fromRow(const ControlLayout& row) {
    return {QRectF(row.left, row.top, row.width, row.height), row.caption.toString(), row.pointSize,
            row.bold};
}

// What the main window's table and rules give for the named control.
std::optional<Designed> mainWindowControl(const QString& name) {
    for (const ControlLayout& row : main_window::controls) {
        if (name == QLatin1String(row.name)) {
            return fromRow(row);
        }
    }
    static const QRegularExpression many(QStringLiteral("^(img|lbl)(Red|Blue)_(\\d+)$"));
    if (const QRegularExpressionMatch ball = many.match(name); ball.hasMatch()) {
        const BallColour colour =
            ball.captured(2) == QLatin1String("Red") ? BallColour::red : BallColour::blue;
        const int n = ball.captured(3).toInt();
        if (ball.captured(1) == QLatin1String("img")) {
            const QPointF at = main_window::ballTopLeft(colour, n);
            return Designed{QRectF(at, QSizeF(main_window::ballSize, main_window::ballSize)), {}};
        }
        // The number's rule gives pixels; the design's twips are whole pixels here.
        const QPoint at = main_window::ballNumberTopLeft(colour, n);
        return Designed{QRectF(twipsOf(at.x()), twipsOf(at.y()), 0, 0),
                        QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')),
                        main_window::ballNumberPointSize};
    }
    static const QRegularExpression record(QStringLiteral("^txtRecord_(\\d+)$"));
    if (const QRegularExpressionMatch box = record.match(name); box.hasMatch()) {
        const QPointF at = main_window::recordBoxTopLeft(box.captured(1).toInt());
        return Designed{
            QRectF(at, QSizeF(main_window::recordBoxWidth, main_window::recordBoxHeight)), {}};
    }
    return std::nullopt;
}

// What the help window's table and lines give for the named control.
std::optional<Designed> helpWindowControl(const QString& name) {
    for (std::size_t index = 0; index < help_window::controls.size(); ++index) {
        const ControlLayout& row = help_window::controls[index];
        if (name == QLatin1String(row.name)) {
            Designed designed = fromRow(row);
            if (index < helpLineCount) {
                designed.caption = helpLines()[index].text;
                designed.link = helpLines()[index].link.has_value();
            }
            return designed;
        }
    }
    return std::nullopt;
}

} // namespace

class WindowDesignTest : public QObject {
    Q_OBJECT

private slots:
    void tablesHoldTheDesign_data();
    void tablesHoldTheDesign();
    void clientAreasHoldTheDesign();
};

void WindowDesignTest::tablesHoldTheDesign_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRectF>("twips");     // an empty size: sized to its text
    QTest::addColumn<QPoint>("pixels");    // where the control stands, 15 twips a pixel
    QTest::addColumn<double>("pointSize"); // 0: the window's face
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("link");

    const QString none;
    const QString main = QStringLiteral("main");
    auto row = [&](const QString& window, const char* name, const QString& caption, QRectF twips,
                   QPoint pixels, double pointSize = 0, bool bold = false, bool link = false) {
        QTest::addRow("%s %s", qPrintable(window), name)
            << window << caption << twips << pixels << pointSize << bold << link;
    };
    const bool regular = false;
    const bool link = true;

    row(main, "fraRed", QStringLiteral("红色球"), {120, 120, 5655, 2295}, {8, 8});
    row(main, "fraBlue", QStringLiteral("兰色球"), {120, 2490, 4095, 1695}, {8, 166});
    row(main, "txtData", none, {4320, 2580, 1455, 2235}, {288, 172}, 9.75);
    row(main, "txtSelect", none, {120, 4320, 4095, 495}, {8, 288}, 13.5);
    row(main, "cmdSelect", QStringLiteral("机选"), {840, 4920, 1095, 495}, {56, 328});
    row(main, "cmdExit", QStringLiteral("退出"), {2460, 4920, 1095, 495}, {164, 328});
    row(main, "cmdHelp", QStringLiteral("帮助"), {4080, 4920, 1095, 495}, {272, 328});
    row(main, "imgRedBall", none, {3600, 5760, 480, 480}, {240, 384});
    row(main, "imgBlueBall", none, {4080, 5760, 480, 480}, {272, 384});
    row(main, "imgGrayBall", none, {4560, 5760, 480, 480}, {304, 384});
    row(main, "pickNews", none, {120, 5760, 15, 15}, {8, 384});
    // The first and last ball of every row, within its frame; ball 23 stands 525 twips left
    // of ball 24.
    row(main, "imgRed_1", none, {165, 360, 480, 480}, {11, 24});
    row(main, "imgRed_11", none, {4965, 360, 480, 480}, {331, 24});
    row(main, "imgRed_12", none, {120, 960, 480, 480}, {8, 64});
    row(main, "imgRed_22", none, {4920, 960, 480, 480}, {328, 64});
    row(main, "imgRed_23", none, {120, 1560, 480, 480}, {8, 104});
    row(main, "imgRed_24", none, {645, 1560, 480, 480}, {43, 104});
    row(main, "imgRed_33", none, {4965, 1560, 480, 480}, {331, 104});
    row(main, "imgBlue_1", none, {120, 360, 480, 480}, {8, 24});
    row(main, "imgBlue_8", none, {3480, 360, 480, 480}, {232, 24});
    row(main, "imgBlue_9", none, {120, 960, 480, 480}, {8, 64});
    row(main, "imgBlue_16", none, {3480, 960, 480, 480}, {232, 64});
    // The numbers 30 twips right of and below their balls, at 14 points after the reset.
    row(main, "lblRed_1", QStringLiteral("01"), {195, 390, 0, 0}, {13, 26}, 14);
    row(main, "lblRed_7", QStringLiteral("07"), {3075, 390, 0, 0}, {205, 26}, 14);
    row(main, "lblRed_23", QStringLiteral("23"), {150, 1590, 0, 0}, {10, 106}, 14);
    row(main, "lblRed_33", QStringLiteral("33"), {4995, 1590, 0, 0}, {333, 106}, 14);
    row(main, "lblBlue_9", QStringLiteral("09"), {150, 990, 0, 0}, {10, 66}, 14);
    row(main, "lblBlue_16", QStringLiteral("16"), {3510, 990, 0, 0}, {234, 66}, 14);
    // Record boxes: four columns 2760 apart, rows 1440 apart, right of the visible area.
    row(main, "txtRecord_0", none, {6120, 240, 2760, 1335}, {408, 16});
    row(main, "txtRecord_3", none, {14400, 240, 2760, 1335}, {960, 16});
    row(main, "txtRecord_8", none, {6120, 3120, 2760, 1335}, {408, 208});

    const QString help = QStringLiteral("help");
    row(help, "lblInformation_0", QStringLiteral("一、软件信息："), {480, 120, 0, 0}, {32, 8}, 8.25,
        true);
    row(help, "lblInformation_1",
        QStringLiteral("Publisher:") + publisher::chineseName + QStringLiteral("(") +
            publisher::latinName + QStringLiteral(")"),
        {480, 454, 0, 0}, {32, 30});
    row(help, "lblInformation_2", QStringLiteral("eMail:") + publisher::mailAddress,
        {480, 795, 0, 0}, {32, 53}, 0, regular, link);
    row(help, "lblInformation_3", QStringLiteral("Home Page:") + publisher::homePage,
        {480, 1125, 0, 0}, {32, 75}, 0, regular, link);
    row(help, "lblInformation_4", QStringLiteral("QQ:") + publisher::messengerAccount,
        {480, 1455, 0, 0}, {32, 97}, 0, regular, link);
    row(help, "lblInformation_5", QStringLiteral("二、温馨提示："), {480, 1785, 0, 0}, {32, 119},
        8.25, true);
    row(help, "lblInformation_6", QStringLiteral("确定以某次选择为准即可，犹豫、多选无益。"),
        {480, 2130, 0, 0}, {32, 142});
    row(help, "lblInformation_7", QStringLiteral("若中奖，望告知；你得利，我留名。"),
        {480, 2520, 0, 0}, {32, 168});
    row(help, "cmdOk", QStringLiteral("确    定"), {1680, 2880, 1140, 360}, {112, 192});
    row(help, "linkNews", none, {4335, 3375, 15, 15}, {289, 225});
}

void WindowDesignTest::tablesHoldTheDesign() {
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QRectF, twips);
    QFETCH(QPoint, pixels);
    QFETCH(double, pointSize);
    QFETCH(bool, bold);
    QFETCH(bool, link);
    const QString name = QString::fromLatin1(QTest::currentDataTag()).section(u' ', 1);
    const std::optional<Designed> designed =
        window == QLatin1String("main") ? mainWindowControl(name) : helpWindowControl(name);
    QVERIFY2(designed.has_value(), "the table has no such control");
    QCOMPARE(designed->twips, twips);
    QCOMPARE(designed->caption, caption);
    QCOMPARE(designed->pointSize, pointSize);
    QCOMPARE(designed->bold, bold);
    QCOMPARE(designed->link, link);
    QCOMPARE(pointFromTwips(twips.x(), twips.y()), pixels);
}

// The client areas, in twips and pixels, the main window's outer size that it is centred by,
// and the ball numbers' looks. Every row of both tables appears above.
void WindowDesignTest::clientAreasHoldTheDesign() {
    QCOMPARE(QSizeF(main_window::outerWidth, main_window::outerHeight), QSizeF(5985, 5985));
    QCOMPARE(QSizeF(main_window::clientWidth, main_window::clientHeight), QSizeF(5895, 5535));
    QCOMPARE(sizeFromTwips(main_window::clientWidth, main_window::clientHeight), QSize(393, 369));
    QCOMPARE(QSizeF(help_window::clientWidth, help_window::clientHeight), QSizeF(4335, 3375));
    QCOMPARE(sizeFromTwips(help_window::clientWidth, help_window::clientHeight), QSize(289, 225));
    QCOMPARE(main_window::ballNumberColour, QColor(Qt::white));
    QCOMPARE(main_window::numberPointSizeBeforeReset, 13.5);
    QCOMPARE(main_window::lastRedNumberPointSizeBeforeReset, 9.75);
    QCOMPARE(main_window::controls.size(), std::size_t{11});
    QCOMPARE(help_window::controls.size(), std::size_t{helpLineCount + 2});
}

QTEST_APPLESS_MAIN(WindowDesignTest)
#include "window_design_test.moc"
