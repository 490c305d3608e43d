#include "scripts/ScriptText.h"

namespace scripts {

namespace {

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

} // namespace

bool IsBlank(std::string_view text) {
    for (char c : text)
        if (!IsBlankChar(c))
            return false;
    return true;
}

void StatementTextScan::Feed(std::string_view text) {
    for (std::size_t i = 0; i < text.size() && !found_; ++i) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (inComment_) {
            if (c == '*' && next == '/') {
                inComment_ = false;
                ++i;
            }
        } else if (IsLineBreak(c)) {
            inLineComment_ = false;
            atLineStart_ = true;
        } else if (inLineComment_ || IsBlankChar(c)) {
            continue;
        } else if (c == '/' && next == '*') {
            inComment_ = true;
            ++i;
        } else if (atLineStart_ && c == '-' && next == '-') {
            inLineComment_ = true;
        } else {
            found_ = true;
        }
    }
}

bool HoldsStatementText(std::string_view text) {
    StatementTextScan scan;
    scan.Feed(text);
    return scan.Found();
}

} // namespace scripts
