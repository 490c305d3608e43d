#include "ftp/IdRFCReply.h"

#include "base/StrUtils.h"
#include "ftp/IdText.h"

namespace ftp {

void TIdRFCReply::Clear() {
    NumericCode = 0;
    TextCode.clear();
    Text.clear();
}

std::string TIdRFCReply::FormattedText() const {
    std::string result;
    for (const std::string& line : Text)
        result += line + "\r\n";
    return result;
}

void ParseReply(const std::vector<std::string>& lines, TIdRFCReply& reply) {
    reply.Clear();
    if (lines.empty())
        return;
    reply.TextCode = base::Trim(Copy(lines.front(), 0, 4));
    if (reply.TextCode.size() == 4 && reply.TextCode.back() == '-')
        reply.TextCode.resize(3);
    if (!reply.TextCode.empty())
        reply.NumericCode = ToInt32(reply.TextCode).value_or(0);
    for (const std::string& line : lines)
        reply.Text.push_back(Copy(line, 4));
}

} // namespace ftp
