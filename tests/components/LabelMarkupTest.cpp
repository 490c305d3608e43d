#include "components/LabelMarkup.h"

#include <functional>

#include <gtest/gtest.h>

#include "base/Exception.h"
#include "tests/support/CanvasFixture.h"

using namespace base;
using namespace runtime;
using namespace components;

namespace {

class LabelMarkupTest : public testsupport::CanvasFixture {
protected:
    QImage Render(const std::function<void()>& draw) { return CanvasFixture::Render(draw, 300, 100); }
    QImage Markup(const std::string& caption, TTextLayout layout = tlTop, TAlignment alignment = taLeftJustify,
                  TTint tint = TTint::None) {
        return Render([&] { DrawMarkup(canvas, rect, clBlack, tint, caption, layout, alignment); });
    }
    // Plain runs drawn one after another from (x, y), each in its own style and colour.
    struct Run {
        std::string text;
        TFontStyles style = 0;
        TColor color = clBlack;
    };
    QImage Runs(int x, int y, const std::vector<Run>& runs) {
        return Render([&] {
            for (const Run& run : runs) {
                canvas.Font().SetStyle(run.style);
                canvas.Font().SetColor(run.color);
                canvas.TextOut(x, y, run.text);
                x += canvas.TextWidth(run.text);
            }
            canvas.Font().SetStyle(0);
            canvas.Font().SetColor(clBlack);
        });
    }

    TRect rect{0, 0, 300, 100};
};

} // namespace

TEST(MarkupColour, NamesNeedNoPrefixAndFailuresThrow) {
    EXPECT_EQ(MarkupColor("Red"), clRed);
    EXPECT_EQ(MarkupColor("btnface"), clBtnFace);
    EXPECT_EQ(MarkupColor("$00FF00"), clLime);
    for (const char* bad : {"", "255", "clRed", "no such", "$"}) {
        EXPECT_THROW(MarkupColor(bad), EConvertError) << bad;
    }
}

TEST(MarkupColour, TintsRoundHalvesToEven) {
    EXPECT_EQ(TintColor(clRed, TTint::Dark), RGB(26, 0, 0));
    EXPECT_EQ(TintColor(clWhite, TTint::Light), clWhite);
    EXPECT_EQ(TintColor(clRed, TTint::Light), RGB(255, 230, 230));
    EXPECT_EQ(TintColor(RGB(25, 35, 15), TTint::Dark), RGB(2, 4, 2));
    EXPECT_EQ(TintColor(clBtnFace, TTint::Dark), RGB(2, 0, 0)); // the stored bytes, not the resolved colour
    EXPECT_EQ(TintColor(clBtnFace, TTint::None), clBtnFace);
}

TEST_F(LabelMarkupTest, BoldTagsInAnyCaseSwitchTheStyleOfTheirRun) {
    EXPECT_EQ(Markup("<B>bold</b> plain"), Runs(2, 0, {{"bold", fsBold}, {" plain"}}));
    EXPECT_EQ(Markup("<i>a</I><u>b</u>c"), Runs(2, 0, {{"a", fsItalic}, {"b", fsUnderline}, {"c"}}));
}

TEST_F(LabelMarkupTest, LessThanWithoutAKnownTagIsText) {
    EXPECT_EQ(Markup("a<b"), Runs(2, 0, {{"a<b"}}));
    EXPECT_EQ(Markup("x < y"), Runs(2, 0, {{"x < y"}}));
    EXPECT_EQ(Markup("&a\tb"), Runs(2, 0, {{"&a\tb"}}));
}

TEST_F(LabelMarkupTest, ColourTagsSetAndResetTheColour) {
    EXPECT_EQ(Markup("<c:Red>x</c>y"), Runs(2, 0, {{"x", 0, clRed}, {"y"}}));
    EXPECT_EQ(Markup("<c:$00FF00>x"), Runs(2, 0, {{"x", 0, clLime}}));
    // An unknown colour leaves the current one; an unclosed tag swallows the line.
    EXPECT_EQ(Markup("<c:Red>x<c:no such>y<c:255>z"), Runs(2, 0, {{"xyz", 0, clRed}}));
    EXPECT_EQ(Markup("a<c:Red"), Runs(2, 0, {{"a"}}));
}

TEST_F(LabelMarkupTest, TagColoursAreTintedInShiftedPasses) {
    EXPECT_EQ(Markup("<c:Red>x", tlTop, taLeftJustify, TTint::Dark), Runs(2, 0, {{"x", 0, RGB(26, 0, 0)}}));
    EXPECT_EQ(Markup("<c:Red>x</c>y", tlTop, taLeftJustify, TTint::Light),
              Runs(2, 0, {{"x", 0, RGB(255, 230, 230)}, {"y"}}));
}

TEST_F(LabelMarkupTest, EveryLineStartsWithTheBaseStyleAndColour) {
    const int h = canvas.TextHeight("W");
    const QImage expected = Render([&] {
        canvas.Font().SetStyle(fsBold);
        canvas.Font().SetColor(clRed);
        canvas.TextOut(2, 0, "a");
        canvas.Font().SetStyle(0);
        canvas.Font().SetColor(clBlack);
        canvas.TextOut(2, h, "b");
        canvas.TextOut(2, 2 * h, "c");
        canvas.TextOut(2, 3 * h, "d");
    });
    EXPECT_EQ(Markup("<b><c:Red>a\r\nb\rc\nd\n"), expected);
}

TEST_F(LabelMarkupTest, BottomLayoutPutsTheLastLineAtTheBottom) {
    const int h = canvas.TextHeight("W");
    EXPECT_EQ(Markup("a\nb\nc", tlBottom), Render([&] {
                  canvas.TextOut(2, 100 - 3 * h, "a");
                  canvas.TextOut(2, 100 - 2 * h, "b");
                  canvas.TextOut(2, 100 - h, "c");
              }));
    EXPECT_EQ(Markup("a\nb", tlCenter), Render([&] {
                  canvas.TextOut(2, (100 - 2 * h) / 2, "a");
                  canvas.TextOut(2, (100 - 2 * h) / 2 + h, "b");
              }));
}

TEST_F(LabelMarkupTest, AlignmentMeasuresEachLineWithItsTags) {
    const int plain = canvas.TextWidth("tail");
    canvas.Font().SetStyle(fsBold);
    const int bold = canvas.TextWidth("bold");
    canvas.Font().SetStyle(0);
    EXPECT_EQ(MeasureMarkupLine(canvas, rect, "<b>bold</b>tail"), bold + plain + 4);
    EXPECT_EQ(canvas.Font().Style(), 0u);

    EXPECT_EQ(Markup("tail", tlTop, taRightJustify), Runs(300 - plain - 2, 0, {{"tail"}}));
    EXPECT_EQ(Markup("tail", tlTop, taCenter), Runs((300 - plain - 4) / 2 + 2, 0, {{"tail"}}));
    EXPECT_EQ(Markup("<b>bold</b>tail", tlTop, taRightJustify),
              Runs(300 - plain - bold - 2, 0, {{"bold", fsBold}, {"tail"}}));
}

TEST_F(LabelMarkupTest, EmptyCaptionDrawsNothing) {
    EXPECT_EQ(Markup(""), testsupport::Blank(300, 100, Qt::white));
}
