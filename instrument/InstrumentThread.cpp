#include "instrument/InstrumentThread.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace torvex {

CInstrumentThread::CInstrumentThread() {
    m_thread.setObjectName(QStringLiteral("instrument"));
    m_thread.start();
    m_pWorker = new QObject;
    m_pWorker->moveToThread(&m_thread);
    // The serial port is a QObject of the thread that uses it: make it there.
    QMetaObject::invokeMethod(
        m_pWorker, [this] { m_pCntl = std::make_unique<CTorvexCntl>(false); }, Qt::BlockingQueuedConnection);
}

CInstrumentThread::~CInstrumentThread() {
    // The exchanges already asked for run first (a last "CB" must still go
    // out), then the port closes on its own thread; only then does the thread
    // end, so nothing asked of it is left undone.
    QMetaObject::invokeMethod(m_pWorker, [this] { m_pCntl.reset(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_pWorker;
}

void CInstrumentThread::RunThere(std::function<void()> fn) {
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
