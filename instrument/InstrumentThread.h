#pragma once

// moc cannot read the standard coroutine header; it needs none of it.
#ifndef Q_MOC_RUN
#include "instrument/Task.h"
#endif
#include "instrument/TorvexCntl.h"

#include <QObject>
#include <QPointer>
#include <QThread>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace torvex {

// How the link to the instrument is doing, for the operator: counted since
// the last connection.
struct LinkHealth {
    bool bOpen = false;      // a port is open
    bool bAnswering = false; // the last exchange was answered
    int32_t nModelType = 0;  // as the instrument told it (0: not known)
    QString strPort;         // device path of the open port
    int64_t nExchanges = 0;  // commands and queries sent
    int64_t nRetries = 0;    // repeated attempts within them
    int64_t nFailures = 0;   // exchanges that failed after every attempt
    bool operator==(const LinkHealth&) const = default;
};

// What the status bar says of the link: whether the instrument answers, its
// model, and the repeats and failed exchanges since the connection, so that a
// link that degrades shows before it fails.
QString LinkHealthText(const LinkHealth& health, bool bNotConnected);

// The instrument controller on a thread of its own. Every exchange with the
// instrument runs there, one after the other in the order asked, so the thread
// that asks (the window's) never waits on the serial line. Answers come back
// through that thread's event loop.
class CInstrumentThread : public QObject {
    Q_OBJECT
public:
    CInstrumentThread();
    // Finishes the exchanges already asked for, then closes the port.
    ~CInstrumentThread() override;
    CInstrumentThread(const CInstrumentThread&) = delete;
    CInstrumentThread& operator=(const CInstrumentThread&) = delete;

    // Runs job on the instrument thread; fnDone(result) runs afterwards on the
    // thread of context, unless context is gone by then.
    template <class R>
    void Post(QObject* pContext, std::function<R(CTorvexCntl&)> job, std::function<void(R)> fnDone) {
        QPointer<QObject> context(pContext);
        RunThere([this, context, job = std::move(job), fnDone = std::move(fnDone)]() mutable {
            R result = job(*m_pCntl);
            Published();
            if (!context) return;
            QMetaObject::invokeMethod(
                context.data(),
                [fnDone = std::move(fnDone), result = std::move(result)]() { fnDone(result); },
                Qt::QueuedConnection);
        });
    }

    // The awaitable form of Post, for tasks of pContext's thread.
    template <class R> Pending<R> Call(QObject* pContext, std::function<R(CTorvexCntl&)> job) {
        return Pending<R>([this, pContext, job = std::move(job)](std::function<void(R)> fnResume) mutable {
            Post<R>(pContext, std::move(job), std::move(fnResume));
        });
    }

    // Runs job and waits for it while the calling thread's events go on being
    // handled (start-up discovery, reconnection): the window stays painted
    // and answering. Callers keep their screens from starting other work.
    template <class R> R Run(std::function<R(CTorvexCntl&)> job) {
        R result{};
        RunAndWait([&](CTorvexCntl& c) { result = job(c); });
        return result;
    }

    // Starts a job without waiting for it and without an answer (the last
    // "CB" at exit).
    void Send(std::function<void(CTorvexCntl&)> job);

    // A snapshot of the link's health; healthChanged() follows every change.
    LinkHealth Health() const;

signals:
    void healthChanged();

private:
    void RunThere(std::function<void()> fn);
    void RunAndWait(const std::function<void(CTorvexCntl&)>& job);
    // Takes the counters of the transport into the snapshot (instrument thread).
    void Published();

    // Jobs asked for before the application object exists (the search for the
    // instrument at program start) run at once, in order; the thread's event
    // loop, which needs that object, then takes the rest.
    class CLoopThread : public QThread {
    public:
        explicit CLoopThread(CInstrumentThread& owner) : m_owner(owner) {}

    protected:
        void run() override;

    private:
        CInstrumentThread& m_owner;
    };
    // On the thread, before its event loop: false when the thread is to end.
    bool RunEarlyJobs();

    CLoopThread m_thread{*this};
    QObject* m_pWorker = nullptr; // lives on m_thread
    // Guarded by the early jobs' mutex (InstrumentThread.cpp).
    std::deque<std::function<void()>> m_earlyJobs;
    bool m_bLooping = false;  // the event loop takes the jobs
    bool m_bStopping = false; // the owner is going
    std::unique_ptr<CTorvexCntl> m_pCntl;
    mutable std::mutex m_mutex;
    LinkHealth m_health;
};

} // namespace torvex
