#pragma once

#include <functional>
#include <string>

#include <QFont>

#include "base/Color.h"

namespace runtime {

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned; // a combination of TFontStyle bits

// A font description as the windows name it: face name, height (negative =
// character height in pixels, positive = cell height), colour, style and the
// escapement and orientation of rotated text in tenths of a degree.
class TFont {
public:
    TFont() = default;
    // Copies the attributes only; the change notification stays with each font.
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    int Height() const { return height_; }
    void SetHeight(int height);
    base::TColor Color() const { return color_; }
    void SetColor(base::TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    int Escapement() const { return escapement_; }
    void SetEscapement(int tenthsOfDegree);
    int Orientation() const { return orientation_; }
    void SetOrientation(int tenthsOfDegree);

    // Copies every attribute of source and notifies once.
    void Assign(const TFont& source);

    // Called after every change of an attribute.
    std::function<void()> OnChange;

    // The Qt font that draws this description, with the face name mapped to
    // an installed font. Escapement is not part of it: the canvas rotates.
    QFont ToQFont() const;

private:
    void Changed();

    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    base::TColor color_ = base::clWindowText;
    TFontStyles style_ = 0;
    int escapement_ = 0;
    int orientation_ = 0;
};

// The installed face that stands in for a face name the windows use.
std::string MapFontName(const std::string& name);

// Text is drawn antialiased unless switched off (tests that compare pixels).
void SetFontAntialiasing(bool enabled);

} // namespace runtime
