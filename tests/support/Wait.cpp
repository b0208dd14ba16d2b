#include "Wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace torvex {

bool WaitFor(const std::function<bool()>& cond, int ms) {
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(2);
    }
    return true;
}

void Idle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(2);
    }
}

} // namespace torvex
