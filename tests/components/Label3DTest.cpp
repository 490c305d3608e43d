#include "components/Label3D.h"

#include <QAccessible>
#include <gtest/gtest.h>

#include "base/Exception.h"
#include "platform/Process.h"
#include "tests/support/ImageProbe.h"
#include "tests/support/WidgetInput.h"

using namespace base;
using namespace runtime;
using namespace components;
using testsupport::BoundsOf;
using testsupport::CountOf;
using testsupport::PixelAt;

namespace {

struct Copy {
    QColor color;
    int dx, dy;
};

// What a label should look like: the copies of the text mask in drawing order
// over the background, the main text on top.
QImage Compose(const QImage& mask, QColor background, const std::vector<Copy>& copies, QColor main) {
    QImage image = testsupport::Blank(mask.width(), mask.height(), background);
    const auto stamp = [&](QColor color, int dx, int dy) {
        for (int y = 0; y < mask.height(); ++y) {
            for (int x = 0; x < mask.width(); ++x) {
                const int tx = x + dx, ty = y + dy;
                if (PixelAt(mask, x, y) != background && tx >= 0 && ty >= 0 && tx < image.width() &&
                    ty < image.height()) {
                    image.setPixel(tx, ty, color.rgb());
                }
            }
        }
    };
    for (const Copy& copy : copies) {
        stamp(copy.color, copy.dx, copy.dy);
    }
    stamp(main, 0, 0);
    return image;
}

class Label3DTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetFontAntialiasing(false);
        label.SetAutoSize(false);
        label.SetBounds(0, 0, 160, 70);
        label.Font().SetName("Verdana");
        label.Font().SetHeight(-30);
        label.Font().SetStyle(fsBold);
        label.Font().SetColor(clWhite);
        label.SetColor(clBlack);
        label.SetAlignment(taCenter);
        label.SetLayout(tlCenter);
        label.SetCaption("Ab");
    }
    void TearDown() override { SetFontAntialiasing(true); }

    QImage Render() { return label.grab().toImage(); }
    // The main text alone, in white.
    QImage Mask() {
        const TTextStyle style = label.TextStyle();
        label.SetTextStyle(tsNone);
        const QImage mask = Render();
        label.SetTextStyle(style);
        return mask;
    }
    TSize Extent(const std::string& text) {
        TCanvas canvas;
        canvas.SetFont(label.Font());
        return canvas.TextExtent(text);
    }

    TmyLabel3D label{nullptr, "myLabel3d1"};
};

TFont MakeSmallFont() {
    TFont font;
    font.SetName("Verdana");
    font.SetHeight(-8);
    font.SetColor(clWhite);
    return font;
}

const QColor shadow(160, 160, 160);
const QColor highlight(255, 255, 255);
const QColor red(255, 0, 0);
const QColor yellow(255, 255, 0);

} // namespace

TEST_F(Label3DTest, StartsWithTheDocumentedValues) {
    TmyLabel3D fresh(nullptr, "fresh");
    EXPECT_EQ(fresh.Font().Name(), "Arial");
    EXPECT_EQ(fresh.TextStyle(), tsRaised);
    EXPECT_EQ(fresh.Shift(), 1);
    EXPECT_EQ(fresh.BorderColor(), clRed);
    EXPECT_EQ(fresh.BorderWidth(), 1);
    EXPECT_EQ(fresh.LabelStyle(), lsDefault);
    EXPECT_EQ(fresh.EllipsesStyle(), esNone);
    EXPECT_EQ(fresh.Escapement(), 0);
    EXPECT_TRUE(fresh.AutoSize());
    EXPECT_FALSE(fresh.Transparent());
    EXPECT_FALSE(fresh.WordWrap());
    EXPECT_TRUE(fresh.ShowAccelChar());
    EXPECT_FALSE(fresh.Border());
    EXPECT_FALSE(fresh.Colored());
}

TEST_F(Label3DTest, EachTextStyleDrawsItsShiftedCopiesUnderTheText) {
    label.Font().SetColor(clYellow);
    const QImage mask = Mask();
    ASSERT_GT(CountOf(mask, yellow), 50);
    const struct {
        TTextStyle style;
        std::vector<Copy> copies;
    } cases[] = {
        {tsNone, {}},
        {tsRaised, {{red, 1, 1}}},
        {tsLightRaised, {{shadow, 1, 1}, {highlight, -1, -1}}},
        {tsRecessed, {{highlight, 1, 1}}},
        {tsHeavyRecessed, {{highlight, 1, 1}, {shadow, -1, -1}}},
        {tsShadow, {{shadow, 1, 1}}},
    };
    for (const auto& c : cases) {
        label.SetTextStyle(c.style);
        EXPECT_EQ(Render(), Compose(mask, Qt::black, c.copies, yellow)) << int(c.style);
    }
}

