#include "runtime/GraphicControl.h"

#include <QMouseEvent>

#include "runtime/Application.h"
#include "runtime/QtText.h"

namespace runtime {

namespace {

Qt::CursorShape ToQtCursor(TCursor cursor) {
    switch (cursor) {
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crDefault:
        break;
    }
    return Qt::ArrowCursor;
}

} // namespace

std::string StripHotkey(const std::string& caption) {
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            ++i;
            if (i == caption.size()) {
                break;
            }
        }
        text += caption[i];
    }
    return text;
}

TGraphicControl::TGraphicControl(QWidget* parent, const std::string& name) : QWidget(parent) {
    setObjectName(ToQString(name));
    font_.OnChange = [this] { FontChanged(); };
    // Controls are visible unless hidden, also when placed on a window that is already shown.
    if (parent) {
        show();
    }
}

void TGraphicControl::SetBounds(int left, int top, int width, int height) {
    setGeometry(left, top, std::max(0, width), std::max(0, height));
}

void TGraphicControl::SetColor(base::TColor color) {
    color_ = color;
    Invalidate();
}

void TGraphicControl::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Invalidate();
}

void TGraphicControl::SetEnabled(bool enabled) {
    setEnabled(enabled);
    Invalidate();
}

void TGraphicControl::SetCursor(TCursor cursor) {
    cursor_ = cursor;
    if (cursor == crDefault) {
        unsetCursor();
    } else {
        setCursor(ToQtCursor(cursor));
    }
}

void TGraphicControl::EndLoad() {
    loading_ = false;
    Loaded();
}

void TGraphicControl::HoldUpdates(bool hold) {
    if (hold == updatesHeld_)
        return;
    updatesHeld_ = hold;
    setUpdatesEnabled(!hold);
    if (!hold)
        UpdatesReleased();
}

void TGraphicControl::Click() {
    if (OnClick) {
        OnClick(this);
    }
}

void TGraphicControl::SetAccessibleText(const std::string& caption) {
    // A blank caption is spoken as nothing, never as the control's name in
    // the program.
    const std::string text = StripHotkey(caption);
    setAccessibleName(ToQString(text.find_first_not_of(' ') == std::string::npos ? std::string() : text));
}

void TGraphicControl::paintEvent(QPaintEvent*) {
    TCanvasDevice device(canvas_, *this);
    Paint();
}

void TGraphicControl::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void TGraphicControl::mouseReleaseEvent(QMouseEvent* event) {
    const bool clicked = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (clicked) {
        Application().Dispatch([this] { Click(); });
    }
}

void TGraphicControl::enterEvent(QEnterEvent*) {
    Application().Dispatch([this] { MouseEnter(); });
}

void TGraphicControl::leaveEvent(QEvent*) {
    Application().Dispatch([this] { MouseLeave(); });
}

} // namespace runtime
