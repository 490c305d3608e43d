#pragma once

#include <functional>
#include <string>

// The one message-box service of the program. Production shows real modal
// boxes; tests install a handler that records each request and answers it.
namespace runtime {

enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgButtons { Ok, OkCancel, YesNo };

// Modal results, numbered as the framework's forms and boxes report them.
enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

struct MessageBoxRequest {
    std::string caption;
    std::string text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Shows one modal box and returns the button pressed (a ModalResult).
int MessageBox(const MessageBoxRequest& request);

// Replaces the service that answers MessageBox; an empty handler restores the
// real boxes. Returns the handler that was installed before.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The framework's plain message: the application title as caption, the text,
// no icon, one OK button.
void ShowMessage(const std::string& text);

} // namespace runtime
