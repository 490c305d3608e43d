#include "runtime/Application.h"

#include <QElapsedTimer>
#include <QThread>

#include "base/Exception.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QWidget>

#include "runtime/MessageBoxes.h"

namespace runtime {

namespace {

TApplication* current = nullptr;

// Ends the message loop of Run when the main form is closed (or hidden by
// the program); minimising hides it spontaneously and ends nothing.
class MainFormWatcher : public QObject {
public:
    MainFormWatcher(QWidget& form, QEventLoop& loop) : form_(form), loop_(loop) { form_.installEventFilter(this); }
    ~MainFormWatcher() override { form_.removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &form_ && event->type() == QEvent::Hide && !event->spontaneous())
            loop_.quit();
        return false;
    }

private:
    QWidget& form_;
    QEventLoop& loop_;
};

} // namespace

TApplication::TApplication() : previous_(current) {
    current = this;
}

TApplication::~TApplication() {
    current = previous_;
}

TApplication& Application() {
    // The default object registers itself as current when first needed and
    // stays beneath every application object made later.
    if (current == nullptr) {
        static TApplication fallback;
    }
    return *current;
}

void TApplication::ProcessMessages() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::Wait(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        ProcessMessages();
        QThread::msleep(20);
    }
}

void TApplication::Terminate() {
    terminated_ = true;
    if (loop_ != nullptr)
        loop_->quit();
}

void TApplication::Run(QWidget& mainForm) {
    QEventLoop loop;
    MainFormWatcher watcher(mainForm, loop);
    mainForm.show();
    if (terminated_ || !mainForm.isVisible()) {
        ProcessMessages();
        return;
    }
    loop_ = &loop;
    loop.exec();
    loop_ = nullptr;
}

void TApplication::Dispatch(const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        HandleException(std::current_exception());
    }
}

void TApplication::HandleException(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const base::EAbort&) {
        // An operation stopped on request: nothing went wrong, nothing to show.
    } catch (const std::exception& e) {
        ShowException(e.what());
    } catch (...) {
        ShowException("Exceção desconhecida");
    }
}

void TApplication::ShowException(const std::string& message) {
    MessageBox({title_, ErrorReportText(message), MsgIcon::Error, MsgButtons::Ok});
}

std::string ErrorReportText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

} // namespace runtime
