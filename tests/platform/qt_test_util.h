// Helpers the Qt test programs share: waiting for a condition while events run, and
// answering a real modal dialog from a timer.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

namespace talveron::testing {

// Processes events until pred() holds or timeoutMs (a safety limit) has passed.
inline bool WaitUntil(const std::function<bool()>& pred, int timeoutMs = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!pred()) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

}  // namespace talveron::testing
