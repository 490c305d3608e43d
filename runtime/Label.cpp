#include "runtime/Label.h"

#include "runtime/Accessibility.h"

namespace runtime {

TCustomLabel::TCustomLabel(QWidget* parent, const std::string& name) : TGraphicControl(parent, name) {
    InstallAccessibleControls();
    SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetCaption(const std::string& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    if (!UpdatesHeld()) {
        FollowCaption();
        Invalidate();
    }
}

void TCustomLabel::FollowCaption() {
    SetAccessibleText(SpokenCaption());
    AdjustBounds();
}

void TCustomLabel::SetAutoSize(bool autoSize) {
    if (autoSize_ != autoSize) {
        autoSize_ = autoSize;
        AdjustBounds();
    }
}

void TCustomLabel::SetAlignment(TAlignment alignment) {
    if (alignment_ != alignment) {
        alignment_ = alignment;
        Invalidate();
    }
}

void TCustomLabel::SetLayout(TTextLayout layout) {
    if (layout_ != layout) {
        layout_ = layout;
        Invalidate();
    }
}

void TCustomLabel::SetWordWrap(bool wordWrap) {
    if (wordWrap_ != wordWrap) {
        wordWrap_ = wordWrap;
        AdjustBounds();
        Invalidate();
    }
}

void TCustomLabel::SetShowAccelChar(bool showAccelChar) {
    if (showAccelChar_ != showAccelChar) {
        showAccelChar_ = showAccelChar;
        Invalidate();
    }
}

void TCustomLabel::FontChanged() {
    Invalidate();
    AdjustBounds();
}

unsigned TCustomLabel::PaintFlags() const {
    unsigned flags = DT_EXPANDTABS;
    if (wordWrap_) {
        flags |= DT_WORDBREAK;
    }
    if (alignment_ == taRightJustify) {
        flags |= DT_RIGHT;
    } else if (alignment_ == taCenter) {
        flags |= DT_CENTER;
    }
    return flags;
}

std::string TCustomLabel::MeasuredCaption(unsigned flags) const {
    if ((flags & DT_CALCRECT) && (caption_.empty() || (showAccelChar_ && caption_ == "&"))) {
        return caption_ + " ";
    }
    return caption_;
}

void TCustomLabel::PaintBackground() {
    TCanvas& canvas = Canvas();
    if (!Transparent()) {
        canvas.Brush().Color = Color();
        canvas.Brush().Style = bsSolid;
        canvas.FillRect(ClientRect());
    }
    canvas.Brush().Style = bsClear;
}

void TCustomLabel::Paint() {
    PaintBackground();
    TRect rect = ClientRect();
    const unsigned flags = PaintFlags();
    if (layout_ != tlTop) {
        TRect calc = rect;
        DrawLabelText(calc, flags | DT_CALCRECT);
        const int offset = layout_ == tlBottom ? Height() - calc.Bottom : (Height() - calc.Bottom) / 2;
        rect.Offset(0, offset);
    }
    DrawLabelText(rect, flags);
}

void TCustomLabel::DrawLabelText(TRect& rect, unsigned flags) {
    const std::string text = MeasuredCaption(flags);
    if (!showAccelChar_) {
        flags |= DT_NOPREFIX;
    }
    TCanvas& canvas = Canvas();
    canvas.SetFont(Font());
    if (Enabled() || (flags & DT_CALCRECT)) {
        canvas.DrawText(text, rect, flags);
        return;
    }
    // Disabled: embossed, a highlight copy one pixel down-right under a shadow copy.
    rect.Offset(1, 1);
    canvas.Font().SetColor(base::clBtnHighlight);
    canvas.DrawText(text, rect, flags);
    rect.Offset(-1, -1);
    canvas.Font().SetColor(base::clBtnShadow);
    canvas.DrawText(text, rect, flags);
}

void TCustomLabel::AdjustBounds() {
    if (Loading() || UpdatesHeld() || !autoSize_) {
        return;
    }
    TRect rect = ClientRect();
    DrawLabelText(rect, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0u));
    int left = Left();
    if (alignment_ == taRightJustify) {
        left += Width() - rect.Right;
    }
    SetBounds(left, Top(), rect.Right, rect.Bottom);
}

} // namespace runtime
