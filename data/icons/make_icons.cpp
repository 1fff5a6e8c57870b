// Makes the program's icons for the desktop's hicolor theme from the pixels of
// its own icon (resources/app_icon_16.xpm and app_icon_32.xpm), and checks that
// the icons kept in data/icons are still those pixels.
//
//   tesserak_icons write DIR   writes DIR/<size>/tesserak.png and
//                              DIR/scalable/tesserak.svg
//   tesserak_icons check DIR   exit status 0 when the files in DIR show the
//                              same pixels (and the SVG has the same text)
//
// The larger sizes are whole multiples of the small images, scaled without
// smoothing, so the pixel art stays crisp: 48 is the 16 x 16 image times 3,
// 64, 128 and 256 the 32 x 32 image times 2, 4 and 8.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QString>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {
#include "resources/app_icon_16.xpm"
#include "resources/app_icon_32.xpm"
}  // namespace

namespace {

struct PngIcon {
    int size;
    const char* const* xpm;
};

constexpr PngIcon kPngIcons[] = {
    {16, app_icon_16_xpm}, {32, app_icon_32_xpm},  {48, app_icon_16_xpm},
    {64, app_icon_32_xpm}, {128, app_icon_32_xpm}, {256, app_icon_32_xpm},
};

QImage Picture(const char* const* xpm) {
    return QImage(xpm).convertToFormat(QImage::Format_ARGB32);
}

QImage PngPixels(const PngIcon& icon) {
    return Picture(icon.xpm).scaled(icon.size, icon.size, Qt::IgnoreAspectRatio,
                                    Qt::FastTransformation);
}

QString PngPath(const QString& dir, int size) {
    return QStringLiteral("%1/%2x%2/tesserak.png").arg(dir).arg(size);
}

QString SvgPath(const QString& dir) {
    return dir + QStringLiteral("/scalable/tesserak.svg");
}

std::string Hex(QRgb pixel) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", qRed(pixel), qGreen(pixel), qBlue(pixel));
    return text;
}

// The 32 x 32 picture as SVG rectangles: runs of one colour in a row, joined
// with the same run in the rows below, so each tile is one rectangle.
QByteArray SvgText() {
    const QImage image = Picture(app_icon_32_xpm);
    struct Rect {
        int x, y, w, h;
        QRgb pixel;
    };
    std::vector<Rect> rects;
    // (x, width, colour) of a run in the row above -> its rectangle.
    std::map<std::tuple<int, int, QRgb>, size_t> open;
    for (int y = 0; y < image.height(); ++y) {
        std::map<std::tuple<int, int, QRgb>, size_t> next;
        for (int x = 0; x < image.width();) {
            const QRgb pixel = image.pixel(x, y);
            int end = x + 1;
            while (end < image.width() && image.pixel(end, y) == pixel) {
                ++end;
            }
            if (qAlpha(pixel) != 0) {
                const auto key = std::make_tuple(x, end - x, pixel);
                const auto above = open.find(key);
                if (above != open.end()) {
                    ++rects[above->second].h;
                    next[key] = above->second;
                } else {
                    next[key] = rects.size();
                    rects.push_back({x, y, end - x, 1, pixel});
                }
            }
            x = end;
        }
        open = std::move(next);
    }

    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- Made by data/icons/make_icons.cpp from resources/app_icon_32.xpm. -->\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
        "viewBox=\"0 0 32 32\" shape-rendering=\"crispEdges\">\n";
    for (const Rect& r : rects) {
        svg += "  <rect x=\"" + std::to_string(r.x) + "\" y=\"" + std::to_string(r.y) +
               "\" width=\"" + std::to_string(r.w) + "\" height=\"" + std::to_string(r.h) +
               "\" fill=\"" + Hex(r.pixel) + "\"/>\n";
    }
    svg += "</svg>\n";
    return QByteArray::fromStdString(svg);
}

bool Write(const QString& dir) {
    for (const PngIcon& icon : kPngIcons) {
        const QString path = PngPath(dir, icon.size);
        if (!QDir().mkpath(QFileInfo(path).path()) || !PngPixels(icon).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return false;
        }
    }
    const QString path = SvgPath(dir);
    QFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly) ||
        file.write(SvgText()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool Check(const QString& dir) {
    bool same = true;
    for (const PngIcon& icon : kPngIcons) {
        const QString path = PngPath(dir, icon.size);
        const QImage kept = QImage(path, "PNG").convertToFormat(QImage::Format_ARGB32);
        if (kept != PngPixels(icon)) {
            std::fprintf(stderr, "%s does not show the program's icon at %d x %d\n",
                         qPrintable(path), icon.size, icon.size);
            same = false;
        }
    }
    const QString path = SvgPath(dir);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.readAll() != SvgText()) {
        std::fprintf(stderr, "%s is not the program's icon as rectangles\n", qPrintable(path));
        same = false;
    }
    return same;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode == "write") {
        return Write(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    if (mode == "check") {
        if (!Check(QString::fromLocal8Bit(argv[2]))) {
            std::fprintf(stderr, "remake them: tesserak_icons write data/icons\n");
            return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "usage: %s write|check DIR\n", argv[0]);
    return 2;
}
