// The manifest parser on arbitrary text. A text it accepts must be written
// back (Text) as a manifest that reads to the same text, so that what the
// maker's tool writes and what the updater reads cannot drift apart.

#include "signing/Manifest.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const signing::Manifest manifest =
            signing::Manifest::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
        const std::string text = manifest.Text();
        if (signing::Manifest::Parse(text).Text() != text)
            std::abort();
    } catch (const signing::EInvalidManifest&) {
        // A text that breaks the format.
    }
    return 0;
}
