#include "tests/support/MessageBoxRecorder.h"

namespace testsupport {

MessageBoxRecorder::MessageBoxRecorder() {
    previous_ = runtime::SetMessageBoxHandler([this](const runtime::MessageBoxRequest& request) {
        boxes_.push_back(request);
        if (OnBox)
            OnBox(request);
        if (answers_.empty())
            return static_cast<int>(runtime::mrOk);
        int answer = answers_.front();
        answers_.pop_front();
        return answer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    runtime::SetMessageBoxHandler(previous_);
}

std::vector<std::string> MessageBoxRecorder::Texts() const {
    std::vector<std::string> texts;
    for (const runtime::MessageBoxRequest& box : boxes_)
        texts.push_back(box.text);
    return texts;
}

} // namespace testsupport
