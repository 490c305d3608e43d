#include "tests/support/FailingFiles.h"

namespace testsupport {

FailingFiles::FailingFiles() {
    platform::SetFileFault([this](platform::FileOperation operation, const std::string& name) -> std::uint32_t {
        for (const Rule& rule : rules_) {
            if (rule.operation == operation && name.size() >= rule.nameEnd.size() &&
                name.compare(name.size() - rule.nameEnd.size(), rule.nameEnd.size(), rule.nameEnd) == 0)
                return rule.code;
        }
        return 0;
    });
}

FailingFiles::~FailingFiles() {
    platform::SetFileFault(nullptr);
}

void FailingFiles::Fail(platform::FileOperation operation, const std::string& nameEnd, std::uint32_t code) {
    rules_.push_back({operation, nameEnd, code});
}

} // namespace testsupport
