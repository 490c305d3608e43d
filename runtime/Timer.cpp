#include "runtime/Timer.h"

#include <QTimerEvent>

#include "runtime/Application.h"

namespace runtime {

TTimer::TTimer(QObject* owner, int interval) : QObject(owner), interval_(interval) {}

TTimer::~TTimer() {
    SetEnabled(false);
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == Enabled())
        return;
    if (enabled) {
        timerId_ = startTimer(interval_);
    } else {
        killTimer(timerId_);
        timerId_ = 0;
    }
}

void TTimer::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timerId_)
        return;
    Application().Dispatch([this] {
        if (OnTimer)
            OnTimer();
    });
}

} // namespace runtime