TEST_F(Label3DTest, RaisedWhiteTextHasARedCopyOnePixelRightAndDown) {
    const QImage mask = Mask();
    const QImage image = Render();
    EXPECT_EQ(image, Compose(mask, Qt::black, {{red, 1, 1}}, Qt::white));
    EXPECT_EQ(BoundsOf(image, red).bottomRight(), BoundsOf(mask, Qt::white).bottomRight() + QPoint(1, 1));
}

TEST_F(Label3DTest, NegativeShiftMovesTheCopiesUpAndLeft) {
    const QImage mask = Mask();
    label.SetShift(-2);
    label.SetTextStyle(tsLightRaised);
    label.Font().SetColor(clYellow);
    EXPECT_EQ(Render(), Compose(Mask(), Qt::black, {{shadow, -2, -2}, {highlight, 2, 2}}, yellow));
    EXPECT_EQ(BoundsOf(mask, Qt::white), BoundsOf(Mask(), yellow));
}

TEST_F(Label3DTest, DisabledLabelDrawsGreyTextOverUnchangedCopies) {
    const QImage mask = Mask();
    label.SetTextStyle(tsHeavyRecessed);
    label.SetEnabled(false);
    EXPECT_EQ(Render(), Compose(mask, Qt::black, {{highlight, 1, 1}, {shadow, -1, -1}}, QColor(109, 109, 109)));
}

TEST_F(Label3DTest, TransparentLabelLeavesTheBackgroundUnpainted) {
    QWidget parent;
    parent.resize(200, 100);
    parent.setStyleSheet("background: rgb(0, 0, 128)");
    label.setParent(&parent);
    label.SetTransparent(true);
    const QImage image = parent.grab().toImage();
    EXPECT_EQ(CountOf(image, Qt::black), 0);
    EXPECT_GT(CountOf(image, QColor(0, 0, 128)), 160 * 70 / 2);
    EXPECT_GT(CountOf(image, Qt::white), 50);
    label.setParent(nullptr);
}

TEST_F(Label3DTest, EscapementIsNormalisedIntoZeroTo360) {
    const std::pair<int, int> cases[] = {{-360, 0},  {-30, 330}, {-90, 270}, {-720, 0},  {450, 90},
                                         {720, 360}, {360, 360}, {90, 90},   {1000, 280}};
    for (const auto& [given, stored] : cases) {
        label.SetEscapement(given);
        EXPECT_EQ(label.Escapement(), stored) << given;
    }
}

TEST_F(Label3DTest, RotatedAutoSizedLabelSwapsWidthAndHeight) {
    label.SetTextStyle(tsNone);
    label.SetLayout(tlTop);
    label.SetAutoSize(true);
    const TSize size = Extent("Ab");
    EXPECT_EQ(label.geometry(), QRect(0, 0, size.cx, size.cy));
    label.SetEscapement(90);
    const QImage image = Render();
    EXPECT_EQ(label.Width(), size.cy);
    EXPECT_EQ(label.Height(), size.cx);
    // The text runs upwards inside the box that starts at the label's corner.
    const QRect ink = BoundsOf(Render(), Qt::white);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(QRect(0, 0, size.cy, size.cx).contains(ink));
    EXPECT_GT(ink.height(), ink.width());
}

TEST_F(Label3DTest, RotatedCaptionIsMeasuredByItsFirst255Characters) {
    label.SetFont(MakeSmallFont());
    label.SetAutoSize(true);
    label.SetCaption(std::string(300, 'a'));
    label.SetEscapement(90);
    Render();
    EXPECT_EQ(label.Height(), Extent(std::string(255, 'a')).cx);
}

TEST_F(Label3DTest, RotatedTextIsPlacedByAlignmentInAFixedLabel) {
    label.SetTextStyle(tsNone);
    label.SetAlignment(taLeftJustify);
    label.SetEscapement(180);
    const TSize size = Extent("Ab");
    const QRect left = BoundsOf(Render(), Qt::white);
    label.SetAlignment(taRightJustify);
    const QRect right = BoundsOf(Render(), Qt::white);
    EXPECT_EQ(right, left.translated(160 - size.cx, 0));
    // Upside down, the text lies in the box of its own size at the corner.
    EXPECT_TRUE(QRect(0, 0, size.cx, size.cy).contains(left));
    EXPECT_EQ(label.geometry(), QRect(0, 0, 160, 70));

    // A full turn still takes the rotated path: horizontal text at the top-left
    // corner, where the plain path would have centred it vertically.
    label.SetAlignment(taLeftJustify);
    label.SetEscapement(360);
    const QRect turned = BoundsOf(Render(), Qt::white);
    EXPECT_TRUE(QRect(0, 0, size.cx, size.cy).contains(turned));
    EXPECT_GT(turned.width(), turned.height());
}

