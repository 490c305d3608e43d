#include "components/NetGradient.h"

#include <QApplication>
#include <gtest/gtest.h>

#include "tests/support/ImageProbe.h"

using namespace base;
using namespace runtime;
using namespace components;
using testsupport::BoundsOf;
using testsupport::PixelAt;

namespace {

// Counts the paints so that tests can tell painting at once from a repaint request.
class CountingGradient : public TNetGradient {
public:
    using TNetGradient::TNetGradient;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        TNetGradient::Paint();
    }
};

class NetGradientTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetFontAntialiasing(false);
        gradient.SetCaption(" ");
    }
    void TearDown() override { SetFontAntialiasing(true); }

    QImage Render() { return gradient.grab().toImage(); }

    // The colour of each pixel column in the middle row.
    std::vector<QColor> Columns() {
        const QImage image = Render();
        std::vector<QColor> columns;
        for (int x = 0; x < image.width(); ++x) {
            columns.push_back(PixelAt(image, x, image.height() / 2));
        }
        return columns;
    }

    CountingGradient gradient{nullptr, "NetGradient1"};
};

QColor Rgb(int r, int g, int b) {
    return QColor(r, g, b);
}

} // namespace

TEST_F(NetGradientTest, StartsWithTheDocumentedValues) {
    TNetGradient fresh(nullptr, "NetGradient2");
    EXPECT_EQ(fresh.geometry(), QRect(0, 0, 400, 25));
    EXPECT_EQ(fresh.BeginColor(), clGray);
    EXPECT_EQ(fresh.EndColor(), clBtnFace);
    EXPECT_EQ(fresh.FillDirection(), fdLeftToRight);
    EXPECT_EQ(fresh.NumberOfColors(), 255);
    EXPECT_EQ(fresh.TextLeft(), 12);
    EXPECT_EQ(fresh.TextTop(), 5);
    EXPECT_EQ(fresh.Caption(), "TNetGradient");
    EXPECT_FALSE(fresh.AutoSize());
    EXPECT_EQ(fresh.Font().Style(), fsBold);
    EXPECT_EQ(fresh.Font().Color(), clWindowText);
    EXPECT_EQ(fresh.objectName(), "NetGradient2");
}

TEST_F(NetGradientTest, FirstAndLastBandsAreExactlyTheEndColoursInEitherDirection) {
    std::vector<QColor> columns = Columns();
    ASSERT_EQ(columns.size(), 400u);
    EXPECT_EQ(columns.front(), Rgb(128, 128, 128));
    EXPECT_EQ(columns.back(), Rgb(240, 240, 240)); // the button face, resolved
    gradient.SetFillDirection(fdRightToLeft);
    columns = Columns();
    EXPECT_EQ(columns.front(), Rgb(240, 240, 240));
    EXPECT_EQ(columns.back(), Rgb(128, 128, 128));
}

TEST_F(NetGradientTest, BandEdgesAndColoursRoundHalvesAwayFromZero) {
    // Ten pixels in four bands: edges at 0, 2.5, 5, 7.5 and 10 round to 0, 3, 5, 8, 10.
    gradient.SetBounds(0, 0, 10, 4);
    gradient.SetNumberOfColors(4);
    gradient.SetBeginColor(clBlack);
    gradient.SetEndColor(clWhite);
    const QColor b0 = Rgb(0, 0, 0), b1 = Rgb(85, 85, 85), b2 = Rgb(170, 170, 170), b3 = Rgb(255, 255, 255);
    EXPECT_EQ(Columns(), (std::vector<QColor>{b0, b0, b0, b1, b1, b2, b2, b2, b3, b3}));

    // Three bands: the middle one is start + d / 2 per channel, halves going away from zero.
    gradient.SetBounds(0, 0, 9, 4);
    gradient.SetNumberOfColors(3);
    gradient.SetBeginColor(RGB(100, 0, 7));
    gradient.SetEndColor(RGB(95, 255, 0));
    const QColor middle = Rgb(97, 128, 3);
    const QColor first = Rgb(100, 0, 7), last = Rgb(95, 255, 0);
    EXPECT_EQ(Columns(), (std::vector<QColor>{first, first, first, middle, middle, middle, last, last, last}));
}

