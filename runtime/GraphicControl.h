#pragma once

#include <functional>
#include <string>

#include <QWidget>

#include "base/Color.h"
#include "runtime/Canvas.h"
#include "runtime/Font.h"

class QObject;

namespace runtime {

// An event handler that receives the control that raised the event.
using TNotifyEvent = std::function<void(QObject* sender)>;

enum TCursor { crDefault, crHandPoint, crAppStart };

// The text a screen reader speaks for a caption: "&x" is x, "&&" is "&".
std::string StripHotkey(const std::string& caption);

// A control without a window of its own: it paints through its persistent
// canvas in Paint. It carries its name as its Qt object name.
class TGraphicControl : public QWidget {
public:
    TGraphicControl(QWidget* parent, const std::string& name);

    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
    void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
    void SetBounds(int left, int top, int width, int height);
    TRect ClientRect() const { return TRect{0, 0, Width(), Height()}; }

    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    virtual void SetFont(const TFont& font) { font_.Assign(font); }
    base::TColor Color() const { return color_; }
    void SetColor(base::TColor color);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool enabled);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    TCanvas& Canvas() { return canvas_; }

    // While loading, property changes do not resize the control; EndLoad
    // calls Loaded once all properties are set.
    void BeginLoad() { loading_ = true; }
    void EndLoad();
    bool Loading() const { return loading_; }

    // While updates are held the control neither paints nor refits itself to
    // what it shows, however often that changes; releasing them does both
    // once. For controls that change faster than the eye can follow.
    void HoldUpdates(bool hold);
    bool UpdatesHeld() const { return updatesHeld_; }

    // Requests a repaint through the event loop.
    void Invalidate() { update(); }
    // Paints the control now, outside the event loop's paint cycle.
    void PaintNow() { repaint(); }

    TNotifyEvent OnClick;

protected:
    virtual void Paint() = 0;
    // Runs the click behaviour: fires OnClick.
    virtual void Click();
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    // The control's font changed (any attribute).
    virtual void FontChanged() { Invalidate(); }
    virtual void Loaded() {}
    // Held updates were released: bring what depends on the content up to
    // date. A repaint is already requested.
    virtual void UpdatesReleased() {}
    // The name a screen reader speaks: the caption without its "&" marks;
    // nothing for a blank caption.
    void SetAccessibleText(const std::string& caption);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    TFont font_;
    TCanvas canvas_;
    base::TColor color_ = base::clBtnFace;
    bool transparent_ = false;
    TCursor cursor_ = crDefault;
    bool loading_ = false;
    bool updatesHeld_ = false;
    bool pressed_ = false;
};

} // namespace runtime