TEST_F(Label3DTest, AutoSizeMeasuresTheMainTextAlone) {
    label.SetLayout(tlTop);
    label.SetAlignment(taLeftJustify);
    label.SetAutoSize(true);
    const TSize size = Extent("Ab");
    EXPECT_EQ(label.geometry(), QRect(0, 0, size.cx, size.cy));
    label.SetCaption("");
    EXPECT_EQ(label.geometry(), QRect(0, 0, Extent(" ").cx, size.cy));
}

TEST_F(Label3DTest, CenterAndBottomLayoutsKeepPlainTextOnOneLine) {
    label.SetTextStyle(tsNone);
    label.SetBounds(0, 0, 120, 200);
    label.SetWordWrap(true);
    label.SetCaption("Ab Ab Ab");
    label.SetLayout(tlTop);
    const int lineHeight = Extent("W").cy;
    EXPECT_GT(BoundsOf(Render(), Qt::white).height(), lineHeight);
    label.SetLayout(tlBottom);
    const QRect bottom = BoundsOf(Render(), Qt::white);
    EXPECT_LT(bottom.height(), lineHeight);
    EXPECT_GT(bottom.top(), 200 - lineHeight);
    label.SetLayout(tlCenter);
    EXPECT_LT(BoundsOf(Render(), Qt::white).height(), lineHeight);
}

TEST_F(Label3DTest, EllipsisSwitchesAutoSizeOffForGood) {
    label.SetAutoSize(true);
    label.SetEllipsesStyle(esEnd);
    EXPECT_FALSE(label.AutoSize());
    label.SetEllipsesStyle(esNone);
    EXPECT_FALSE(label.AutoSize());
}

TEST_F(Label3DTest, EndEllipsisShortensTextThatDoesNotFit) {
    label.SetTextStyle(tsNone);
    label.SetLayout(tlTop);
    label.SetAlignment(taLeftJustify);
    label.SetCaption("ABCDEFGHIJ");
    label.SetEllipsesStyle(esEnd);
    label.SetWidth(Extent("ABC...").cx + 1);
    const QImage cut = Render();
    label.SetEllipsesStyle(esNone);
    label.SetCaption("ABC...");
    EXPECT_EQ(cut, Render());
}

TEST_F(Label3DTest, BorderTypesDrawTheirFrames) {
    label.SetCaption("");
    label.SetBounds(0, 0, 20, 10);
    label.SetBorder(true);
    label.SetBorderColor(clLime);
    QImage image = Render();
    EXPECT_EQ(BoundsOf(image, Qt::green), QRect(0, 0, 20, 10));
    EXPECT_EQ(CountOf(image, Qt::green), 2 * 20 + 2 * 8);

    const QColor gray(128, 128, 128);
    label.SetBorderType(btRecessed);
    image = Render();
    EXPECT_EQ(BoundsOf(image, gray), QRect(QPoint(0, 0), QPoint(18, 8)));
    EXPECT_EQ(CountOf(image, gray), 19 + 9 - 1);
    EXPECT_EQ(BoundsOf(image, Qt::white), QRect(QPoint(1, 1), QPoint(19, 9)));
    EXPECT_EQ(CountOf(image, Qt::white), 19 + 9 - 1);
    // Each line leaves out its end point: two corners stay unpainted.
    EXPECT_EQ(PixelAt(image, 19, 0), QColor(Qt::black));
    EXPECT_EQ(PixelAt(image, 0, 9), QColor(Qt::black));

    label.SetBorderType(btRaised);
    image = Render();
    EXPECT_EQ(BoundsOf(image, Qt::white), QRect(QPoint(0, 0), QPoint(18, 8)));
    EXPECT_EQ(BoundsOf(image, gray), QRect(QPoint(1, 1), QPoint(19, 9)));

    label.SetBorderWidth(0);
    image = Render();
    EXPECT_EQ(CountOf(image, Qt::black), 20 * 10);
}

TEST_F(Label3DTest, BorderSettersWriteTheCanvasPen) {
    label.SetBorderColor(clBlue);
    label.SetBorderWidth(3);
    label.SetBorderPenStyle(psDot);
    EXPECT_EQ(label.Canvas().Pen().Color, clBlue);
    EXPECT_EQ(label.Canvas().Pen().Width, 3);
    EXPECT_EQ(label.Canvas().Pen().Style, psDot);
}

