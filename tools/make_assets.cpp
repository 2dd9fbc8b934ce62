// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the ball pictures and the program icon into the folder given on the command line:
//
//     make_assets <folder>
//
// Each picture is described once below: the shape it has at any size, and the hand-drawn row
// table of its 32-pixel design size. Every size listed in ui/common/picture_sizes.h gets its own
// file, "name.png" at 32 pixels and "name-N.png" at N pixels, drawn pixel by pixel at that
// resolution without antialiasing: each pixel is fully opaque in the picture's one colour or
// fully transparent, so no screen scale ever needs to resample (and blur) a picture. The icon
// also gets "kestrune.svg", the same shapes for the scalable folder of the icon theme, and
// "kestrune.ico", every size of it in one Windows icon file for the Windows program.
//
// The files are identical on every machine and each pixel can be traced back to the description.

#include "common/picture_sizes.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <array>
#include <cstdio>
#include <span>
#include <vector>

namespace {

constexpr int designSide = 32;

constexpr QRgb markedRed = qRgb(255, 0, 0);
constexpr QRgb markedBlue = qRgb(0, 0, 255);
constexpr QRgb gray = qRgb(134, 134, 134);

// A flat disc: an ellipse in the coordinates of the 32-unit design square.
struct Disc {
    double centreX;
    double centreY;
    double radiusX;
    double radiusY;
    QRgb colour;
};

// The hand-drawn 32-pixel raster of a disc: in row firstRow + i, the columns
// firstColumn + inset[i] to lastColumn - inset[i] are opaque.
struct DesignRows {
    int firstRow;
    int firstColumn;
    int lastColumn;
    std::vector<int> inset;
};

struct Picture {
    const char* name;
    std::vector<Disc> discs;
    std::vector<DesignRows> rows; // one per disc
};

// The ball's design rows: a = 14, 10, 8, ... for rows 0 to 15, rows 16 to 31 mirroring them.
std::vector<int> ballInsets() {
    const std::array<int, designSide / 2> top{14, 10, 8, 7, 5, 4, 4, 3, 2, 2, 1, 1, 1, 0, 0, 0};
    std::vector<int> insets(top.begin(), top.end());
    insets.insert(insets.end(), top.rbegin(), top.rend());
    return insets;
}

Picture ball(const char* name, QRgb colour) {
    return {name, {{16, 16, 16, 16, colour}}, {{0, 0, designSide - 1, ballInsets()}}};
}

// The icon: a red disc in the left half and a blue one in the right half, 16 units across and
// 18 high, filling rows 7 to 24 of the design square.
Picture icon() {
    const std::vector<int> insets{6, 4, 3, 2, 1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 2, 3, 4, 6};
    return {"kestrune",
            {{8, 16, 8, 9, markedRed}, {24, 16, 8, 9, markedBlue}},
            {{7, 0, 15, insets}, {7, 16, 31, insets}}};
}

QImage transparentImage(int side) {
    // Non-premultiplied, so the PNG holds the colours exactly as written.
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage designRaster(const Picture& picture) {
    QImage image = transparentImage(designSide);
    for (std::size_t d = 0; d < picture.discs.size(); ++d) {
        const DesignRows& rows = picture.rows[d];
        for (int i = 0; i < static_cast<int>(rows.inset.size()); ++i) {
            for (int x = rows.firstColumn + rows.inset[i]; x <= rows.lastColumn - rows.inset[i];
                 ++x) {
                image.setPixel(x, rows.firstRow + i, picture.discs[d].colour);
            }
        }
    }
    return image;
}

// A pixel belongs to a disc when its centre lies inside the ellipse scaled to the side.
QImage deviceRaster(const Picture& picture, int side) {
    QImage image = transparentImage(side);
    const double unit = static_cast<double>(side) / designSide;
    for (const Disc& disc : picture.discs) {
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const double dx = ((x + 0.5) / unit - disc.centreX) / disc.radiusX;
                const double dy = ((y + 0.5) / unit - disc.centreY) / disc.radiusY;
                if (dx * dx + dy * dy <= 1.0) {
                    image.setPixel(x, y, disc.colour);
                }
            }
        }
    }
    return image;
}

