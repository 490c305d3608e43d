#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include <netinet/in.h>

// The server side of the FTP wire, shared by the scripted test server and the
// benchmark's sending server: plain sockets on 127.0.0.1 only, no library of
// the program under test.
namespace testsupport {

// A socket listening on 127.0.0.1 at a port the system chooses; sets port.
// Throws std::runtime_error when it cannot listen.
int ListenOnLoopback(std::uint16_t& port);

// Sends every byte; false when the peer is gone (errno tells why).
bool SendAll(int handle, const char* data, std::size_t size);

// The first whole command line (without its CR LF) taken off the front of
// what was received; nothing while the line is incomplete.
std::optional<std::string> TakeLine(std::string& received);

// The address a "PORT h1,h2,h3,h4,p1,p2" command names; nothing for another text.
std::optional<sockaddr_in> PortAddress(const std::string& command);

// The reply to PASV for a loopback listener on port.
std::string PassiveReply(std::uint16_t port);

} // namespace testsupport
