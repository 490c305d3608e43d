// The listing parser on arbitrary listing text: format detection by the first
// line, every line parsed into entries, and each entry rebuilt from its line.

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
    for (std::size_t i = 0; i < items.Count(); ++i)
        items[i];
    return 0;
}
