#pragma once

namespace testsupport {

// A TCP port of 127.0.0.1 that the OS found free a moment ago; nothing
// listens on it when the call returns.
unsigned FreeLoopbackPort();

} // namespace testsupport
