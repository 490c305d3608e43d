#include "components/LabelMarkup.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string_view>
#include <vector>

#include "base/Exception.h"
#include "base/StrUtils.h"

using namespace base;
using namespace runtime;

namespace components {

namespace {

// Nearest integer, halves to even.
int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

int TintChannel(int channel, TTint tint) {
    const int dark = RoundHalfEven(channel * 10 / 100.0);
    if (tint == TTint::Dark) {
        return dark;
    }
    return std::min(255, dark + RoundHalfEven(255 - 255 * 10 / 100.0));
}

struct StyleTag {
    const char* text; // after the "<"
    TFontStyle style;
    bool add;
};

constexpr StyleTag styleTags[] = {
    {"b>", fsBold, true},     {"/b>", fsBold, false},    {"i>", fsItalic, true},
    {"/i>", fsItalic, false}, {"u>", fsUnderline, true}, {"/u>", fsUnderline, false},
};

// What a markup line holds, piece by piece: text runs between the tags, and
// the tags themselves.
struct MarkupHandlers {
    std::function<void(const std::string&)> text;
    std::function<void(const StyleTag&)> style;
    std::function<void()> baseColor;
    std::function<void(const std::string&)> color; // the colour's text after "<c:"
};

// Walks one line, handing each run of text (possibly empty) to the handlers
// before the tag that ends it. A "<" that opens no known tag is text.
void ScanMarkupLine(const std::string& line, const MarkupHandlers& on) {
    std::string run;
    const auto flush = [&] {
        on.text(run);
        run.clear();
    };
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] != '<') {
            run += line[i++];
            continue;
        }
        const std::string_view tagText = std::string_view(line).substr(i + 1);
        const StyleTag* styleTag = nullptr;
        for (const StyleTag& tag : styleTags) {
            if (StartsText(tag.text, tagText)) {
                styleTag = &tag;
            }
        }
        if (styleTag) {
            flush();
            on.style(*styleTag);
            i += 1 + std::char_traits<char>::length(styleTag->text);
        } else if (StartsText("/c>", tagText)) {
            flush();
            on.baseColor();
            i += 4;
        } else if (StartsText("c:", tagText)) {
            flush();
            const std::size_t from = i + 3;
            const std::size_t close = std::min(line.find('>', from), line.size());
            on.color(line.substr(from, close - from));
            i = close + 1;
        } else {
            run += line[i++];
        }
    }
    flush();
}

// Renders one line at rect's top-left (x starting 2 pixels in), drawing only
// when asked; returns the line's width. Leaves style and colour as they were
// at the start of the line, the colour being baseColor.
int RenderLine(TCanvas& canvas, const TRect& rect, const std::string& line, TColor baseColor, TTint tint, bool draw) {
    TFont& font = canvas.Font();
    const TFontStyles startStyle = font.Style();
    int x = rect.Left + 2;
    ScanMarkupLine(line, {
                             .text =
                                 [&](const std::string& run) {
                                     if (draw) {
                                         canvas.TextOut(x, rect.Top, run);
                                     }
                                     x += canvas.TextWidth(run);
                                 },
                             .style =
                                 [&](const StyleTag& tag) {
                                     font.SetStyle(tag.add ? font.Style() | tag.style : font.Style() & ~tag.style);
                                 },
                             .baseColor = [&] { font.SetColor(baseColor); },
                             .color =
                                 [&](const std::string& name) {
                                     try {
                                         font.SetColor(TintColor(MarkupColor(name), tint));
                                     } catch (const EConvertError&) {
                                         // An unknown colour leaves the current one in force.
                                     }
                                 },
                         });
    font.SetStyle(startStyle);
    font.SetColor(baseColor);
    return x - rect.Left + 2;
}

} // namespace

TColor TintColor(TColor color, TTint tint) {
    if (tint == TTint::None) {
        return color;
    }
    return RGB(TintChannel(GetRValue(color), tint), TintChannel(GetGValue(color), tint),
               TintChannel(GetBValue(color), tint));
}

TColor MarkupColor(const std::string& text) {
    if (text.empty() || text[0] == '$') {
        return StringToColor(text);
    }
    return StringToColor("cl" + text);
}

std::string MarkupPlainText(const std::string& caption) {
    std::string plain;
    for (const std::string& line : TextToLines(caption)) {
        if (!plain.empty()) {
            plain += ' ';
        }
        ScanMarkupLine(line, {
                                 .text = [&](const std::string& run) { plain += run; },
                                 .style = [](const StyleTag&) {},
                                 .baseColor = [] {},
                                 .color = [](const std::string&) {},
                             });
    }
    return plain;
}

int MeasureMarkupLine(TCanvas& canvas, const TRect& lineRect, const std::string& line) {
    return RenderLine(canvas, lineRect, line, canvas.Font().Color(), TTint::None, false);
}

void DrawMarkup(TCanvas& canvas, const TRect& rect, TColor baseColor, TTint tint, const std::string& caption,
                TTextLayout layout, TAlignment alignment) {
    const int lineHeight = canvas.TextHeight("W");
    const std::vector<std::string> lines = TextToLines(caption);
    const int n = static_cast<int>(lines.size());
    for (int i = 0; i < n; ++i) {
        TRect line = rect;
        switch (layout) {
        case tlTop:
            line.Top = rect.Top + i * lineHeight;
            break;
        case tlCenter:
            line.Top = rect.Top + (rect.Bottom - rect.Top - n * lineHeight) / 2 + i * lineHeight;
            break;
        case tlBottom:
            line.Top = rect.Bottom - (n - i) * lineHeight;
            break;
        }
        if (alignment != taLeftJustify) {
            const int width = MeasureMarkupLine(canvas, line, lines[i]);
            line.Left =
                alignment == taRightJustify ? rect.Right - width : rect.Left + (rect.Right - rect.Left - width) / 2;
        }
        RenderLine(canvas, line, lines[i], baseColor, tint, true);
    }
}

} // namespace components
