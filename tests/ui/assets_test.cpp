// The bundled pictures, read back from the Qt resource exactly as the windows will read them.
//
// The disc outlines are written out again here, independently of tools/make_assets, so a change
// to either the generator or the committed PNGs that moves a single pixel shows up as a failure.

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QString>
#include <QTest>
#include <array>
#include <optional>

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

void addPictureRows() {
    QTest::addColumn<QString>("name");
    for (const QString& name : pictureNames) {
        QTest::newRow(qPrintable(name)) << name;
    }
}

QString resourcePath(const QString& name) {
    return QStringLiteral(":/assets/%1.png").arg(name);
}
QString resourcePath2x(const QString& name) {
    return QStringLiteral(":/assets/%1@2x.png").arg(name);
}

} // namespace

class AssetsTest : public QObject {
    Q_OBJECT

public:
    // Runs before QApplication exists: pretend to be a 200 % screen, so the high-DPI pick of the
    // @2x pictures can be watched on the offscreen platform.
    static void initMain() { qputenv("QT_SCALE_FACTOR", "2"); }

private slots:
    void everyPictureIsInTheResource_data();
    void everyPictureIsInTheResource();
    void ballIsAFlatDiscOfOneColour_data();
    void ballIsAFlatDiscOfOneColour();
    void ballsDifferOnlyInColour();
    void iconIsARedAndABlueDisc();
    void doubledPictureRepeatsEveryPixel_data();
    void doubledPictureRepeatsEveryPixel();
    void iconOnA200PercentScreenUsesTheDoubledPicture_data();
    void iconOnA200PercentScreenUsesTheDoubledPicture();
};

void AssetsTest::everyPictureIsInTheResource_data() {
    addPictureRows();
}

void AssetsTest::everyPictureIsInTheResource() {
    // kestrune_ui is a static library: this fails if its resource did not get linked in.
    QFETCH(QString, name);
    QVERIFY2(QFile::exists(resourcePath(name)), qPrintable(resourcePath(name)));
    QVERIFY2(QFile::exists(resourcePath2x(name)), qPrintable(resourcePath2x(name)));
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

void AssetsTest::doubledPictureRepeatsEveryPixel_data() {
    addPictureRows();
}

void AssetsTest::doubledPictureRepeatsEveryPixel() {
    QFETCH(QString, name);
    const QImage single = loadResource(resourcePath(name));
    QImageReader reader(resourcePath2x(name));
    const QImage doubled = reader.read();
    QVERIFY2(!doubled.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(single.size(), QSize(side, side));
    QCOMPARE(doubled.size(), QSize(2 * side, 2 * side));
    // The "@2x" in the name is what tells Qt to lay it out at 32 × 32.
    QCOMPARE(doubled.devicePixelRatio(), 2.0);
    QCOMPARE(doubled.deviceIndependentSize(), QSizeF(side, side));

    const QImage doubledArgb = doubled.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < doubledArgb.height(); ++y) {
        for (int x = 0; x < doubledArgb.width(); ++x) {
            QVERIFY2(doubledArgb.pixel(x, y) == single.pixel(x / 2, y / 2),
                     qPrintable(QStringLiteral("pixel (%1, %2) is #%3, 1x pixel (%4, %5) is #%6")
                                    .arg(x)
                                    .arg(y)
                                    .arg(doubledArgb.pixel(x, y), 8, 16, QLatin1Char('0'))
                                    .arg(x / 2)
                                    .arg(y / 2)
                                    .arg(single.pixel(x / 2, y / 2), 8, 16, QLatin1Char('0'))));
        }
    }
}

void AssetsTest::iconOnA200PercentScreenUsesTheDoubledPicture_data() {
    addPictureRows();
}

void AssetsTest::iconOnA200PercentScreenUsesTheDoubledPicture() {
    // QIcon looks for "name@2x.png" next to "name.png" when the application's ratio is 2.
    // (A bare QPixmap(":/assets/name.png") does not: it always loads the 32 × 32 file.)
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
    QFETCH(QString, name);
    const QIcon icon(resourcePath(name));
    const QPixmap pixmap = icon.pixmap(QSize(side, side));
    QCOMPARE(pixmap.devicePixelRatio(), 2.0);
    QCOMPARE(pixmap.size(), QSize(2 * side, 2 * side));
    QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(side, side));
    // Premultiplied on both sides: how a transparent pixel is stored does not matter on screen.
    verifySamePixels(
        pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
        loadResource(resourcePath2x(name)).convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

QTEST_MAIN(AssetsTest)
#include "assets_test.moc"
