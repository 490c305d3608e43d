#include "scripts/ScriptText.h"

#include "platform/SystemError.h"

#include <cerrno>
#include <fstream>

namespace scripts {

bool IsBlank(std::string_view text) {
    for (char c : text)
        if (!IsBlankChar(c))
            return false;
    return true;
}

namespace {

// Collects lines from text that arrives in pieces; a CR LF pair may straddle
// two pieces.
class LineCollector {
public:
    void Add(std::string_view piece) {
        for (char c : piece) {
            if (afterCR_ && c == '\n') {
                afterCR_ = false;
                continue;
            }
            afterCR_ = c == '\r';
            if (c == '\r' || c == '\n') {
                lines_.push_back(std::move(current_));
                current_.clear();
            } else {
                current_.push_back(c);
            }
        }
    }
    std::vector<std::string> Finish() {
        if (!current_.empty())
            lines_.push_back(std::move(current_));
        return std::move(lines_);
    }

private:
    std::vector<std::string> lines_;
    std::string current_;
    bool afterCR_ = false;
};

} // namespace

std::vector<std::string> LoadTextLines(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw platform::EFOpenError(file.string(), platform::ErrorFromErrno(errno));
    LineCollector collector;
    std::string block(65536, '\0');
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0)
        collector.Add(std::string_view(block.data(), static_cast<std::size_t>(in.gcount())));
    return collector.Finish();
}

} // namespace scripts
