// The PASV reply parser and the PORT text on arbitrary reply lines.

#include "base/Exception.h"
#include "ftp/IdFTP.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const auto [address, port] = ftp::ParsePassiveReply(std::string(reinterpret_cast<const char*>(data), size));
        ftp::PortCommand(address, static_cast<std::uint16_t>(port));
    } catch (const base::Exception&) {
        // A reply that names no usable endpoint.
    }
    return 0;
}
