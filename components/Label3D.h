#pragma once

#include <cstdint>
#include <string>

#include "components/LabelMarkup.h"
#include "runtime/Controls.h"
#include "runtime/Label.h"

namespace components {

enum TTextStyle : std::uint8_t { tsNone, tsRaised, tsLightRaised, tsRecessed, tsHeavyRecessed, tsShadow };
enum TLabelStyle : std::uint8_t { lsDefault, lsWWWAddress, lsEMailAddress };
enum TBorderType : std::uint8_t { btDefault, btRecessed, btRaised };
enum TEllipsesStyle : std::uint8_t { esNone, esEnd, esPath };

// A label that draws its caption with a raised, recessed or shadowed look:
// shifted copies in darker or lighter colours first, then the caption itself.
// It can rotate the caption, frame itself, shorten text with an ellipsis, act
// as a web or e-mail link, and (Colored) interpret markup tags.
class TmyLabel3D : public runtime::TCustomLabel {
public:
    TmyLabel3D(QWidget* owner, const std::string& name);

    base::TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(base::TColor color);
    runtime::TPenStyle BorderPenStyle() const { return borderPenStyle_; }
    void SetBorderPenStyle(runtime::TPenStyle style);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    bool Border() const { return border_; }
    void SetBorder(bool border);
    TBorderType BorderType() const { return borderType_; }
    void SetBorderType(TBorderType type);
    // Degrees counter-clockwise, normalised into 0..360.
    int Escapement() const { return escapement_; }
    void SetEscapement(int degrees);
    TTextStyle TextStyle() const { return textStyle_; }
    void SetTextStyle(TTextStyle style);
    TLabelStyle LabelStyle() const { return labelStyle_; }
    void SetLabelStyle(TLabelStyle style);
    const std::string& Address() const { return address_; }
    void SetAddress(const std::string& address) { address_ = address; }
    TEllipsesStyle EllipsesStyle() const { return ellipsesStyle_; }
    // An ellipsis switches auto-size off.
    void SetEllipsesStyle(TEllipsesStyle style);
    int Shift() const { return shift_; }
    void SetShift(int shift);
    bool Colored() const { return colored_; }
    void SetColored(bool colored);

    runtime::TNotifyEvent OnMouseEnter;
    runtime::TNotifyEvent OnMouseExit;

protected:
    void Paint() override;
    void DrawLabelText(runtime::TRect& rect, unsigned flags) override;
    std::string SpokenCaption() const override;
    void Click() override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    bool IsLink() const { return labelStyle_ == lsWWWAddress || labelStyle_ == lsEMailAddress; }
    void DrawFrame(base::TColor topLeft, base::TColor bottomRight);
    void DrawPass(const std::string& text, runtime::TRect& rect, unsigned flags, TTint tint);
    void DrawRotated(const std::string& text, const runtime::TRect& rect);

    int escapement_ = 0;
    TTextStyle textStyle_ = tsRaised;
    TLabelStyle labelStyle_ = lsDefault;
    base::TColor shadowColor_ = base::clBtnShadow;
    base::TColor highlightColor_ = base::clBtnHighlight;
    base::TColor hoverColor_ = base::clRed;
    base::TColor savedFontColor_ = base::clBlack;
    std::string address_;
    base::TColor borderColor_ = base::clRed;
    int borderWidth_ = 1;
    runtime::TPenStyle borderPenStyle_ = runtime::psSolid;
    TBorderType borderType_ = btDefault;
    bool border_ = false;
    TEllipsesStyle ellipsesStyle_ = esNone;
    int shift_ = 1;
    bool colored_ = false;
};

// Sets up the large warning of the confirmation and script error windows: the
// caption raised (Shift 1, a red copy), centred and word-wrapped in font on a
// transparent background, the label auto-sized to it with its top-left corner
// at the box's. The box is what the wrapped caption took with the face the
// windows were designed with; a stand-in face that runs wider would break it
// into more lines and run past the box. So the font's character height is
// lowered, a pixel at a time, until the wrapped caption fits the box: the
// lines then break as they were designed to, and nothing is cut off.
void PlaceWarning(TmyLabel3D& label, const runtime::TBounds& box, const std::string& caption,
                  const runtime::TFont& font);

} // namespace components
