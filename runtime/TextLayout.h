#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QFontMetrics>
#include <QString>

namespace runtime::textlayout {

// Measures text the way formatted drawing lays it out: tabs, when expanded,
// move to the next stop of eight average character widths.
class Measure {
public:
    Measure(const QFontMetrics& metrics, bool expandTabs);
    // Calls draw(run, x) for each run between tab stops and returns the width.
    int ForEachRun(const QString& text, const std::function<void(const QString&, int)>& draw) const;
    int Width(const QString& text) const;

private:
    // The tab stop width, worked out at the first tab: most texts have none.
    int TabWidth() const;

    const QFontMetrics& metrics_;
    bool expandTabs_;
    mutable std::optional<int> tabWidth_;
};

struct Line {
    QString text;
    int width = 0;
    std::vector<int> accelerators; // indices of the underlined characters
};

struct Layout {
    std::vector<Line> lines;
    int width = 0; // of the widest line
};

// Breaks text into lines by the DT_* flags: line breaks (CR, LF, CR LF)
// unless DT_SINGLELINE, accelerator prefixes unless DT_NOPREFIX, word breaks
// at blanks within maxWidth for DT_WORDBREAK, and the three ellipsis kinds
// for lines wider than maxWidth. An empty text has no lines.
Layout LayOut(const std::string& text, int maxWidth, unsigned flags, const Measure& measure);

} // namespace runtime::textlayout
