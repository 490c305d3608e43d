#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "runtime/MessageBoxes.h"

namespace testsupport {

// Replaces the program's message boxes while it lives: every request is
// recorded and answered with the next queued answer (mrOk when none is
// queued). OnBox, when set, runs as each box "is shown", so a test can look at
// the windows at that moment.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void QueueAnswer(int answer) { answers_.push_back(answer); }
    const std::vector<runtime::MessageBoxRequest>& Boxes() const { return boxes_; }
    // The texts of the boxes shown, in order.
    std::vector<std::string> Texts() const;

    std::function<void(const runtime::MessageBoxRequest&)> OnBox;

private:
    std::vector<runtime::MessageBoxRequest> boxes_;
    std::deque<int> answers_;
    runtime::MessageBoxHandler previous_;
};

} // namespace testsupport
