#pragma once

#include <vector>

#include <QColor>
#include <QImage>
#include <QRect>

namespace testsupport {

// Pixel questions about a rendered picture, for tests that check drawing.

// The smallest rectangle holding every pixel of exactly this colour (empty when none).
QRect BoundsOf(const QImage& image, QColor color);
// How many pixels have exactly this colour.
int CountOf(const QImage& image, QColor color);
// The colour of one pixel, alpha ignored.
QColor PixelAt(const QImage& image, int x, int y);
// The runs of rows that hold a pixel of exactly this colour, as rectangles
// spanning the picture's width: one per line of text in that colour. Runs
// fewer than joinGap rows apart count as one (accents above their letters).
std::vector<QRect> RowRunsOf(const QImage& image, QColor color, int joinGap = 1);
// A blank picture of the given size filled with one colour.
QImage Blank(int width, int height, QColor fill);

} // namespace testsupport
