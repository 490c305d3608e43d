#pragma once

#include <string>

#include <QColor>
#include <QImage>

#include "base/Color.h"
#include "runtime/Font.h"
#include "runtime/Geometry.h"

class QPainter;
class QPaintDevice;

namespace runtime {

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

struct TPen {
    base::TColor Color = base::clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
};

enum TBrushStyle { bsSolid, bsClear };

struct TBrush {
    base::TColor Color = base::clWhite;
    TBrushStyle Style = bsSolid;
};

// Flags of TCanvas::DrawText.
enum : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_PATH_ELLIPSIS = 0x4000,
    DT_END_ELLIPSIS = 0x8000,
    DT_WORD_ELLIPSIS = 0x40000,
};

// The plain colour that draws a colour value (system colours resolved).
QColor ToQColor(base::TColor color);

// A small drawing surface in the manner of the desktop's graphics calls: a
// font, a pen and a brush that persist between uses, and drawing operations
// that use them. It measures at any time; it draws only while attached to a
// paint device (TCanvasDevice), and drawing without one does nothing.
// Coordinates are pixels; right and bottom edges are exclusive.
class TCanvas {
public:
    TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    ~TCanvas();

    TFont& Font() { return font_; }
    void SetFont(const TFont& font) { font_.Assign(font); }
    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    TPoint PenPos() const { return penPos_; }

    bool HandleAllocated() const { return painter_ != nullptr; }
    void Attach(QPaintDevice& device);
    void Detach();

    // Fills with the brush (nothing for a clear brush).
    void FillRect(const TRect& rect);
    // Outline with the pen, inside filled with the brush.
    void Rectangle(int left, int top, int right, int bottom);
    void MoveTo(int x, int y);
    // A line from the pen position to (x, y), the end point excluded.
    void LineTo(int x, int y);
    // One line of text with its top-left corner at (x, y), rotated by the
    // font's escapement around that corner. A solid brush fills behind it.
    void TextOut(int x, int y, const std::string& text);
    TSize TextExtent(const std::string& text) const;
    int TextWidth(const std::string& text) const { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) const { return TextExtent(text).cy; }
    // Formatted text in a rectangle (DT_* flags). With DT_CALCRECT it draws
    // nothing and sets rect's right and bottom to the text's extent. Returns
    // the height of the text.
    int DrawText(const std::string& text, TRect& rect, unsigned flags);
    void Draw(int x, int y, const QImage& image);

private:
    void ApplyFont();

    TFont font_;
    TPen pen_;
    TBrush brush_;
    TPoint penPos_;
    QPainter* painter_ = nullptr;
};

// Attaches a canvas to a paint device for the life of this object.
class TCanvasDevice {
public:
    TCanvasDevice(TCanvas& canvas, QPaintDevice& device) : canvas_(canvas) { canvas_.Attach(device); }
    ~TCanvasDevice() { canvas_.Detach(); }
    TCanvasDevice(const TCanvasDevice&) = delete;
    TCanvasDevice& operator=(const TCanvasDevice&) = delete;

private:
    TCanvas& canvas_;
};

// An off-screen bitmap with its own canvas.
class TBitmap {
public:
    TBitmap(int width, int height);
    TCanvas& Canvas();
    // The picture drawn so far (ends the canvas's drawing session).
    const QImage& Image();
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }

private:
    QImage image_;
    TCanvas canvas_;
};

} // namespace runtime
