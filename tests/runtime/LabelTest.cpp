#include "runtime/Label.h"

#include <QWidget>
#include <gtest/gtest.h>

#include "base/Exception.h"
#include "tests/support/ImageProbe.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WidgetInput.h"

using namespace base;
using namespace runtime;
using testsupport::BoundsOf;

namespace {

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetFontAntialiasing(false);
        label.Font().SetName("Verdana");
        label.Font().SetHeight(-16);
        label.Font().SetColor(clBlack);
        label.SetColor(clWhite);
    }
    void TearDown() override { SetFontAntialiasing(true); }

    TSize Extent(const std::string& text) {
        TCanvas canvas;
        canvas.SetFont(label.Font());
        return canvas.TextExtent(text);
    }

    TLabel label{nullptr, "Label1"};
};

} // namespace

TEST_F(LabelTest, AutoSizeFollowsTheCaptionAndKeepsTheRightEdgeWhenRightJustified) {
    label.SetBounds(100, 10, 300, 50);
    label.SetCaption("Atualizar");
    const TSize size = Extent("Atualizar");
    EXPECT_EQ(label.geometry(), QRect(100, 10, size.cx, size.cy));

    label.SetAlignment(taRightJustify);
    const int right = label.Left() + label.Width();
    label.SetCaption("Atualizar agora");
    EXPECT_EQ(label.Width(), Extent("Atualizar agora").cx);
    EXPECT_EQ(label.Left() + label.Width(), right);

    // An empty caption or a lone accelerator sign measures as a blank.
    label.SetAlignment(taLeftJustify);
    label.SetCaption("");
    EXPECT_EQ(label.Width(), Extent(" ").cx);
    EXPECT_EQ(label.Height(), size.cy);
    label.SetCaption("&");
    EXPECT_EQ(label.Width(), Extent(" ").cx);
}

TEST_F(LabelTest, AutoSizeWrapsWithinTheCurrentWidthAndWaitsForLoading) {
    label.SetAutoSize(false);
    label.SetWordWrap(true);
    label.SetBounds(0, 0, Extent("alpha beta").cx + 2, 10);
    label.SetCaption("alpha beta gamma");
    EXPECT_EQ(label.Height(), 10);

    label.BeginLoad();
    label.SetAutoSize(true);
    label.Font().SetHeight(-16);
    EXPECT_EQ(label.Height(), 10);
    label.EndLoad();
    EXPECT_EQ(label.Width(), Extent("alpha beta").cx);
    EXPECT_EQ(label.Height(), 2 * Extent("W").cy);

    // A font change measures again, within the width the label has now.
    label.Font().SetHeight(-30);
    EXPECT_EQ(label.Height(), 3 * Extent("W").cy);
}

TEST_F(LabelTest, HeldUpdatesKeepSizeAndSpokenTextUntilReleased) {
    label.SetCaption("Lendo...");
    const QRect before = label.geometry();
    label.HoldUpdates(true);
    label.SetCaption("Transferidos: 1.024 Kb de 524.288 Kb");
    label.SetCaption("Transferidos: 2.048 Kb de 524.288 Kb");
    EXPECT_EQ(label.Caption(), "Transferidos: 2.048 Kb de 524.288 Kb");
    EXPECT_EQ(label.geometry(), before) << "not measured while held";
    EXPECT_EQ(label.accessibleName(), "Lendo...");

    label.HoldUpdates(false);
    EXPECT_EQ(label.Width(), Extent("Transferidos: 2.048 Kb de 524.288 Kb").cx);
    EXPECT_EQ(label.accessibleName(), "Transferidos: 2.048 Kb de 524.288 Kb");
}

TEST_F(LabelTest, CarriesItsNameAndSpokenText) {
    label.SetCaption("&Continuar  ");
    EXPECT_EQ(label.objectName(), "Label1");
    EXPECT_EQ(label.accessibleName(), "Continuar  ");
    label.SetCaption("A && B");
    EXPECT_EQ(label.accessibleName(), "A & B");
    EXPECT_EQ(StripHotkey("&Sair"), "Sair");
}

TEST_F(LabelTest, LayoutPlacesTheTextAtTheBottom) {
    label.SetAutoSize(false);
    label.SetBounds(0, 0, 200, 80);
    label.SetCaption("Xy");
    label.SetLayout(tlBottom);
    const QImage bottom = label.grab().toImage();
    label.SetLayout(tlTop);
    const QImage top = label.grab().toImage();
    EXPECT_EQ(BoundsOf(bottom, Qt::black), BoundsOf(top, Qt::black).translated(0, 80 - Extent("Xy").cy));
}

TEST_F(LabelTest, DisabledTextIsEmbossed) {
    label.SetCaption("Xy");
    label.SetEnabled(false);
    const QImage image = label.grab().toImage();
    const QColor shadow = ToQColor(clBtnShadow);
    const QColor highlight = ToQColor(clBtnHighlight);
    label.SetColor(clBlack);
    const QImage onBlack = label.grab().toImage();
    EXPECT_EQ(testsupport::CountOf(image, Qt::black), 0);
    EXPECT_EQ(BoundsOf(onBlack, highlight).topLeft(), BoundsOf(image, shadow).topLeft() + QPoint(1, 1));
}

TEST_F(LabelTest, ClickInsideFiresOnClick) {
    label.SetCaption("Xy");
    int clicks = 0;
    QObject* sender = nullptr;
    label.OnClick = [&](QObject* s) {
        ++clicks;
        sender = s;
    };
    testsupport::ClickAt(label, QPoint(2, 2));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(sender, &label);
}

TEST(GraphicControl, IsVisibleWhenPlacedOnAWindowAlreadyShown) {
    QWidget window;
    window.resize(100, 50);
    window.show();
    TLabel label(&window, "Label1");
    EXPECT_TRUE(label.isVisible());
}

TEST_F(LabelTest, FailingClickHandlerIsReportedAndGoesNoFurther) {
    testsupport::MessageBoxRecorder boxes;
    label.OnClick = [](QObject*) { throw Exception("Falhou"); };
    testsupport::ClickAt(label, QPoint(2, 2));
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Falhou."});
}
