#include "runtime/MessageBoxes.h"

#include <utility>

#include <QMessageBox>

#include "runtime/Application.h"
#include "runtime/QtText.h"

namespace runtime {

namespace {

MessageBoxHandler& InstalledHandler() {
    static MessageBoxHandler handler;
    return handler;
}

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

int ToModalResult(int qtButton) {
    switch (qtButton) {
    case QMessageBox::Ok:
        return mrOk;
    case QMessageBox::Yes:
        return mrYes;
    case QMessageBox::No:
        return mrNo;
    default:
        return mrCancel;
    }
}

int ShowRealBox(const MessageBoxRequest& request) {
    QMessageBox box(ToQtIcon(request.icon), ToQString(request.caption), ToQString(request.text),
                    ToQtButtons(request.buttons));
    box.setObjectName("MessageBox");
    box.setAccessibleName(ToQString(request.caption));
    box.setAccessibleDescription(ToQString(request.text));
    return ToModalResult(box.exec());
}

} // namespace

int MessageBox(const MessageBoxRequest& request) {
    const MessageBoxHandler& handler = InstalledHandler();
    return handler ? handler(request) : ShowRealBox(request);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(InstalledHandler(), std::move(handler));
}

void ShowMessage(const std::string& text) {
    MessageBox({Application().Title(), text, MsgIcon::None, MsgButtons::Ok});
}

} // namespace runtime
