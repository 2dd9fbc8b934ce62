// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The bundled pictures, read back from the Qt resource exactly as the windows will read them.
//
// The 32-pixel disc outlines are written out again here, independently of tools/make_assets, so a
// change to either the generator or the committed PNGs that moves a single pixel shows up as a
// failure. The other sizes must be flat hard-edged discs too, and the window must show the one
// that matches the screen's scale without resampling it.

#include "common/picture_sizes.h"
#include "main/frm_main.h"
#include "platform/platform_services.h"
#include "window_fakes.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QProcess>
#include <QString>
#include <QTest>
#include <array>
#include <optional>
#include <span>
#include <utility>

using kestrune::ui::ballPictureSizes;
using kestrune::ui::iconPictureSizes;

namespace {

constexpr int side = 32;

// Ball: row y (0 = top) is opaque from column a to column 31 - a, with a taken from this table
// for rows 0 to 15; rows 16 to 31 mirror rows 15 to 0.
constexpr std::array<int, 16> ballInsets{14, 10, 8, 7, 5, 4, 4, 3, 2, 2, 1, 1, 1, 0, 0, 0};

// Window icon: rows 7 to 24 hold a red disc in columns a .. 15 - a and a blue disc in columns
// 16 + a .. 31 - a, a from this table; everything else is transparent.
constexpr int iconTopRow = 7;
constexpr std::array<int, 18> iconInsets{6, 4, 3, 2, 1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 2, 3, 4, 6};

constexpr QRgb red = qRgb(255, 0, 0);
constexpr QRgb blue = qRgb(0, 0, 255);
constexpr QRgb gray = qRgb(134, 134, 134);

// The colour a pixel of a ball must have, or nothing where it must be transparent.
std::optional<QRgb> ballPixel(QRgb colour, int x, int y) {
    const int inset = ballInsets[y < 16 ? y : 31 - y];
    if (x >= inset && x <= 31 - inset) {
        return colour;
    }
    return std::nullopt;
}

std::optional<QRgb> iconPixel(int x, int y) {
    const int row = y - iconTopRow;
    if (row < 0 || row >= static_cast<int>(iconInsets.size())) {
        return std::nullopt;
    }
    const int inset = iconInsets[row];
    if (x >= inset && x <= 15 - inset) {
        return red;
    }
    if (x >= 16 + inset && x <= 31 - inset) {
        return blue;
    }
    return std::nullopt;
}

// Reads a picture from the resource, in a format whose pixels can be compared as plain ARGB.
QImage loadResource(const QString& path) {
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull()) {
        qWarning("cannot read %s: %s", qPrintable(path), qPrintable(reader.errorString()));
        return image;
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

// One row as text, '#' for opaque and '.' for transparent, so a failing row reads at a glance.
template <typename Expected> QString expectedRow(int y, Expected expected) {
    QString row;
    for (int x = 0; x < side; ++x) {
        row += expected(x, y) ? QLatin1Char('#') : QLatin1Char('.');
    }
    return row;
}

QString actualRow(const QImage& image, int y) {
    QString row;
    for (int x = 0; x < image.width(); ++x) {
        const int alpha = qAlpha(image.pixel(x, y));
        row += alpha == 255 ? QLatin1Char('#') : alpha == 0 ? QLatin1Char('.') : QLatin1Char('?');
    }
    return row;
}

// Checks size, outline, full opacity inside, full transparency outside and the exact colours.
template <typename Expected>
void verifyPicture(const QImage& image, Expected expected, int expectedOpaque) {
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(side, side));

    int tableOpaque = 0;
    for (int y = 0; y < side; ++y) {
        const QString wanted = expectedRow(y, expected);
        tableOpaque += wanted.count(QLatin1Char('#'));
        QVERIFY2(actualRow(image, y) == wanted,
                 qPrintable(QStringLiteral("row %1 is %2, should be %3")
                                .arg(y)
                                .arg(actualRow(image, y), wanted)));
    }
    // Guards the tables above against a typo as much as the picture.
    QCOMPARE(tableOpaque, expectedOpaque);

    int opaque = 0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (const std::optional<QRgb> colour = expected(x, y)) {
                ++opaque;
                QVERIFY2(pixel == *colour,
                         qPrintable(QStringLiteral("pixel (%1, %2) is #%3, should be #%4")
                                        .arg(x)
                                        .arg(y)
                                        .arg(pixel, 8, 16, QLatin1Char('0'))
                                        .arg(*colour, 8, 16, QLatin1Char('0'))));
            }
        }
    }
    QCOMPARE(opaque, expectedOpaque);
}

