// The listing parser on arbitrary listing text: format detection by the first
// line, then every line parsed into entries.

#include "base/StrUtils.h"
#include "ftp/IdFTPList.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> lines = base::TextToLines(std::string(reinterpret_cast<const char*>(data), size));
    if (lines.empty())
        return 0;
    ftp::TIdFTPListItems items;
    items.DetectedFormat = ftp::DetectListFormat(lines.front(), true);
    items.LoadListing(lines);
    return 0;
}
