#pragma once

#include <functional>

#include <QObject>

// A timer as the forms use it: while Enabled it calls OnTimer every Interval
// milliseconds, through the application's guard. Handlers that want one tick
// disable the timer first.
namespace runtime {

class TTimer : public QObject {
public:
    explicit TTimer(QObject* owner, int interval = 1000);
    ~TTimer() override;

    bool Enabled() const { return timerId_ != 0; }
    void SetEnabled(bool enabled);
    int Interval() const { return interval_; }

    std::function<void()> OnTimer;

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    int interval_;
    int timerId_ = 0;
};

} // namespace runtime
