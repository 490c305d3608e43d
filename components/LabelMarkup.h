#pragma once

#include <string>

#include "runtime/Canvas.h"
#include "runtime/Label.h"

namespace components {

// How a colour chosen by a tag is shaded in a pass: the shifted copies of the
// 3D label draw dark or light variants, the main text the colour itself.
enum class TTint { None, Dark, Light };

// The colour as a pass of the given tint shows it. Tinting works on the three
// low bytes as stored, so a system colour is not resolved first.
base::TColor TintColor(base::TColor color, TTint tint);

// The colour named by the text of a "<c:...>" tag: "$" values and the empty
// text as they are, anything else with "cl" put in front. Throws
// base::EConvertError when it names no colour.
base::TColor MarkupColor(const std::string& text);

// Draws caption as lines of runs into rect on canvas, interpreting the tags
// <b> </b> <i> </i> <u> </u> <c:colour> </c> (any letter case). The canvas
// comes with its font set up and a clear brush; baseColor is the colour of
// text outside colour tags. Style and colour reset at every line.
void DrawMarkup(runtime::TCanvas& canvas, const runtime::TRect& rect, base::TColor baseColor, TTint tint,
                const std::string& caption, runtime::TTextLayout layout, runtime::TAlignment alignment);

// The text a reader sees in a markup caption: its lines without their tags,
// joined by blanks.
std::string MarkupPlainText(const std::string& caption);

// The width of one line as DrawMarkup lays it out (text plus 2 pixels on each
// side), drawing nothing.
int MeasureMarkupLine(runtime::TCanvas& canvas, const runtime::TRect& lineRect, const std::string& line);

} // namespace components