TEST_F(NetGradientTest, OneBandOrEqualColoursFillUniformly) {
    gradient.SetBounds(0, 0, 50, 10);
    gradient.SetBeginColor(clNavy);
    gradient.SetEndColor(clBtnFace);
    gradient.SetNumberOfColors(1);
    EXPECT_EQ(BoundsOf(Render(), Rgb(0, 0, 128)), QRect(0, 0, 50, 10));
    gradient.SetFillDirection(fdRightToLeft);
    EXPECT_EQ(BoundsOf(Render(), Rgb(240, 240, 240)), QRect(0, 0, 50, 10));

    gradient.SetNumberOfColors(255);
    gradient.SetEndColor(clNavy);
    EXPECT_EQ(testsupport::CountOf(Render(), Rgb(0, 0, 128)), 50 * 10);
}

TEST_F(NetGradientTest, NumberOfColorsIsKeptWithinOneTo255) {
    gradient.SetNumberOfColors(0);
    EXPECT_EQ(gradient.NumberOfColors(), 1);
    gradient.SetNumberOfColors(1000);
    EXPECT_EQ(gradient.NumberOfColors(), 255);
}

TEST_F(NetGradientTest, CaptionIsDrawnOverTheBandsAtTextLeftAndTextTop) {
    gradient.SetBeginColor(clNavy);
    gradient.SetEndColor(clNavy);
    TFont font;
    font.SetName("Verdana");
    font.SetHeight(-12);
    font.SetColor(clWhite);
    gradient.SetFont(font);
    EXPECT_EQ(BoundsOf(Render(), Qt::white), QRect()); // a blank caption leaves the bands alone

    gradient.SetCaption("Hi");
    gradient.SetTextLeft(30);
    gradient.SetTextTop(7);
    TCanvas canvas;
    canvas.SetFont(gradient.Font());
    const TSize size = canvas.TextExtent("Hi");
    const QRect ink = BoundsOf(Render(), Qt::white);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(QRect(30, 7, size.cx, size.cy).contains(ink));
    EXPECT_LE(ink.left(), 32);
}

TEST_F(NetGradientTest, SettersPaintAtOnceOrRequestARepaintAsEachRequires) {
    gradient.show();
    QApplication::processEvents();
    const auto paintsNowAndLater = [&](auto change) {
        QApplication::processEvents();
        gradient.paints = 0;
        change();
        const int now = gradient.paints;
        QApplication::processEvents();
        return std::pair{now, gradient.paints};
    };
    // Unchanged fill direction: nothing at all.
    EXPECT_EQ(paintsNowAndLater([&] { gradient.SetFillDirection(fdLeftToRight); }), std::pair(0, 0));
    // Caption, text position and colours paint at once, even with the same value.
    EXPECT_GE(paintsNowAndLater([&] { gradient.SetCaption(" "); }).first, 1);
    EXPECT_GE(paintsNowAndLater([&] { gradient.SetTextTop(5); }).first, 1);
    EXPECT_GE(paintsNowAndLater([&] { gradient.SetBeginColor(clRed); }).first, 1);
    // Band count and auto-size only ask for a repaint.
    const auto bands = paintsNowAndLater([&] { gradient.SetNumberOfColors(10); });
    EXPECT_EQ(bands.first, 0);
    EXPECT_GE(bands.second, 1);
    // The panel does not watch its font: an in-place change waits for a repaint,
    // and assigning its own font object does nothing.
    EXPECT_EQ(paintsNowAndLater([&] { gradient.Font().SetColor(clRed); }), std::pair(0, 0));
    EXPECT_EQ(paintsNowAndLater([&] { gradient.SetFont(gradient.Font()); }), std::pair(0, 0));
    gradient.hide();
}

TEST_F(NetGradientTest, AutoSizeChangesNeitherSizeNorDrawing) {
    const QImage before = Render();
    gradient.SetAutoSize(true);
    EXPECT_EQ(gradient.geometry(), QRect(0, 0, 400, 25));
    EXPECT_EQ(Render(), before);
}
