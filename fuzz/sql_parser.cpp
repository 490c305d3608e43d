// The script parser on an arbitrary script, read as the runner reads it: every
// statement is classified and checked for what must not reach the engine; a
// parse error ends the script and discards its rest, and a second script then
// runs with the terminator in force. The parse must end, and every statement
// it reports must have tokens.

#include "base/StrUtils.h"
#include "scripts/IBSQLParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

void ParseAsTheRunnerDoes(scripts::TIBSQLParser& parser, std::vector<std::string>&& lines) {
    parser.SetScript(std::move(lines));
    parser.Parse();
    if (parser.Paused())
        parser.DiscardRest();
}

} // namespace

// INPUT statements name files relative to the current folder: an empty one
// keeps the runs alike.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "updater-fuzz-sql-parser";
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    scripts::TIBSQLParser parser;
    parser.OnParse = [](scripts::TIBSQLParser& sender, scripts::TIBParseKind, const std::string& text) {
        if (sender.Tokens().empty())
            std::abort();
        sender.StatementFault(text);
    };
    ParseAsTheRunnerDoes(parser, base::TextToLines(std::string_view(reinterpret_cast<const char*>(data), size)));
    ParseAsTheRunnerDoes(parser, {"COMMIT;", "SET TERM ; " + parser.Terminator()});
    return 0;
}
