#include "instrument/InstrumentThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <condition_variable>

namespace torvex {

namespace {

// The jobs asked for before the application object exists wait here, and the
// threads that run them learn here that it has come.
std::mutex g_earlyMutex;
std::condition_variable g_earlyWake;
bool g_bApplication = false; // guarded by g_earlyMutex

// Called by every application object as it is made.
void ApplicationMade() {
    std::lock_guard<std::mutex> lock(g_earlyMutex);
    g_bApplication = true;
    g_earlyWake.notify_all();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(ApplicationMade)

CInstrumentThread::CInstrumentThread() {
    m_thread.setObjectName(QStringLiteral("instrument"));
    m_pWorker = new QObject;
    m_pWorker->moveToThread(&m_thread);
    m_thread.start();
}

CInstrumentThread::~CInstrumentThread() {
    // The exchanges already asked for run first (a last "CB" must still go
    // out), then the port closes on its own thread; only then does the thread
    // end, so nothing asked of it is left undone.
    {
        std::lock_guard<std::mutex> lock(g_earlyMutex);
        m_bStopping = true;
        g_earlyWake.notify_all();
    }
    RunThere([this] { m_thread.exit(); });
    m_thread.wait();
    delete m_pWorker;
}

void CInstrumentThread::CLoopThread::run() {
    // The serial port is a QObject of the thread that uses it: made here.
    m_owner.m_pCntl = std::make_unique<CTorvexCntl>(false);
    if (m_owner.RunEarlyJobs()) exec();
    m_owner.m_pCntl.reset();
}

bool CInstrumentThread::RunEarlyJobs() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock<std::mutex> lock(g_earlyMutex);
            g_earlyWake.wait(lock, [this] { return !m_earlyJobs.empty() || m_bStopping || g_bApplication; });
            if (m_earlyJobs.empty()) {
                m_bLooping = true;
                return !m_bStopping || g_bApplication;
            }
            job = std::move(m_earlyJobs.front());
            m_earlyJobs.pop_front();
        }
        job();
    }
}

void CInstrumentThread::RunThere(std::function<void()> fn) {
    {
        std::lock_guard<std::mutex> lock(g_earlyMutex);
        if (!m_bLooping) {
            m_earlyJobs.push_back(std::move(fn));
            g_earlyWake.notify_all();
            return;
        }
    }
    QMetaObject::invokeMethod(m_pWorker, std::move(fn), Qt::QueuedConnection);
}

void CInstrumentThread::Send(std::function<void(CTorvexCntl&)> job) {
    RunThere([this, job = std::move(job)] {
        job(*m_pCntl);
        Published();
    });
}

void CInstrumentThread::RunAndWait(const std::function<void(CTorvexCntl&)>& job) {
    if (QThread::currentThread() == &m_thread) { // never from there, but never a deadlock either
        job(*m_pCntl);
        return;
    }
    QEventLoop loop;
    bool bDone = false;
    QObject context; // answers land on this thread even if the loop has gone
    Post<int>(
        &context,
        [&job](CTorvexCntl& c) {
            job(c);
            return 0;
        },
        [&](int) {
            bDone = true;
            loop.quit();
        });
    if (!bDone) loop.exec(QEventLoop::ExcludeUserInputEvents);
    // An application that quits ends every loop: the job may still run, so wait for it.
    while (!bDone)
        loop.processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
}

void CInstrumentThread::Published() {
    const CRsBasicProtocol& p = m_pCntl->m_protocol;
    LinkHealth h;
    h.bOpen = p.IsOpen();
    h.bAnswering = h.bOpen && p.m_bLastExchangeOk;
    h.nModelType = m_pCntl->m_nModelType;
    h.strPort = h.bOpen ? CRsBasicProtocol::PortPath(p.m_nPort) : QString();
    h.nExchanges = p.m_nExchanges;
    h.nRetries = p.m_nRetries;
    h.nFailures = p.m_nFailures;
    bool bChanged = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        bChanged = !(h == m_health);
        m_health = h;
    }
    if (bChanged) emit healthChanged();
}

QString LinkHealthText(const LinkHealth& h, bool bNotConnected) {
    if (bNotConnected || !h.bOpen) return QCoreApplication::translate("InstrumentThread", "TORVEX 未接続");
    QString model;
    CTorvexCntl::GetModelName(h.nModelType, model);
    if (h.nModelType == 0) model = QStringLiteral("TORVEX");
    return QCoreApplication::translate("InstrumentThread", "%1 %2　再送 %3　失敗 %4")
        .arg(model, h.bAnswering ? QCoreApplication::translate("InstrumentThread", "応答あり")
                                 : QCoreApplication::translate("InstrumentThread", "応答なし"))
        .arg(h.nRetries)
        .arg(h.nFailures);
}

LinkHealth CInstrumentThread::Health() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_health;
}

} // namespace torvex
