#pragma once

#include <exception>
#include <functional>
#include <string>

class QEventLoop;
class QWidget;

// The application object: its title, message pumping, termination, and the
// guard through which every event handler runs.
namespace runtime {

class TApplication {
public:
    // The newest application object becomes the current one; destroying it
    // brings back the one before.
    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }

    // Lets every pending window message run.
    void ProcessMessages();
    // Waits the given milliseconds while the windows keep repainting and
    // reacting: pending messages run every 20 ms.
    void Wait(int milliseconds);

    // Asks the message loop to end; Run then returns at its first chance.
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Shows the main form and runs the message loop until that form closes or
    // the application was asked to terminate. When termination was asked
    // before, the form is still shown and one round of messages runs.
    void Run(QWidget& mainForm);

    // Runs one event handler; whatever it throws is reported by
    // HandleException and goes no further.
    void Dispatch(const std::function<void()>& handler);

    // The default error report for the exception being handled.
    void HandleException(const std::exception_ptr& error);
    void ShowException(const std::string& message);

private:
    std::string title_;
    bool terminated_ = false;
    TApplication* previous_ = nullptr;
    QEventLoop* loop_ = nullptr;
};

// The current application object (a default one exists from the start).
TApplication& Application();

// The text of the default error report: a full stop is added when the last
// character of the message sorts after ".".
std::string ErrorReportText(const std::string& message);

} // namespace runtime
