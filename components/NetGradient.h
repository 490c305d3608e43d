#pragma once

#include <cstdint>
#include <string>

#include "runtime/GraphicControl.h"

namespace components {

enum TFillDirection : std::uint8_t { fdLeftToRight, fdRightToLeft };
using TNumberOfColors = std::uint8_t; // 1..255

// A background panel: a horizontal colour gradient of vertical bands with one
// line of caption text over it at (TextLeft, TextTop). "Paint at once" below
// means painting immediately; a repaint request goes through the event loop.
class TNetGradient : public runtime::TGraphicControl {
public:
    TNetGradient(QWidget* owner, const std::string& name);

    bool AutoSize() const { return autoSize_; }
    // Stored only: it changes neither size nor drawing.
    void SetAutoSize(bool autoSize);
    base::TColor BeginColor() const { return beginColor_; }
    void SetBeginColor(base::TColor color);
    base::TColor EndColor() const { return endColor_; }
    void SetEndColor(base::TColor color);
    TFillDirection FillDirection() const { return fillDirection_; }
    void SetFillDirection(TFillDirection direction);
    TNumberOfColors NumberOfColors() const { return numberOfColors_; }
    // Kept to 1..255.
    void SetNumberOfColors(int count);
    // Copies the attributes of another font and paints at once; the panel's
    // own font object changes nothing.
    void SetFont(const runtime::TFont& font) override;
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int TextTop() const { return textTop_; }
    void SetTextTop(int top);
    int TextLeft() const { return textLeft_; }
    void SetTextLeft(int left);

protected:
    void Paint() override;
    // Changes made to the font in place show at the next repaint only.
    void FontChanged() override {}

private:
    TFillDirection fillDirection_ = fdLeftToRight;
    base::TColor beginColor_ = base::clGray;
    base::TColor endColor_ = base::clBtnFace;
    bool autoSize_ = false;
    TNumberOfColors numberOfColors_ = 255;
    std::string caption_;
    int textTop_ = 5;
    int textLeft_ = 12;
};

} // namespace components
