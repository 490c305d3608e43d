#include "runtime/Canvas.h"

#include <algorithm>
#include <cstdlib>

#include <QFontMetrics>
#include <QPainter>

#include "runtime/QtText.h"
#include "runtime/TextLayout.h"

namespace runtime {

namespace {

Qt::PenStyle ToQtPenStyle(TPenStyle style) {
    switch (style) {
    case psDash:
        return Qt::DashLine;
    case psDot:
        return Qt::DotLine;
    case psDashDot:
        return Qt::DashDotLine;
    case psDashDotDot:
        return Qt::DashDotDotLine;
    case psClear:
        return Qt::NoPen;
    case psSolid:
    case psInsideFrame:
        break;
    }
    return Qt::SolidLine;
}

QPen ToQPen(const TPen& pen) {
    QPen result(ToQColor(pen.Color), pen.Width <= 1 ? 0 : pen.Width, ToQtPenStyle(pen.Style));
    result.setCapStyle(Qt::FlatCap);
    result.setJoinStyle(Qt::MiterJoin);
    return result;
}

int CellHeight(const QFontMetrics& metrics) {
    return metrics.ascent() + metrics.descent();
}

} // namespace

QColor ToQColor(base::TColor color) {
    const base::TColor rgb = base::ColorToRGB(color);
    return QColor(base::GetRValue(rgb), base::GetGValue(rgb), base::GetBValue(rgb));
}

TCanvas::~TCanvas() {
    Detach();
}

void TCanvas::Attach(QPaintDevice& device) {
    Detach();
    if (device.paintingActive() || device.width() <= 0 || device.height() <= 0) {
        return;
    }
    painter_ = new QPainter(&device);
}

void TCanvas::Detach() {
    delete painter_;
    painter_ = nullptr;
}

void TCanvas::ApplyFont() {
    painter_->setFont(font_.ToQFont());
    painter_->setPen(ToQColor(font_.Color()));
}

void TCanvas::FillRect(const TRect& rect) {
    if (!painter_ || brush_.Style == bsClear) {
        return;
    }
    painter_->fillRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), ToQColor(brush_.Color));
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (!painter_) {
        return;
    }
    FillRect(TRect{left, top, right, bottom});
    if (pen_.Style == psClear || right - left < 1 || bottom - top < 1) {
        return;
    }
    painter_->setPen(ToQPen(pen_));
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

void TCanvas::MoveTo(int x, int y) {
    penPos_ = TPoint{x, y};
}

void TCanvas::LineTo(int x, int y) {
    const TPoint from = penPos_;
    penPos_ = TPoint{x, y};
    if (!painter_ || pen_.Style == psClear || (from.X == x && from.Y == y)) {
        return;
    }
    QPen pen = ToQPen(pen_);
    if (pen.width() > 1) {
        painter_->setPen(pen);
        painter_->drawLine(QPoint(from.X, from.Y), QPoint(x, y));
        return;
    }
    // A one-pixel line covers both points it is given, so it is drawn up to
    // the pixel before the end point, whichever way it runs.
    const int dx = x - from.X;
    const int dy = y - from.Y;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    pen.setCapStyle(Qt::SquareCap);
    painter_->setPen(pen);
    painter_->drawLine(QPoint(from.X, from.Y),
                       QPoint(from.X + dx * (steps - 1) / steps, from.Y + dy * (steps - 1) / steps));
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    if (!painter_) {
        return;
    }
    ApplyFont();
    const QString qtext = ToQString(text);
    const QFontMetrics metrics(painter_->font());
    painter_->save();
    painter_->translate(x, y);
    painter_->rotate(-font_.Escapement() / 10.0);
    if (brush_.Style == bsSolid) {
        painter_->fillRect(QRect(0, 0, metrics.horizontalAdvance(qtext), CellHeight(metrics)), ToQColor(brush_.Color));
    }
    painter_->drawText(QPoint(0, metrics.ascent()), qtext);
    painter_->restore();
}

TSize TCanvas::TextExtent(const std::string& text) const {
    const QFontMetrics metrics(font_.ToQFont());
    return TSize{metrics.horizontalAdvance(ToQString(text)), CellHeight(metrics)};
}

int TCanvas::DrawText(const std::string& text, TRect& rect, unsigned flags) {
    const QFont font = font_.ToQFont();
    const QFontMetrics metrics(font);
    const textlayout::Measure measure(metrics, (flags & DT_EXPANDTABS) != 0);
    const textlayout::Layout layout = textlayout::LayOut(text, rect.Width(), flags, measure);
    const int lineHeight = CellHeight(metrics);
    const int height = static_cast<int>(layout.lines.size()) * lineHeight;
    if (flags & DT_CALCRECT) {
        rect.Right = rect.Left + layout.width;
        rect.Bottom = rect.Top + height;
        return height;
    }
    if (!painter_) {
        return height;
    }
    int y = rect.Top;
    if ((flags & DT_SINGLELINE) && (flags & DT_VCENTER)) {
        y = rect.Top + (rect.Height() - lineHeight) / 2;
    } else if ((flags & DT_SINGLELINE) && (flags & DT_BOTTOM)) {
        y = rect.Bottom - lineHeight;
    }
    ApplyFont();
    painter_->save();
    if (!(flags & DT_NOCLIP)) {
        painter_->setClipRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), Qt::IntersectClip);
    }
    const QColor textColor = ToQColor(font_.Color());
    for (const textlayout::Line& line : layout.lines) {
        int x = rect.Left;
        if (flags & DT_CENTER) {
            x = rect.Left + (rect.Width() - line.width) / 2;
        } else if (flags & DT_RIGHT) {
            x = rect.Right - line.width;
        }
        if (brush_.Style == bsSolid) {
            painter_->fillRect(QRect(x, y, line.width, lineHeight), ToQColor(brush_.Color));
        }
        measure.ForEachRun(line.text, [&](const QString& run, int runX) {
            painter_->drawText(QPoint(x + runX, y + metrics.ascent()), run);
        });
        for (const int index : line.accelerators) {
            const int charLeft = measure.Width(line.text.left(index));
            const int charRight = measure.Width(line.text.left(index + 1));
            painter_->fillRect(QRect(x + charLeft, y + metrics.ascent() + metrics.underlinePos(), charRight - charLeft,
                                     std::max(1, metrics.lineWidth())),
                               textColor);
        }
        y += lineHeight;
    }
    painter_->restore();
    return height;
}

void TCanvas::Draw(int x, int y, const QImage& image) {
    if (painter_) {
        painter_->drawImage(QPoint(x, y), image);
    }
}

TBitmap::TBitmap(int width, int height) : image_(std::max(0, width), std::max(0, height), QImage::Format_RGB32) {
    image_.fill(Qt::white);
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_.HandleAllocated()) {
        canvas_.Attach(image_);
    }
    return canvas_;
}

const QImage& TBitmap::Image() {
    canvas_.Detach();
    return image_;
}

} // namespace runtime
