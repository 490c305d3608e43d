#pragma once

#include <string>
#include <vector>

namespace ftp {

// One parsed server reply.
struct TIdRFCReply {
    int NumericCode = 0;           // 0 when the code is not a number
    std::string TextCode;          // the code as text, normally three digits
    std::vector<std::string> Text; // one entry per reply line, code and separator removed

    void Clear();
    // The first text line; empty when there is none.
    std::string FirstLine() const { return Text.empty() ? std::string() : Text.front(); }
    // Every text line followed by CR LF: the message of a refused reply.
    std::string FormattedText() const;
};

// Parses the trimmed lines of one reply into reply.
void ParseReply(const std::vector<std::string>& lines, TIdRFCReply& reply);

} // namespace ftp
