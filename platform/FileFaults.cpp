#include "platform/FileFaults.h"

namespace platform {

namespace {

FileFault& installedFault() {
    static FileFault fault;
    return fault;
}

} // namespace

void SetFileFault(FileFault fault) {
    installedFault() = std::move(fault);
}

std::uint32_t InjectedFileFault(FileOperation operation, const std::string& name) {
    const FileFault& fault = installedFault();
    return fault ? fault(operation, name) : 0;
}

} // namespace platform
