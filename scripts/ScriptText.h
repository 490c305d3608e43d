#pragma once

#include <string_view>

namespace scripts {

// Text rules of script handling: a blank is any character with a code up to
// 32, as the framework's Trim (base/StrUtils.h) takes it.
inline bool IsBlankChar(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

bool IsBlank(std::string_view text);

// Looks through script text, fed in pieces, for statement text: anything but
// blanks, /* */ comments and lines whose first non-blank characters are "--".
// A comment still open when the text ends counts as statement text, since
// what it was meant to hold cannot be told. Pieces are consecutive text; a
// line ends at CR or LF.
class StatementTextScan {
public:
    void Feed(std::string_view text);
    // Statement text was seen: more text cannot change the answer.
    bool Settled() const { return found_; }
    // The answer for all the text fed so far.
    bool Found() const { return found_ || inComment_; }

private:
    bool found_ = false;
    bool inComment_ = false;
    bool inLineComment_ = false;
    bool atLineStart_ = true;
};

// Whether a text holds statement text (see StatementTextScan).
bool HoldsStatementText(std::string_view text);

} // namespace scripts
