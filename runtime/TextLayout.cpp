#include "runtime/TextLayout.h"

#include "base/StrUtils.h"
#include "runtime/Canvas.h"
#include "runtime/QtText.h"

namespace runtime::textlayout {

namespace {

const QString ellipsis = QStringLiteral("...");

struct Paragraph {
    QString text;
    std::vector<int> accelerators;
};

// "&x" underlines x, "&&" is one "&", and a lone "&" at the end shows nothing.
Paragraph StripPrefixes(const QString& text) {
    Paragraph result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            ++i;
            if (i == text.size()) {
                break;
            }
            if (text[i] != '&') {
                result.accelerators.push_back(static_cast<int>(result.text.size()));
            }
        }
        result.text += text[i];
    }
    return result;
}

Line Slice(const Paragraph& paragraph, qsizetype from, qsizetype to) {
    Line line{paragraph.text.mid(from, to - from), 0, {}};
    for (const int index : paragraph.accelerators) {
        if (index >= from && index < to) {
            line.accelerators.push_back(static_cast<int>(index - from));
        }
    }
    return line;
}

qsizetype EndOfWord(const QString& text, qsizetype from) {
    while (from < text.size() && text[from] == ' ') {
        ++from;
    }
    while (from < text.size() && text[from] != ' ') {
        ++from;
    }
    return from;
}

// Greedy word wrap: as many words as fit; a word wider than the line stands
// alone on its line. Blanks at a break belong to neither line.
void WrapParagraph(const Paragraph& paragraph, int maxWidth, const Measure& measure, std::vector<Line>& lines) {
    const QString& text = paragraph.text;
    qsizetype start = 0;
    while (true) {
        qsizetype end = EndOfWord(text, start);
        while (end < text.size()) {
            const qsizetype next = EndOfWord(text, end);
            if (measure.Width(text.mid(start, next - start)) > maxWidth) {
                break;
            }
            end = next;
        }
        lines.push_back(Slice(paragraph, start, end));
        while (end < text.size() && text[end] == ' ') {
            ++end;
        }
        if (end >= text.size()) {
            return;
        }
        start = end;
    }
}

// The longest prefix of text, cut only at the given positions, such that
// prefix + suffix fits; -1 when none does.
qsizetype LongestFit(const QString& text, const std::vector<qsizetype>& cuts, const QString& suffix, int maxWidth,
                     const Measure& measure) {
    for (auto it = cuts.rbegin(); it != cuts.rend(); ++it) {
        if (measure.Width(text.left(*it) + suffix) <= maxWidth) {
            return *it;
        }
    }
    return -1;
}

std::vector<qsizetype> EveryPosition(const QString& text) {
    std::vector<qsizetype> cuts;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        cuts.push_back(i);
    }
    return cuts;
}

std::vector<qsizetype> WordEnds(const QString& text) {
    std::vector<qsizetype> cuts;
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text[i] == ' ' && text[i - 1] != ' ') {
            cuts.push_back(i);
        }
    }
    return cuts;
}

void KeepAcceleratorsBefore(Line& line, qsizetype length) {
    std::erase_if(line.accelerators, [length](int index) { return index >= length; });
}

void EndEllipsis(Line& line, int maxWidth, const Measure& measure) {
    const qsizetype keep =
        std::max<qsizetype>(0, LongestFit(line.text, EveryPosition(line.text), ellipsis, maxWidth, measure));
    line.text = line.text.left(keep) + ellipsis;
    KeepAcceleratorsBefore(line, keep);
}

void WordEllipsis(Line& line, int maxWidth, const Measure& measure) {
    const qsizetype keep = LongestFit(line.text, WordEnds(line.text), ellipsis, maxWidth, measure);
    if (keep < 0) {
        EndEllipsis(line, maxWidth, measure);
        return;
    }
    line.text = line.text.left(keep) + ellipsis;
    KeepAcceleratorsBefore(line, keep);
}

// Keeps as much as possible of the part after the last path separator and
// replaces the end of the part before it with the ellipsis.
void PathEllipsis(Line& line, int maxWidth, const Measure& measure) {
    const qsizetype separator = std::max(line.text.lastIndexOf('\\'), line.text.lastIndexOf('/'));
    if (separator < 0) {
        EndEllipsis(line, maxWidth, measure);
        return;
    }
    const QString head = line.text.left(separator);
    const QString tail = ellipsis + line.text.mid(separator);
    const qsizetype keep = LongestFit(head, EveryPosition(head), tail, maxWidth, measure);
    if (keep < 0) {
        line.text = tail;
        line.accelerators.clear();
        EndEllipsis(line, maxWidth, measure);
        return;
    }
    line.text = head.left(keep) + tail;
    KeepAcceleratorsBefore(line, keep);
}

void ApplyEllipsis(Line& line, int maxWidth, unsigned flags, const Measure& measure) {
    if (!(flags & (DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS | DT_END_ELLIPSIS)) || measure.Width(line.text) <= maxWidth) {
        return;
    }
    if (flags & DT_PATH_ELLIPSIS) {
        PathEllipsis(line, maxWidth, measure);
    } else if (flags & DT_WORD_ELLIPSIS) {
        WordEllipsis(line, maxWidth, measure);
    } else if (flags & DT_END_ELLIPSIS) {
        EndEllipsis(line, maxWidth, measure);
    }
}

} // namespace

Measure::Measure(const QFontMetrics& metrics, bool expandTabs) : metrics_(metrics), expandTabs_(expandTabs) {}

int Measure::TabWidth() const {
    if (!tabWidth_)
        tabWidth_ = 8 * metrics_.averageCharWidth();
    return *tabWidth_;
}

int Measure::ForEachRun(const QString& text, const std::function<void(const QString&, int)>& draw) const {
    int x = 0;
    qsizetype start = 0;
    const auto flush = [&](qsizetype end) {
        const QString run = text.mid(start, end - start);
        if (!run.isEmpty()) {
            if (draw) {
                draw(run, x);
            }
            x += metrics_.horizontalAdvance(run);
        }
    };
    const int tabWidth = expandTabs_ && text.contains('\t') ? TabWidth() : 0;
    if (tabWidth > 0) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == '\t') {
                flush(i);
                x = (x / tabWidth + 1) * tabWidth;
                start = i + 1;
            }
        }
    }
    flush(text.size());
    return x;
}

int Measure::Width(const QString& text) const {
    return ForEachRun(text, nullptr);
}

Layout LayOut(const std::string& text, int maxWidth, unsigned flags, const Measure& measure) {
    std::vector<QString> paragraphs;
    if (flags & DT_SINGLELINE) {
        QString single = ToQString(text);
        single.remove('\r').remove('\n');
        if (!single.isEmpty()) {
            paragraphs.push_back(single);
        }
    } else {
        for (const std::string& line : base::TextToLines(text)) {
            paragraphs.push_back(ToQString(line));
        }
    }
    Layout layout;
    for (const QString& source : paragraphs) {
        const Paragraph paragraph = (flags & DT_NOPREFIX) ? Paragraph{source, {}} : StripPrefixes(source);
        if ((flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE)) {
            WrapParagraph(paragraph, maxWidth, measure, layout.lines);
        } else {
            layout.lines.push_back(Slice(paragraph, 0, paragraph.text.size()));
        }
    }
    for (Line& line : layout.lines) {
        ApplyEllipsis(line, maxWidth, flags, measure);
        line.width = measure.Width(line.text);
        layout.width = std::max(layout.width, line.width);
    }
    return layout;
}

} // namespace runtime::textlayout
