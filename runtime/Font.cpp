#include "runtime/Font.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include <QFontMetricsF>

#include "runtime/QtText.h"

namespace runtime {

namespace {

bool antialiasing = true;

constexpr std::array<std::pair<const char*, const char*>, 4> fontMap = {{
    {"verdana", "DejaVu Sans"},
    {"ms sans serif", "DejaVu Sans"},
    {"arial", "Liberation Sans"},
    {"courier new", "Liberation Mono"},
}};

} // namespace

std::string MapFontName(const std::string& name) {
    const QString lower = ToQString(name).toLower();
    for (const auto& [from, to] : fontMap) {
        if (lower == QLatin1String(from)) {
            return to;
        }
    }
    return name;
}

void SetFontAntialiasing(bool enabled) {
    antialiasing = enabled;
}

TFont::TFont(const TFont& other)
    : name_(other.name_), height_(other.height_), color_(other.color_), style_(other.style_),
      escapement_(other.escapement_), orientation_(other.orientation_) {}

TFont& TFont::operator=(const TFont& other) {
    Assign(other);
    return *this;
}

void TFont::Assign(const TFont& source) {
    if (&source == this) {
        return;
    }
    name_ = source.name_;
    height_ = source.height_;
    color_ = source.color_;
    style_ = source.style_;
    escapement_ = source.escapement_;
    orientation_ = source.orientation_;
    Changed();
}

void TFont::SetName(const std::string& name) {
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    height_ = height;
    Changed();
}

void TFont::SetColor(base::TColor color) {
    color_ = color;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    style_ = style;
    Changed();
}

void TFont::SetEscapement(int tenthsOfDegree) {
    escapement_ = tenthsOfDegree;
    Changed();
}

void TFont::SetOrientation(int tenthsOfDegree) {
    orientation_ = tenthsOfDegree;
    Changed();
}

void TFont::Changed() {
    if (OnChange) {
        OnChange();
    }
}

QFont TFont::ToQFont() const {
    QFont font(ToQString(MapFontName(name_)));
    font.setBold((style_ & fsBold) != 0);
    font.setItalic((style_ & fsItalic) != 0);
    font.setUnderline((style_ & fsUnderline) != 0);
    font.setStrikeOut((style_ & fsStrikeOut) != 0);
    font.setKerning(false);
    if (!antialiasing) {
        font.setStyleStrategy(QFont::NoAntialias);
    }
    if (height_ < 0) {
        font.setPixelSize(-height_);
    } else if (height_ > 0) {
        // A positive height is the cell height (ascent plus descent): scale
        // the character height so that the cell comes out at that height.
        font.setPixelSize(height_);
        const QFontMetricsF metrics(font);
        const double cell = metrics.ascent() + metrics.descent();
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(height_ * height_ / cell))));
    }
    return font;
}

} // namespace runtime