namespace {

class LinkTest : public Label3DTest {
protected:
    void SetUp() override {
        Label3DTest::SetUp();
        platform::SetShellOpener([this](const platform::ShellOpenRequest& request) {
            opened.push_back(request.target);
            EXPECT_EQ(request.showCommand, platform::SW_SHOW_NORMAL);
            return 42u;
        });
        label.OnClick = [this](QObject*) { ++clicks; };
    }
    void TearDown() override {
        platform::SetShellOpener({});
        Label3DTest::TearDown();
    }
    void Click() { testsupport::ClickAt(label, QPoint(5, 5)); }
    void Enter() { testsupport::EnterWidget(label); }
    void Leave() { testsupport::LeaveWidget(label); }

    std::vector<std::string> opened;
    int clicks = 0;
};

} // namespace

TEST_F(LinkTest, ClickOpensTheLinkTargetAndFiresOnClick) {
    label.SetLabelStyle(lsEMailAddress);
    label.SetAddress("a");
    Click();
    label.SetLabelStyle(lsWWWAddress);
    label.SetAddress("http://example.invalid/");
    Click();
    EXPECT_EQ(opened, (std::vector<std::string>{"mailto:a", "http://example.invalid/"}));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(label.Cursor(), crHandPoint);
}

TEST_F(LinkTest, PlainLabelOrEmptyAddressOnlyFiresOnClick) {
    label.SetAddress("http://example.invalid/");
    Click();
    label.SetLabelStyle(lsWWWAddress);
    label.SetAddress("");
    Click();
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(label.Cursor(), crDefault);
}

TEST_F(LinkTest, FailingOpenerIsSwallowedAndOnClickStillFires) {
    platform::SetShellOpener([](const platform::ShellOpenRequest&) -> unsigned { throw Exception("no opener"); });
    label.SetLabelStyle(lsWWWAddress);
    label.SetAddress("x");
    Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(label.Cursor(), crAppStart);
}

TEST_F(LinkTest, MouseOverALinkUnderlinesAndColoursIt) {
    int entered = 0, exited = 0;
    label.OnMouseEnter = [&](QObject*) { ++entered; };
    label.OnMouseExit = [&](QObject*) { ++exited; };
    label.SetLabelStyle(lsWWWAddress);
    label.Font().SetColor(clBlue);
    Enter();
    EXPECT_EQ(label.Font().Style(), fsBold | fsUnderline);
    EXPECT_EQ(label.Font().Color(), clRed);
    EXPECT_EQ(label.Cursor(), crHandPoint);
    Leave();
    EXPECT_EQ(label.Font().Style(), fsBold);
    EXPECT_EQ(label.Font().Color(), clBlue);
    EXPECT_EQ(label.Cursor(), crDefault);

    label.SetLabelStyle(lsDefault);
    Enter();
    EXPECT_EQ(label.Font().Style(), fsBold);
    EXPECT_EQ(label.Font().Color(), clBlue);
    EXPECT_EQ(label.Cursor(), crDefault);
    Leave();
    EXPECT_EQ(entered, 2);
    EXPECT_EQ(exited, 2);
}

TEST_F(Label3DTest, ColoredLabelTintsTagColoursInTheCopies) {
    label.SetColored(true);
    label.SetLayout(tlTop);
    label.SetAlignment(taLeftJustify);
    label.SetCaption("<c:Lime>Ab");
    label.SetTextStyle(tsNone);
    const QImage main = Render();
    ASSERT_GT(CountOf(main, Qt::green), 50);
    label.SetTextStyle(tsRaised);
    EXPECT_EQ(Render(), Compose(main, Qt::black, {{QColor(0, 26, 0), 1, 1}}, Qt::green));
    label.SetTextStyle(tsRecessed);
    EXPECT_EQ(Render(), Compose(main, Qt::black, {{QColor(230, 255, 230), 1, 1}}, Qt::green));
}

TEST_F(Label3DTest, ScreenReadersHearAColoredCaptionWithoutItsTags) {
    label.SetCaption("<b>Feche</b> os <c:Red>aplicativos</c>\r\n<x> &agora");
    EXPECT_EQ(label.accessibleName().toStdString(), "<b>Feche</b> os <c:Red>aplicativos</c>\r\n<x> agora");
    label.SetColored(true);
    EXPECT_EQ(label.accessibleName().toStdString(), "Feche os aplicativos <x> agora");
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(&label);
    ASSERT_NE(spoken, nullptr);
    EXPECT_EQ(spoken->role(), QAccessible::StaticText);
    EXPECT_EQ(spoken->text(QAccessible::Name).toStdString(), "Feche os aplicativos <x> agora");
    label.SetColored(false);
    EXPECT_EQ(label.accessibleName().toStdString(), "<b>Feche</b> os <c:Red>aplicativos</c>\r\n<x> agora");
}
