#pragma once

#include <QObject>

class QSocketNotifier;

namespace torvex {

// Turns SIGINT, SIGTERM and SIGHUP (Ctrl+C, a kill, a closed terminal or an
// ended session) into a signal of the event loop, so a running test can be
// stopped on the instrument before the program ends. One at a time.
class CStopSignals : public QObject {
    Q_OBJECT
public:
    explicit CStopSignals(QObject* pParent = nullptr);
    // Gives the signals their default handling back.
    ~CStopSignals() override;

signals:
    // nSignal: the signal's number; nCount: how many have come so far.
    void received(int nSignal, int nCount);

private:
    void OnReadable();

    QSocketNotifier* m_pNotifier = nullptr;
    int m_nCount = 0;
};

} // namespace torvex
