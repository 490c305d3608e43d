#pragma once

#include <string>

#include "runtime/GraphicControl.h"

namespace runtime {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

// A label: a caption drawn with the canvas's formatted text drawing. With
// AutoSize on (the default) it takes the size its text measures, keeping the
// right edge in place when right-justified.
class TCustomLabel : public TGraphicControl {
public:
    TCustomLabel(QWidget* parent, const std::string& name);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool showAccelChar);

protected:
    void Paint() override;
    // Fills the client area with Color unless transparent, then leaves the
    // brush clear so that text and frames paint no background.
    void PaintBackground();
    // Draws the caption into rect with DT_* flags; with DT_CALCRECT it only
    // measures, returning the extent in rect.
    virtual void DrawLabelText(TRect& rect, unsigned flags);
    // The caption as measured: an empty caption, or a lone "&" shown as an
    // accelerator, is measured as if a blank followed it.
    std::string MeasuredCaption(unsigned flags) const;
    // The caption as a screen reader speaks it.
    virtual std::string SpokenCaption() const { return caption_; }
    // The text flags of a paint: tabs expanded, word break when wrapping,
    // and the alignment.
    unsigned PaintFlags() const;
    // Sizes the control to its text when AutoSize is on.
    void AdjustBounds();
    void FontChanged() override;
    void Loaded() override { AdjustBounds(); }
    // The spoken caption and the size follow the caption set while held.
    void UpdatesReleased() override { FollowCaption(); }

private:
    // Gives screen readers the caption and sizes the control to it.
    void FollowCaption();

    std::string caption_;
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};

} // namespace runtime
