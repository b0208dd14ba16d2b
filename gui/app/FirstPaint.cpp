#include "gui/app/FirstPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace torvex {

namespace {

class CFirstPaintWatch : public QObject {
public:
    CFirstPaintWatch(QWidget* pWindow, bool bExit) : QObject(pWindow), m_bExit(bExit) {}

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
        if (pEvent->type() == QEvent::Paint && !m_bSeen) {
            m_bSeen = true;
            // Once this paint and the flush to the screen that follows it are done.
            QTimer::singleShot(0, this, [this] {
                std::fputs("first-paint\n", stderr);
                std::fflush(stderr);
                if (m_bExit) QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(pWatched, pEvent);
    }

private:
    bool m_bExit;
    bool m_bSeen = false;
};

} // namespace

void WatchFirstPaint(QWidget* pWindow) {
    const QByteArray mode = qgetenv("TORVEX_FIRST_PAINT");
    if (mode.isEmpty()) return;
    pWindow->installEventFilter(new CFirstPaintWatch(pWindow, mode == "exit"));
}

} // namespace torvex
