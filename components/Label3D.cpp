#include "components/Label3D.h"

#include <cmath>
#include <cstdlib>
#include <exception>
#include <numbers>
#include <vector>

#include "platform/Process.h"
#include "runtime/Application.h"
#include "runtime/QtText.h"

using namespace base;
using namespace runtime;

namespace components {

namespace {

constexpr TColor frameGray = RGB(128, 128, 128);
constexpr TColor frameWhite = RGB(255, 255, 255);

// Rotated text is measured through a buffer of 256 characters: a longer
// caption is measured by its first 255 characters (and so comes out
// shorter than it is drawn).
constexpr qsizetype rotatedMeasureLimit = 255;

int Trunc(double value) {
    return static_cast<int>(std::trunc(value));
}

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

struct ShiftedCopy {
    TColor color;
    TTint tint;
    int direction; // +1 right and down, -1 left and up (for a positive Shift)
};

} // namespace

TmyLabel3D::TmyLabel3D(QWidget* owner, const std::string& name) : TCustomLabel(owner, name) {
    Font().SetName("Arial");
}

void TmyLabel3D::SetBorderColor(TColor color) {
    borderColor_ = color;
    Canvas().Pen().Color = color;
    Invalidate();
}

void TmyLabel3D::SetBorderPenStyle(TPenStyle style) {
    borderPenStyle_ = style;
    Canvas().Pen().Style = style;
    Invalidate();
}

void TmyLabel3D::SetBorderWidth(int width) {
    borderWidth_ = width;
    Canvas().Pen().Width = width;
    Invalidate();
}

void TmyLabel3D::SetBorder(bool border) {
    border_ = border;
    Invalidate();
}

void TmyLabel3D::SetBorderType(TBorderType type) {
    if (borderType_ != type) {
        borderType_ = type;
        Invalidate();
    }
}

void TmyLabel3D::SetEscapement(int degrees) {
    if (escapement_ == degrees) {
        return;
    }
    if (degrees < 0) {
        while (degrees < -360) {
            degrees += 360;
        }
        degrees += 360;
    } else {
        while (degrees > 360) {
            degrees -= 360;
        }
    }
    escapement_ = degrees;
    Invalidate();
}

void TmyLabel3D::SetTextStyle(TTextStyle style) {
    if (textStyle_ != style) {
        textStyle_ = style;
        Invalidate();
    }
}

void TmyLabel3D::SetLabelStyle(TLabelStyle style) {
    labelStyle_ = style;
}

void TmyLabel3D::SetEllipsesStyle(TEllipsesStyle style) {
    if (ellipsesStyle_ == style) {
        return;
    }
    if (style != esNone) {
        SetAutoSize(false);
    }
    ellipsesStyle_ = style;
    Invalidate();
}

void TmyLabel3D::SetShift(int shift) {
    if (shift_ != shift) {
        shift_ = shift;
        Invalidate();
    }
}

void TmyLabel3D::SetColored(bool colored) {
    if (colored_ != colored) {
        colored_ = colored;
        SetAccessibleText(SpokenCaption());
        Invalidate();
    }
}

std::string TmyLabel3D::SpokenCaption() const {
    return colored_ ? MarkupPlainText(Caption()) : Caption();
}

void TmyLabel3D::Paint() {
    PaintBackground();
    TCanvas& canvas = Canvas();
    if (border_ && borderWidth_ > 0) {
        canvas.Pen().Color = borderColor_;
        switch (borderType_) {
        case btDefault:
            canvas.Rectangle(0, 0, Width(), Height());
            break;
        case btRecessed:
            DrawFrame(frameGray, frameWhite);
            break;
        case btRaised:
            DrawFrame(frameWhite, frameGray);
            break;
        }
    }
    TRect rect = ClientRect();
    DrawLabelText(rect, PaintFlags());
}

// Top and left edges in the first colour, right and bottom in the second,
// each line leaving out its end point.
void TmyLabel3D::DrawFrame(TColor topLeft, TColor bottomRight) {
    TCanvas& canvas = Canvas();
    const int right = Width() - 1;
    const int bottom = Height() - 1;
    canvas.Pen().Color = topLeft;
    canvas.MoveTo(0, 0);
    canvas.LineTo(right, 0);
    canvas.MoveTo(0, 0);
    canvas.LineTo(0, bottom);
    canvas.Pen().Color = bottomRight;
    canvas.MoveTo(right, bottom);
    canvas.LineTo(right, 0);
    canvas.MoveTo(right, bottom);
    canvas.LineTo(0, bottom);
}

void TmyLabel3D::DrawLabelText(TRect& rect, unsigned flags) {
    const std::string text = MeasuredCaption(flags);
    if (!ShowAccelChar()) {
        flags |= DT_NOPREFIX;
    }
    if (ellipsesStyle_ == esEnd) {
        flags |= DT_END_ELLIPSIS;
    } else if (ellipsesStyle_ == esPath) {
        flags |= DT_PATH_ELLIPSIS;
    }
    if (escapement_ == 0 && Layout() == tlCenter) {
        flags |= DT_VCENTER | DT_SINGLELINE;
    } else if (escapement_ == 0 && Layout() == tlBottom) {
        flags |= DT_BOTTOM | DT_SINGLELINE;
    }
    TCanvas& canvas = Canvas();
    canvas.SetFont(Font());

    std::vector<ShiftedCopy> copies;
    switch (textStyle_) {
    case tsNone:
        break;
    case tsRaised:
        copies = {{borderColor_, TTint::Dark, 1}};
        break;
    case tsLightRaised:
        copies = {{shadowColor_, TTint::Dark, 1}, {highlightColor_, TTint::Light, -1}};
        break;
    case tsRecessed:
        copies = {{highlightColor_, TTint::Light, 1}};
        break;
    case tsHeavyRecessed:
        copies = {{highlightColor_, TTint::Light, 1}, {shadowColor_, TTint::Dark, -1}};
        break;
    case tsShadow:
        copies = {{shadowColor_, TTint::Dark, 1}};
        break;
    }
    // The copies are not part of a measured size, so measuring skips them.
    if (!(flags & DT_CALCRECT)) {
        for (const ShiftedCopy& copy : copies) {
            TRect shifted = rect;
            shifted.Offset(copy.direction * shift_, copy.direction * shift_);
            canvas.Font().SetColor(copy.color);
            DrawPass(text, shifted, flags, copy.tint);
        }
    }
    canvas.Font().SetColor(Enabled() ? Font().Color() : clGrayText);
    DrawPass(text, rect, flags, TTint::None);
}

void TmyLabel3D::DrawPass(const std::string& text, TRect& rect, unsigned flags, TTint tint) {
    TCanvas& canvas = Canvas();
    if (escapement_ != 0) {
        if (!(flags & DT_CALCRECT)) {
            DrawRotated(text, rect);
        }
    } else if (colored_) {
        if (!(flags & DT_CALCRECT)) {
            DrawMarkup(canvas, rect, canvas.Font().Color(), tint, Caption(), Layout(), Alignment());
        }
    } else {
        canvas.DrawText(text, rect, flags);
    }
}

void TmyLabel3D::DrawRotated(const std::string& text, const TRect& rect) {
    TCanvas measuring;
    measuring.SetFont(Font());
    const TSize extent = measuring.TextExtent(FromQString(ToQString(text).left(rotatedMeasureLimit)));
    const double cx = extent.cx;
    const double cy = extent.cy;
    const int a = escapement_;
    const double theta = Radians(a);

    int dx = 0;
    int dy = 0;
    if (a <= 90) {
        dy = Trunc(std::sin(theta) * cx);
    } else if (a <= 180) {
        dx = Trunc(-std::cos(theta) * cx);
        dy = Trunc(std::sin(theta) * cx + std::cos(Radians(180 - a)) * cy);
    } else if (a <= 270) {
        dx = Trunc(-std::cos(theta) * cx + std::sin(Radians(a - 180)) * cy);
        dy = Trunc(std::sin(Radians(270 - a)) * cy);
    } else {
        dx = Trunc(std::sin(Radians(360 - a)) * cy);
    }
    const int boxWidth = std::abs(Trunc(std::cos(theta) * cx)) + std::abs(Trunc(std::sin(theta) * cy));
    const int boxHeight = std::abs(Trunc(std::sin(theta) * cx)) + std::abs(Trunc(std::cos(theta) * cy));

    int x = rect.Left + dx;
    const int y = rect.Top + dy;
    if (AutoSize()) {
        SetWidth(boxWidth);
        SetHeight(boxHeight);
    } else if (Alignment() == taCenter) {
        x += (Width() - boxWidth) / 2;
    } else if (Alignment() == taRightJustify) {
        x += Width() - boxWidth;
    }

    TCanvas& canvas = Canvas();
    const int previous = canvas.Font().Escapement();
    canvas.Font().SetEscapement(a * 10);
    canvas.TextOut(x, y, text);
    canvas.Font().SetEscapement(previous);
}

void TmyLabel3D::Click() {
    if (IsLink() && !address_.empty()) {
        try {
            SetCursor(crAppStart);
            Application().ProcessMessages();
            // The opener's result is not examined: a target that cannot be opened is not reported.
            platform::ShellOpen(labelStyle_ == lsEMailAddress ? "mailto:" + address_ : address_,
                                platform::SW_SHOW_NORMAL);
            SetCursor(crHandPoint);
        } catch (const std::exception&) {
            // An error while opening the link skips the rest of it; the click still runs.
        }
    }
    TCustomLabel::Click();
}

void TmyLabel3D::MouseEnter() {
    if (IsLink()) {
        savedFontColor_ = Font().Color();
        Font().SetStyle(Font().Style() | fsUnderline);
        SetCursor(crHandPoint);
        Application().ProcessMessages();
        Font().SetColor(hoverColor_);
    }
    if (OnMouseEnter) {
        OnMouseEnter(this);
    }
}

void TmyLabel3D::MouseLeave() {
    if (IsLink()) {
        SetCursor(crDefault);
        Font().SetStyle(Font().Style() & ~fsUnderline);
        Application().ProcessMessages();
        Font().SetColor(savedFontColor_);
    }
    if (OnMouseExit) {
        OnMouseExit(this);
    }
}

void PlaceWarning(TmyLabel3D& label, const TBounds& box, const std::string& caption, const TFont& font) {
    label.BeginLoad();
    label.SetFont(font);
    label.SetTextStyle(tsRaised);
    label.SetShift(1);
    label.SetBorderColor(clRed);
    label.SetAlignment(taCenter);
    label.SetWordWrap(true);
    label.SetTransparent(true);
    label.SetColor(clBlack);
    label.SetCaption(caption);
    label.EndLoad();
    const int step = font.Height() < 0 ? 1 : -1;
    for (int height = font.Height();; height += step) {
        label.SetBounds(box.left, box.top, box.width, box.height);
        label.Font().SetHeight(height);
        const bool fits = label.Width() <= box.width && label.Height() <= box.height;
        if (fits || std::abs(height) <= 1)
            return;
    }
}

} // namespace components
