#pragma once

namespace runtime {

struct TPoint {
    int X = 0;
    int Y = 0;
};

struct TSize {
    int cx = 0;
    int cy = 0;
};

// A rectangle by its edges; Right and Bottom lie just outside it.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    void Offset(int dx, int dy) {
        Left += dx;
        Right += dx;
        Top += dy;
        Bottom += dy;
    }
    bool operator==(const TRect&) const = default;
};

} // namespace runtime
