#include "components/NetGradient.h"

#include <algorithm>

#include "base/MulDiv.h"

using namespace base;
using namespace runtime;

namespace components {

TNetGradient::TNetGradient(QWidget* owner, const std::string& name) : TGraphicControl(owner, name) {
    SetBounds(0, 0, 400, 25);
    Font().SetStyle(fsBold);
    SetCaption("TNetGradient");
}

void TNetGradient::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    Invalidate();
}

void TNetGradient::SetBeginColor(TColor color) {
    beginColor_ = color;
    PaintNow();
    Invalidate();
}

void TNetGradient::SetEndColor(TColor color) {
    endColor_ = color;
    PaintNow();
    Invalidate();
}

void TNetGradient::SetFillDirection(TFillDirection direction) {
    if (fillDirection_ == direction) {
        return;
    }
    fillDirection_ = direction;
    PaintNow();
    Invalidate();
}

void TNetGradient::SetNumberOfColors(int count) {
    numberOfColors_ = static_cast<TNumberOfColors>(std::clamp(count, 1, 255));
    Invalidate();
}

void TNetGradient::SetFont(const TFont& font) {
    if (&font != &Font()) {
        Font().Assign(font);
        PaintNow();
    }
}

void TNetGradient::SetCaption(const std::string& caption) {
    caption_ = caption;
    SetAccessibleText(caption);
    PaintNow();
}

void TNetGradient::SetTextTop(int top) {
    textTop_ = top;
    PaintNow();
}

void TNetGradient::SetTextLeft(int left) {
    textLeft_ = left;
    PaintNow();
}

void TNetGradient::Paint() {
    TBitmap bitmap(Width(), Height());
    const bool leftToRight = fillDirection_ == fdLeftToRight;
    const TColor start = ColorToRGB(leftToRight ? beginColor_ : endColor_);
    const TColor end = ColorToRGB(leftToRight ? endColor_ : beginColor_);
    const int red = GetRValue(start), green = GetGValue(start), blue = GetBValue(start);
    const int dRed = GetRValue(end) - red, dGreen = GetGValue(end) - green, dBlue = GetBValue(end) - blue;

    TCanvas& bands = bitmap.Canvas();
    bands.Pen().Style = psSolid;
    bands.Brush().Style = bsSolid;
    const int n = numberOfColors_;
    const int w = bitmap.Width();
    for (int i = 0; i < n; ++i) {
        bands.Brush().Color =
            n >= 2 ? RGB(red + MulDiv(i, dRed, n - 1), green + MulDiv(i, dGreen, n - 1), blue + MulDiv(i, dBlue, n - 1))
                   : start;
        bands.FillRect(TRect{MulDiv(i, w, n), 0, MulDiv(i + 1, w, n), bitmap.Height()});
    }

    TCanvas& canvas = Canvas();
    canvas.Draw(0, 0, bitmap.Image());
    canvas.Brush().Style = bsClear;
    canvas.SetFont(Font());
    canvas.TextOut(textLeft_, textTop_, caption_);
}

} // namespace components
