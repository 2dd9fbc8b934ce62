// Writes the ball pictures and the window icon into the folder given on the command line:
//
//     make_assets <folder>
//
// Every picture is drawn pixel by pixel from the row tables below rather than painted with
// antialiasing, so the files are identical on every machine and each pixel can be traced back to
// a table entry. Each picture also gets a pixel-doubled "name@2x.png" twin, which QIcon picks on a
// 200 % screen instead of blurring the small one.

#include <QDir>
#include <QImage>
#include <QString>
#include <array>
#include <cstdio>
#include <utility>

namespace {

constexpr int side = 32;

// A ball is a flat disc. Row y of the top half (0 = top) is opaque from column
// ballInset[y] to column 31 - ballInset[y]; the bottom half mirrors it, row 31 - y equal to row y.
constexpr std::array<int, side / 2> ballInset{14, 10, 8, 7, 5, 4, 4, 3, 2, 2, 1, 1, 1, 0, 0, 0};

constexpr QRgb markedRed = qRgb(255, 0, 0);
constexpr QRgb markedBlue = qRgb(0, 0, 255);
constexpr QRgb gray = qRgb(134, 134, 134);

// The window icon: a red disc in the left half and a blue one in the right half, 16 pixels
// across, filling rows 7 to 24. In row iconFirstRow + i the red disc covers columns
// iconInset[i] to 15 - iconInset[i] and the blue disc columns 16 + iconInset[i] to
// 31 - iconInset[i]; every other pixel is transparent.
constexpr int iconFirstRow = 7;
constexpr std::array<int, 18> iconInset{6, 4, 3, 2, 1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 2, 3, 4, 6};

QImage transparentImage() {
    // Non-premultiplied, so the PNG holds the colours exactly as written.
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void fillRun(QImage& image, int y, int firstColumn, int lastColumn, QRgb colour) {
    for (int x = firstColumn; x <= lastColumn; ++x) {
        image.setPixel(x, y, colour);
    }
}

QImage ball(QRgb colour) {
    QImage image = transparentImage();
    for (int y = 0; y < side; ++y) {
        const int inset = ballInset[y < side / 2 ? y : side - 1 - y];
        fillRun(image, y, inset, side - 1 - inset, colour);
    }
    return image;
}

QImage windowIcon() {
    QImage image = transparentImage();
    for (int i = 0; i < static_cast<int>(iconInset.size()); ++i) {
        const int y = iconFirstRow + i;
        const int inset = iconInset[i];
        fillRun(image, y, inset, side / 2 - 1 - inset, markedRed);
        fillRun(image, y, side / 2 + inset, side - 1 - inset, markedBlue);
    }
    return image;
}

// Nearest neighbour by hand: every source pixel becomes a 2 × 2 block, no filtering involved.
QImage doubled(const QImage& image) {
    QImage result(image.width() * 2, image.height() * 2, image.format());
    for (int y = 0; y < result.height(); ++y) {
        for (int x = 0; x < result.width(); ++x) {
            result.setPixel(x, y, image.pixel(x / 2, y / 2));
        }
    }
    return result;
}

bool write(const QDir& folder, const QString& name, const QImage& image) {
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    const QString path2x = folder.filePath(name + QStringLiteral("@2x.png"));
    for (const auto& [file, picture] :
         {std::pair{path, image}, std::pair{path2x, doubled(image)}}) {
        if (!picture.save(file, "PNG")) {
            std::fprintf(stderr, "make_assets: cannot write %s\n", qPrintable(file));
            return false;
        }
        std::printf("%s\n", qPrintable(file));
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_assets <output folder>\n");
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "make_assets: cannot create %s\n", argv[1]);
        return 1;
    }
    const bool written = write(folder, QStringLiteral("red-ball"), ball(markedRed)) &&
                         write(folder, QStringLiteral("blue-ball"), ball(markedBlue)) &&
                         write(folder, QStringLiteral("gray-ball"), ball(gray)) &&
                         write(folder, QStringLiteral("kestrune"), windowIcon());
    return written ? 0 : 1;
}
