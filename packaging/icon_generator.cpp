// Writes the clock icon in the sizes the desktop's icon theme looks for: PNG files whose
// pixels are whole-pixel enlargements of the 32 x 32 icon (no smoothing, so the edges stay
// sharp at every size) and a scalable SVG drawn from the same pixel data.
//
//   icon_generator OUTPUT_DIR NAME SIZE...
// writes OUTPUT_DIR/<size>/NAME.png for each SIZE (a multiple of 32) and OUTPUT_DIR/NAME.svg.

#include "forms/clock_icon.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QSaveFile>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

QRgb toQRgb(forms::Rgb colour) { return qRgb(colour.r, colour.g, colour.b); }

bool writePng(const QString& path, int size) {
    const int scale = size / forms::clockIconSize;
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            image.setPixel(x, y, toQRgb(forms::clockIconPixel(y / scale, x / scale)));
        }
    }
    return image.save(path, "PNG");
}

std::string svgColour(forms::Rgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.r, colour.g, colour.b);
    return text;
}

// One rectangle for every horizontal run of yellow pixels on a blue square.
std::string svgDocument() {
    const int n = forms::clockIconSize;
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      std::to_string(n) + "\" height=\"" + std::to_string(n) + "\" viewBox=\"0 0 " +
                      std::to_string(n) + " " + std::to_string(n) +
                      "\" shape-rendering=\"crispEdges\">\n";
    svg += "  <rect width=\"" + std::to_string(n) + "\" height=\"" + std::to_string(n) +
           "\" fill=\"" + svgColour(forms::clockIconFace) + "\"/>\n";
    svg += "  <g fill=\"" + svgColour(forms::clockIconInk) + "\">\n";
    for (int row = 0; row < n; ++row) {
        int column = 0;
        while (column < n) {
            if (forms::clockIconPixel(row, column) != forms::clockIconInk) {
                ++column;
                continue;
            }
            const int start = column;
            while (column < n && forms::clockIconPixel(row, column) == forms::clockIconInk) {
                ++column;
            }
            svg += "    <rect x=\"" + std::to_string(start) + "\" y=\"" + std::to_string(row) +
                   "\" width=\"" + std::to_string(column - start) + "\" height=\"1\"/>\n";
        }
    }
    svg += "  </g>\n</svg>\n";
    return svg;
}

bool writeText(const QString& path, const std::string& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(text.data(), static_cast<qint64>(text.size()));
    return file.commit();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR NAME SIZE...\n", argv[0]);
        return 2;
    }
    const QDir outputDir(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < forms::clockIconSize || size % forms::clockIconSize != 0) {
            std::fprintf(stderr, "%s: size %s is not a multiple of %d\n", argv[0], argv[i],
                         forms::clockIconSize);
            return 2;
        }
        const QString sizeDir = QString::number(size);
        const QString path = outputDir.filePath(QStringLiteral("%1/%2.png").arg(sizeDir, name));
        if (!outputDir.mkpath(sizeDir) || !writePng(path, size)) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(path));
            return 1;
        }
    }
    const QString svgPath = outputDir.filePath(name + QStringLiteral(".svg"));
    if (!writeText(svgPath, svgDocument())) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(svgPath));
        return 1;
    }
    return 0;
}
