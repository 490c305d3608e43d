#include "runtime/Canvas.h"

#include <gtest/gtest.h>

#include "tests/support/CanvasFixture.h"

using namespace base;
using namespace runtime;
using testsupport::Blank;
using testsupport::BoundsOf;
using testsupport::CountOf;
using testsupport::PixelAt;

using CanvasTest = testsupport::CanvasFixture;

TEST_F(CanvasTest, MapsTheWindowsFontNamesToInstalledFaces) {
    EXPECT_EQ(MapFontName("Verdana"), "DejaVu Sans");
    EXPECT_EQ(MapFontName("MS Sans Serif"), "DejaVu Sans");
    EXPECT_EQ(MapFontName("arial"), "Liberation Sans");
    EXPECT_EQ(MapFontName("Courier New"), "Liberation Mono");
    EXPECT_EQ(MapFontName("DejaVu Serif"), "DejaVu Serif");
    TFont font;
    font.SetHeight(-20);
    EXPECT_EQ(font.ToQFont().pixelSize(), 20);
}

TEST_F(CanvasTest, CalcRectMeasuresLinesWordBreaksPrefixesAndEmptyText) {
    const TSize word = canvas.TextExtent("alpha");
    TRect rect{10, 20, 10, 20};
    EXPECT_EQ(canvas.DrawText("alpha", rect, DT_CALCRECT), word.cy);
    EXPECT_EQ(rect, (TRect{10, 20, 10 + word.cx, 20 + word.cy}));

    rect = TRect{0, 0, 1000, 0};
    canvas.DrawText("&alpha", rect, DT_CALCRECT);
    EXPECT_EQ(rect.Right, word.cx);
    canvas.DrawText("&alpha", rect, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(rect.Right, canvas.TextWidth("&alpha"));

    // Three words in a box that holds two: two lines, as wide as the widest.
    const int two = canvas.TextWidth("alpha beta");
    rect = TRect{0, 0, two + 2, 0};
    EXPECT_EQ(canvas.DrawText("alpha beta gamma", rect, DT_CALCRECT | DT_WORDBREAK), 2 * word.cy);
    EXPECT_EQ(rect, (TRect{0, 0, two, 2 * word.cy}));
    // A word wider than the box keeps its own line and widens the result.
    rect = TRect{0, 0, 5, 0};
    canvas.DrawText("alpha beta", rect, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(rect, (TRect{0, 0, word.cx, 2 * word.cy}));
    // Line breaks: CR, LF and CR LF; a single-line call ignores them.
    rect = TRect{0, 0, 1000, 0};
    canvas.DrawText("a\rb\nc\r\nd", rect, DT_CALCRECT);
    EXPECT_EQ(rect.Bottom, 4 * word.cy);
    canvas.DrawText("a\rb\nc\r\nd", rect, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(rect.Bottom, word.cy);
    canvas.DrawText("", rect, DT_CALCRECT);
    EXPECT_EQ(rect, (TRect{0, 0, 0, 0}));
}

TEST_F(CanvasTest, ExpandedTabsAdvanceToTheNextStop) {
    TRect plain{0, 0, 1000, 0};
    TRect expanded = plain;
    canvas.DrawText("a\tb", expanded, DT_CALCRECT | DT_EXPANDTABS);
    canvas.DrawText("b", plain, DT_CALCRECT);
    const int stop = expanded.Right - plain.Right;
    EXPECT_GT(stop, canvas.TextWidth("a"));
    canvas.DrawText("abc\tb", expanded, DT_CALCRECT | DT_EXPANDTABS);
    EXPECT_EQ(expanded.Right - plain.Right, stop);
}

TEST_F(CanvasTest, WordBreakDrawsTheSecondLineBelowTheFirst) {
    const int lineHeight = canvas.TextHeight("W");
    const int two = canvas.TextWidth("alpha beta");
    const QImage wrapped = Render([&] {
        TRect rect{0, 0, two, 100};
        canvas.DrawText("alpha beta gamma", rect, DT_WORDBREAK);
    });
    const QImage expected = Render([&] {
        canvas.TextOut(0, 0, "alpha beta");
        canvas.TextOut(0, lineHeight, "gamma");
    });
    EXPECT_EQ(wrapped, expected);
}

TEST_F(CanvasTest, EndEllipsisKeepsWhatFitsBeforeTheDots) {
    const int width = canvas.TextWidth("abcd...");
    const QImage cut = Render([&] {
        TRect rect{5, 5, 5 + width, 40};
        canvas.DrawText("abcdefghijkl", rect, DT_END_ELLIPSIS | DT_SINGLELINE);
    });
    const QImage expected = Render([&] { canvas.TextOut(5, 5, "abcd..."); });
    EXPECT_EQ(cut, expected);
}

TEST_F(CanvasTest, PathEllipsisKeepsTheLastPathPart) {
    const int width = canvas.TextWidth("C:\\d...\\file.txt");
    const QImage cut = Render([&] {
        TRect rect{0, 0, width, 40};
        canvas.DrawText("C:\\dados\\sistema\\file.txt", rect, DT_PATH_ELLIPSIS | DT_SINGLELINE);
    });
    const QImage expected = Render([&] { canvas.TextOut(0, 0, "C:\\d...\\file.txt"); });
    EXPECT_EQ(cut, expected);
}

TEST_F(CanvasTest, PrefixUnderlinesOnlyTheAcceleratorCharacter) {
    const QImage drawn = Render([&] {
        TRect rect{10, 10, 200, 60};
        canvas.DrawText("F&ile", rect, 0);
    });
    const QImage plain = Render([&] { canvas.TextOut(10, 10, "File"); });
    QRect underline;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            if (drawn.pixel(x, y) != plain.pixel(x, y)) {
                underline |= QRect(x, y, 1, 1);
            }
        }
    }
    ASSERT_FALSE(underline.isEmpty());
    EXPECT_EQ(underline.left(), 10 + canvas.TextWidth("F"));
    EXPECT_EQ(underline.right(), 10 + canvas.TextWidth("Fi") - 1);
    EXPECT_GT(underline.top(), 10 + canvas.TextHeight("F") / 2);
}

TEST_F(CanvasTest, AlignmentAndSingleLineVerticalPlacement) {
    const TSize size = canvas.TextExtent("ab");
    const auto drawnAt = [&](unsigned flags) {
        const QImage image = Render([&] {
            TRect rect{0, 0, 200, 100};
            canvas.DrawText("ab", rect, flags);
        });
        return BoundsOf(image, Qt::black).topLeft();
    };
    const QPoint topLeft = drawnAt(DT_LEFT);
    EXPECT_EQ(drawnAt(DT_RIGHT), topLeft + QPoint(200 - size.cx, 0));
    EXPECT_EQ(drawnAt(DT_CENTER), topLeft + QPoint((200 - size.cx) / 2, 0));
    EXPECT_EQ(drawnAt(DT_SINGLELINE | DT_BOTTOM), topLeft + QPoint(0, 100 - size.cy));
    EXPECT_EQ(drawnAt(DT_SINGLELINE | DT_VCENTER), topLeft + QPoint(0, (100 - size.cy) / 2));
    // Without DT_SINGLELINE the vertical flags do nothing.
    EXPECT_EQ(drawnAt(DT_BOTTOM), topLeft);
}

TEST_F(CanvasTest, DrawTextClipsToTheRectangleUnlessNoClip) {
    const auto inkRight = [&](unsigned flags) {
        const QImage image = Render([&] {
            TRect rect{0, 0, 10, 40};
            canvas.DrawText("WWWW", rect, flags);
        });
        return BoundsOf(image, Qt::black).right();
    };
    EXPECT_LE(inkRight(0), 9);
    EXPECT_GT(inkRight(DT_NOCLIP), 20);
}

TEST_F(CanvasTest, LinesExcludeTheirEndPointAndRectanglesFillInside) {
    const QImage image = Render(
        [&] {
            canvas.Pen().Color = clRed;
            canvas.MoveTo(2, 2);
            canvas.LineTo(12, 2);
            canvas.LineTo(12, 8);
            canvas.MoveTo(8, 30);
            canvas.LineTo(2, 30);
            canvas.Pen().Color = clBlue;
            canvas.Brush().Style = bsSolid;
            canvas.Brush().Color = clLime;
            canvas.Rectangle(20, 20, 30, 26);
        },
        40, 40);
    EXPECT_EQ(BoundsOf(image, Qt::red), QRect(QPoint(2, 2), QPoint(12, 30)));
    EXPECT_EQ(CountOf(image, Qt::red), 10 + 6 + 6);
    EXPECT_EQ(PixelAt(image, 12, 8), QColor(Qt::white));
    // Drawn right to left, the line still leaves out its end point.
    EXPECT_EQ(BoundsOf(image, Qt::red).united(QRect(3, 30, 6, 1)), BoundsOf(image, Qt::red));
    EXPECT_EQ(PixelAt(image, 2, 30), QColor(Qt::white));
    EXPECT_EQ(BoundsOf(image, Qt::blue), QRect(QPoint(20, 20), QPoint(29, 25)));
    EXPECT_EQ(BoundsOf(image, Qt::green), QRect(QPoint(21, 21), QPoint(28, 24)));
}

TEST_F(CanvasTest, TextOutRotatesCounterClockwiseAroundTheTopLeftCorner) {
    const TSize size = canvas.TextExtent("rotated");
    canvas.Font().SetEscapement(900);
    const QRect ink = BoundsOf(Render([&] { canvas.TextOut(50, 150, "rotated"); }, 200, 200), Qt::black);
    ASSERT_FALSE(ink.isEmpty());
    // Turned a quarter to the left, the text runs upwards from (50, 150).
    EXPECT_GE(ink.left(), 50);
    EXPECT_LE(ink.right(), 50 + size.cy);
    EXPECT_LE(ink.bottom(), 150);
    EXPECT_GE(ink.top(), 150 - size.cx);
    EXPECT_GT(ink.height(), ink.width());
}

TEST_F(CanvasTest, SolidBrushFillsBehindText) {
    canvas.Brush().Style = bsSolid;
    canvas.Brush().Color = clYellow;
    const TSize size = canvas.TextExtent("ab");
    const QImage image = Render([&] { canvas.TextOut(3, 4, "ab"); }, 100, 60);
    const QRect cell = BoundsOf(image, Qt::yellow) | BoundsOf(image, Qt::black);
    EXPECT_EQ(cell, QRect(3, 4, size.cx, size.cy));
}
