// The control connection's reply reader on arbitrary received bytes, replayed
// without a socket: replies are read until the bytes run out or one is refused.

#include "ftp/IdException.h"
#include "ftp/IdTCPConnection.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ftp::TIdTCPConnection connection;
    connection.AppendReceived(reinterpret_cast<const char*>(data), size);
    try {
        for (;;)
            connection.CheckReplyCode(connection.ReadReply(), {});
    } catch (const ftp::EIdException&) {
        // The end of the bytes, or a reply the reader refuses.
    }
    return 0;
}