void verifySamePixels(const QImage& actual, const QImage& expected) {
    QCOMPARE(actual.size(), expected.size());
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            QVERIFY2(actual.pixel(x, y) == expected.pixel(x, y),
                     qPrintable(QStringLiteral("pixel (%1, %2) is #%3, should be #%4")
                                    .arg(x)
                                    .arg(y)
                                    .arg(actual.pixel(x, y), 8, 16, QLatin1Char('0'))
                                    .arg(expected.pixel(x, y), 8, 16, QLatin1Char('0'))));
        }
    }
}

const std::array<QString, 4> pictureNames{QStringLiteral("red-ball"), QStringLiteral("blue-ball"),
                                          QStringLiteral("gray-ball"), QStringLiteral("kestrune")};

std::span<const int> sizesOf(const QString& name) {
    if (name == QStringLiteral("kestrune")) {
        return iconPictureSizes;
    }
    return ballPictureSizes;
}

void addPictureRows() {
    QTest::addColumn<QString>("name");
    for (const QString& name : pictureNames) {
        QTest::newRow(qPrintable(name)) << name;
    }
}

QString resourcePath(const QString& name, int size = side) {
    if (size == side) {
        return QStringLiteral(":/assets/%1.png").arg(name);
    }
    return QStringLiteral(":/assets/%1-%2.png").arg(name).arg(size);
}

QString hex(QRgb pixel) {
    return QStringLiteral("#%1").arg(pixel, 8, 16, QLatin1Char('0'));
}

} // namespace

class AssetsTest : public QObject {
    Q_OBJECT

private slots:
    void everyPictureIsInTheResource_data();
    void everyPictureIsInTheResource();
    void ballIsAFlatDiscOfOneColour_data();
    void ballIsAFlatDiscOfOneColour();
    void ballsDifferOnlyInColour();
    void iconIsARedAndABlueDisc();
    void windowsIconFileHoldsEveryIconSize();
    void everySizeIsAHardEdgedCopyOfTheDesign_data();
    void everySizeIsAHardEdgedCopyOfTheDesign();
    void windowShowsDevicePixelsAtEveryScale_data();
    void windowShowsDevicePixelsAtEveryScale();
    void windowShowsDevicePixelsAtThisScale();
};

void AssetsTest::everyPictureIsInTheResource_data() {
    addPictureRows();
}

void AssetsTest::everyPictureIsInTheResource() {
    // kestrune_ui is a static library: this fails if its resource did not get linked in.
    QFETCH(QString, name);
    for (const int size : sizesOf(name)) {
        QVERIFY2(QFile::exists(resourcePath(name, size)), qPrintable(resourcePath(name, size)));
    }
}

void AssetsTest::ballIsAFlatDiscOfOneColour_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("red") << QStringLiteral("red-ball") << red;
    QTest::newRow("blue") << QStringLiteral("blue-ball") << blue;
    QTest::newRow("gray") << QStringLiteral("gray-ball") << gray;
}

void AssetsTest::ballIsAFlatDiscOfOneColour() {
    QFETCH(QString, name);
    QFETCH(QRgb, colour);
    verifyPicture(
        loadResource(resourcePath(name)),
        [colour](int x, int y) { return ballPixel(colour, x, y); }, 776);
}

