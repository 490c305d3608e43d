#include "tests/support/ImageProbe.h"

namespace testsupport {

namespace {

bool Same(const QImage& image, int x, int y, QColor color) {
    return (image.pixel(x, y) & 0xFFFFFF) == (color.rgb() & 0xFFFFFF);
}

} // namespace

QRect BoundsOf(const QImage& image, QColor color) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Same(image, x, y, color)) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

std::vector<QRect> RowRunsOf(const QImage& image, QColor color, int joinGap) {
    std::vector<QRect> runs;
    for (int y = 0; y < image.height(); ++y) {
        bool found = false;
        for (int x = 0; x < image.width() && !found; ++x) {
            found = Same(image, x, y, color);
        }
        if (!found) {
            continue;
        }
        if (!runs.empty() && y - runs.back().bottom() <= joinGap) {
            runs.back().setBottom(y);
        } else {
            runs.emplace_back(0, y, image.width(), 1);
        }
    }
    return runs;
}

int CountOf(const QImage& image, QColor color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += Same(image, x, y, color) ? 1 : 0;
        }
    }
    return count;
}

QColor PixelAt(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y) | 0xFF000000);
}

QImage Blank(int width, int height, QColor fill) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

} // namespace testsupport