QString svg(const Picture& picture) {
    QString text = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" "
                                  "height=\"%1\" viewBox=\"0 0 %1 %1\">\n")
                       .arg(designSide);
    for (const Disc& disc : picture.discs) {
        text +=
            QStringLiteral("  <ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" fill=\"#%5\"/>\n")
                .arg(disc.centreX)
                .arg(disc.centreY)
                .arg(disc.radiusX)
                .arg(disc.radiusY)
                .arg(disc.colour & 0xffffffU, 6, 16, QLatin1Char('0'));
    }
    return text + QStringLiteral("</svg>\n");
}

bool report(bool written, const QString& path) {
    if (!written) {
        std::fprintf(stderr, "make_assets: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

QImage raster(const Picture& picture, int side) {
    return side == designSide ? designRaster(picture) : deviceRaster(picture, side);
}

bool writePicture(const QDir& folder, const Picture& picture, std::span<const int> sizes) {
    const QString name = QString::fromLatin1(picture.name);
    for (const int side : sizes) {
        const QString path =
            folder.filePath(side == designSide ? name + QStringLiteral(".png")
                                               : QStringLiteral("%1-%2.png").arg(name).arg(side));
        if (!report(raster(picture, side).save(path, "PNG"), path)) {
            return false;
        }
    }
    return true;
}

bool writeSvg(const QDir& folder, const Picture& picture) {
    const QString path =
        folder.filePath(QString::fromLatin1(picture.name) + QStringLiteral(".svg"));
    QFile file(path);
    const QByteArray text = svg(picture).toUtf8();
    return report(file.open(QIODevice::WriteOnly) && file.write(text) == text.size(), path);
}

void appendLittleEndian(QByteArray& bytes, quint32 value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xffU));
    }
}

// A Windows icon file whose images are PNG files, as Windows reads them since Vista: a header,
// one directory entry per size (a width or height of 0 means 256), then the PNG files.
bool writeIco(const QDir& folder, const Picture& picture, std::span<const int> sizes) {
    std::vector<QByteArray> images;
    for (const int side : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        raster(picture, side).save(&buffer, "PNG");
        images.push_back(png);
    }
    constexpr quint32 headerSize = 6;
    constexpr quint32 entrySize = 16;
    QByteArray file;
    appendLittleEndian(file, 0, 2);
    appendLittleEndian(file, 1, 2); // an icon, not a cursor
    appendLittleEndian(file, static_cast<quint32>(sizes.size()), 2);
    quint32 offset = headerSize + entrySize * static_cast<quint32>(sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const quint32 side = sizes[i] >= 256 ? 0 : static_cast<quint32>(sizes[i]);
        appendLittleEndian(file, side, 1);
        appendLittleEndian(file, side, 1);
        appendLittleEndian(file, 0, 2);  // no palette, reserved
        appendLittleEndian(file, 1, 2);  // colour planes
        appendLittleEndian(file, 32, 2); // bits per pixel
        appendLittleEndian(file, static_cast<quint32>(images[i].size()), 4);
        appendLittleEndian(file, offset, 4);
        offset += static_cast<quint32>(images[i].size());
    }
    for (const QByteArray& image : images) {
        file.append(image);
    }
    const QString path =
        folder.filePath(QString::fromLatin1(picture.name) + QStringLiteral(".ico"));
    QFile out(path);
    return report(out.open(QIODevice::WriteOnly) && out.write(file) == file.size(), path);
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
    using kestrune::ui::ballPictureSizes;
    const bool written = writePicture(folder, ball("red-ball", markedRed), ballPictureSizes) &&
                         writePicture(folder, ball("blue-ball", markedBlue), ballPictureSizes) &&
                         writePicture(folder, ball("gray-ball", gray), ballPictureSizes) &&
                         writePicture(folder, icon(), kestrune::ui::iconPictureSizes) &&
                         writeSvg(folder, icon()) &&
                         writeIco(folder, icon(), kestrune::ui::iconPictureSizes);
    return written ? 0 : 1;
}