void AssetsTest::ballsDifferOnlyInColour() {
    const QImage redBall = loadResource(resourcePath(QStringLiteral("red-ball")));
    const QImage blueBall = loadResource(resourcePath(QStringLiteral("blue-ball")));
    const QImage grayBall = loadResource(resourcePath(QStringLiteral("gray-ball")));
    QCOMPARE(blueBall.size(), redBall.size());
    QCOMPARE(grayBall.size(), redBall.size());

    // Same outline pixel for pixel, and inside it each ball keeps the one colour of its centre.
    const QRgb redCentre = redBall.pixel(16, 16);
    const QRgb blueCentre = blueBall.pixel(16, 16);
    const QRgb grayCentre = grayBall.pixel(16, 16);
    QVERIFY(redCentre != blueCentre && redCentre != grayCentre && blueCentre != grayCentre);
    for (int y = 0; y < redBall.height(); ++y) {
        for (int x = 0; x < redBall.width(); ++x) {
            const int alpha = qAlpha(redBall.pixel(x, y));
            QCOMPARE(qAlpha(blueBall.pixel(x, y)), alpha);
            QCOMPARE(qAlpha(grayBall.pixel(x, y)), alpha);
            if (alpha != 0) {
                QCOMPARE(redBall.pixel(x, y), redCentre);
                QCOMPARE(blueBall.pixel(x, y), blueCentre);
                QCOMPARE(grayBall.pixel(x, y), grayCentre);
            }
        }
    }
}

void AssetsTest::iconIsARedAndABlueDisc() {
    const QImage icon = loadResource(resourcePath(QStringLiteral("kestrune")));
    verifyPicture(icon, iconPixel, 2 * 220);
    if (QTest::currentTestFailed()) {
        return;
    }

    int redPixels = 0;
    int bluePixels = 0;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            redPixels += icon.pixel(x, y) == red ? 1 : 0;
            bluePixels += icon.pixel(x, y) == blue ? 1 : 0;
        }
    }
    QCOMPARE(redPixels, 220);
    QCOMPARE(bluePixels, 220);
}

void AssetsTest::windowsIconFileHoldsEveryIconSize() {
    QFile file(QStringLiteral(KESTRUNE_SOURCE_DIR "/assets/kestrune.ico"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QByteArray ico = file.readAll();
    const auto number = [&ico](qsizetype at, int size) {
        quint32 value = 0;
        for (int i = size - 1; i >= 0; --i) {
            value = (value << 8) | static_cast<quint8>(ico.at(at + i));
        }
        return value;
    };
    const auto count = static_cast<quint32>(iconPictureSizes.size());
    QVERIFY(ico.size() >= 6 + 16 * count);
    QCOMPARE(number(2, 2), 1U);
    QCOMPARE(number(4, 2), count);
    for (quint32 i = 0; i < count; ++i) {
        const int size = iconPictureSizes[i];
        const qsizetype entry = 6 + 16 * i;
        QCOMPARE(number(entry, 1), static_cast<quint32>(size % 256));
        QCOMPARE(number(entry + 1, 1), static_cast<quint32>(size % 256));
        QFile png(resourcePath(QStringLiteral("kestrune"), size));
        QVERIFY(png.open(QIODevice::ReadOnly));
        QVERIFY2(
            ico.mid(number(entry + 12, 4), number(entry + 8, 4)) == png.readAll(),
            qPrintable(
                QStringLiteral("the %1-pixel icon differs from %2").arg(size).arg(png.fileName())));
    }
}

void AssetsTest::everySizeIsAHardEdgedCopyOfTheDesign_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    for (const QString& name : pictureNames) {
        for (const int size : sizesOf(name)) {
            if (size != side) {
                QTest::addRow("%s %d", qPrintable(name), size) << name << size;
            }
        }
    }
}

// Each pixel is opaque in the colour of its place in the 32-pixel design (whose middle row is
// opaque from edge to edge) or transparent; the shape keeps the design's mirror symmetries and
// covers as much of the square. A blurred or nearest-neighbour resampled picture breaks one.
void AssetsTest::everySizeIsAHardEdgedCopyOfTheDesign() {
    QFETCH(QString, name);
    QFETCH(int, size);
    const QImage design = loadResource(resourcePath(name));
    const QImage image = loadResource(resourcePath(name, size));
    QCOMPARE(image.size(), QSize(size, size));

    int designOpaque = 0;
    for (int y = 0; y < side; ++y) {
        designOpaque += actualRow(design, y).count(QLatin1Char('#'));
    }
    // The icon is two discs side by side, a ball one disc: the halves repeat, or mirror.
    const bool twoDiscs = name == QStringLiteral("kestrune");
    int opaque = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int alpha = qAlpha(pixel);
            QVERIFY2(alpha == 0 || alpha == 255,
                     qPrintable(QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(hex(pixel))));
            if (alpha == 0) {
                continue;
            }
            ++opaque;
            const QRgb wanted = design.pixel(x * side / size, side / 2);
            QVERIFY2(pixel == wanted, qPrintable(QStringLiteral("(%1, %2) is %3, should be %4")
                                                     .arg(x)
                                                     .arg(y)
                                                     .arg(hex(pixel), hex(wanted))));
            const int mirroredX = twoDiscs ? (x + size / 2) % size : size - 1 - x;
            QVERIFY2(qAlpha(image.pixel(x, size - 1 - y)) == 255 &&
                         qAlpha(image.pixel(mirroredX, y)) == 255,
                     qPrintable(QStringLiteral("(%1, %2) has no mirror image").arg(x).arg(y)));
        }
    }
    const double designShare = designOpaque / double(side * side);
    const double share = opaque / double(size * size);
    QVERIFY2(
        qAbs(share - designShare) < 0.04,
        qPrintable(
            QStringLiteral("covers %1 of the square, the design %2").arg(share).arg(designShare)));
}

