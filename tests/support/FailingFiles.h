#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileFaults.h"
#include "platform/SystemError.h"

namespace testsupport {

// Makes chosen file operations fail, for the lifetime of the object, with a
// system error code, as they would for a user without the rights (tests run
// as root, for whom they do not fail).
class FailingFiles {
public:
    FailingFiles();
    ~FailingFiles();
    FailingFiles(const FailingFiles&) = delete;
    FailingFiles& operator=(const FailingFiles&) = delete;

    // The operation fails on every name that ends with nameEnd.
    void Fail(platform::FileOperation operation, const std::string& nameEnd,
              std::uint32_t code = platform::ERROR_ACCESS_DENIED);

private:
    struct Rule {
        platform::FileOperation operation;
        std::string nameEnd;
        std::uint32_t code;
    };
    std::vector<Rule> rules_;
};

} // namespace testsupport