void AssetsTest::windowShowsDevicePixelsAtEveryScale_data() {
    QTest::addColumn<QByteArray>("scale");
    for (const char* scale : {"1", "1.25", "1.5", "1.75", "2"}) {
        QTest::newRow(scale) << QByteArray(scale);
    }
}

// The scale is fixed when the application starts, so each one runs in a process of its own.
void AssetsTest::windowShowsDevicePixelsAtEveryScale() {
    QFETCH(QByteArray, scale);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(scale));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("windowShowsDevicePixelsAtThisScale")});
    QVERIFY2(child.waitForFinished(60000), qPrintable(child.errorString()));
    const QByteArray output = child.readAll();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             output.constData());
}

// The templates hold the picture of the screen's device size, and what the window paints of one
// is that picture pixel for pixel on the window's face: only disc and background colours.
void AssetsTest::windowShowsDevicePixelsAtThisScale() {
    const qreal scale = qApp->devicePixelRatio();
    const int deviceSide = qRound(side * scale);
    kestrune::testing::ScriptedRandom random; // the window is only looked at: no pick
    kestrune::testing::RecordingServices services;
    kestrune::ui::frmMain window(random, services);

    const std::array<std::pair<const char*, QString>, 3> templates{
        std::pair{"imgRedBall", QStringLiteral("red-ball")},
        std::pair{"imgBlueBall", QStringLiteral("blue-ball")},
        std::pair{"imgGrayBall", QStringLiteral("gray-ball")}};
    for (const auto& [objectName, name] : templates) {
        auto* image = window.findChild<QLabel*>(QLatin1String(objectName));
        QVERIFY(image != nullptr);
        const QPixmap shown = image->pixmap();
        QCOMPARE(shown.size(), QSize(deviceSide, deviceSide));
        QCOMPARE(shown.devicePixelRatio(), scale);
        const QImage file = loadResource(resourcePath(name, deviceSide));
        verifySamePixels(shown.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                         file.convertToFormat(QImage::Format_ARGB32_Premultiplied));

        const QImage painted =
            image->grab(QRect(0, 0, side, side)).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(painted.size(), QSize(deviceSide, deviceSide));
        const QRgb face = painted.pixel(0, 0);
        for (int y = 0; y < deviceSide; ++y) {
            for (int x = 0; x < deviceSide; ++x) {
                const QRgb wanted = qAlpha(file.pixel(x, y)) == 255 ? file.pixel(x, y) : face;
                QVERIFY2(painted.pixel(x, y) == wanted,
                         qPrintable(QStringLiteral("%1 paints (%2, %3) %4, should be %5")
                                        .arg(QLatin1String(objectName))
                                        .arg(x)
                                        .arg(y)
                                        .arg(hex(painted.pixel(x, y)), hex(wanted))));
            }
        }
    }

    const QPixmap icon = window.windowIcon().pixmap(QSize(side, side));
    QCOMPARE(icon.size(), QSize(deviceSide, deviceSide));
    verifySamePixels(icon.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                     loadResource(resourcePath(QStringLiteral("kestrune"), deviceSide))
                         .convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

QTEST_MAIN(AssetsTest)
#include "assets_test.moc"
