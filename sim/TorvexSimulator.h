#pragma once

#include "sim/SimOptions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace torvex {

// A stand-in for the instrument on the master side of a pseudo-terminal. The
// program opens the slave side (DevicePath) like any serial device. It serves on
// a thread of its own, because the program blocks its thread while it waits for
// bytes. Options may change while it runs; every call is thread-safe.
class CTorvexSimulator {
public:
    explicit CTorvexSimulator(const SimOptions& opt = SimOptions());
    ~CTorvexSimulator();
    CTorvexSimulator(const CTorvexSimulator&) = delete;
    CTorvexSimulator& operator=(const CTorvexSimulator&) = delete;

    // Opens a new pty and starts serving; false when no pty could be made.
    bool Start();
    void Stop();
    // The slave device, "/dev/pts/N"; empty before Start.
    QString DevicePath() const;
    // True once a hang-up fault has dropped the line.
    bool IsHungUp() const;

    SimOptions Options() const;
    void SetOptions(const SimOptions& opt);
    // Changes some options in place, e.g. UpdateOptions([](SimOptions& o) { o.bSilent = true; }).
    void UpdateOptions(const std::function<void(SimOptions&)>& change);

    // Every command and query text received in a good frame, in order (from the
    // nFirst-th on): a copy that shares nothing with the serving thread.
    QStringList CommandLog(qsizetype nFirst = 0) const;
    void ClearLog();

private:
    using Clock = std::chrono::steady_clock;
    enum RunState { RUN_IDLE, RUN_RUNNING, RUN_PAUSED };
    enum RxState { RX_IDLE, RX_FRAME, RX_BCC };
    struct OutByte {
        uint8_t b;
        double dAt;
    };

    void Serve();
    double Now() const;
    void OnByte(uint8_t b, double dNow);
    void OnFrame(const QByteArray& text, double dNow);
    // The fault of the options when this frame is the one it strikes (once).
    SimOptions::Fault FaultStrikes(const QByteArray& text);
    bool Execute(const QByteArray& text, double dNow, QByteArray& reply, bool& bIsQuery);
    void SendAck(double dNow);
    void SendReply(const QByteArray& text, double dNow);
    void SendStray(double dNow);
    void Queue(uint8_t b, double dAt);
    // Seconds one byte takes on the line; 0 unpaced.
    double ByteTime() const;
    void FlushOutput(double dNow);
    void HangUp();

    // The instrument's state.
    void Advance(double dNow);
    double ElapsedAt(double dT) const;
    void StartOutput(double dNow);
    void EndOutput(double dT, bool bComplete);
    uint8_t StatusByte() const;
    int RemainingSeconds(double dNow) const;

    mutable std::mutex m_mutex;
    SimOptions m_opt;
    QStringList m_log;
    QString m_strDevice;
    std::thread m_thread;
    int m_nMaster = -1;
    int m_nSlaveKeep = -1;
    int m_anWake[2] = {-1, -1};
    bool m_bHungUp = false;
    Clock::time_point m_tOrigin;

    RxState m_eRx = RX_IDLE;
    QByteArray m_rxText;
    std::deque<OutByte> m_out;
    double m_dLastQueued = 0;
    double m_dLastReceived = 0;
    int m_nFrames = 0;
    int m_nFaultSeen = 0; // frames that counted towards the fault
    bool m_bHangupPending = false;
    bool m_bOutBlocked = false;
    double m_dHangupAt = -1;

    // Parameters as the PC..PO commands left them; PO makes them the loaded step.
    int m_nPendingSeconds = 0;
    int m_nLoadedSeconds = 0;
    bool m_bLoaded = false;
    RunState m_eRun = RUN_IDLE;
    int m_nTestSeconds = 0;
    double m_dElapsed = 0;   // simulated seconds counted down so far
    double m_dAnchor = 0;    // real time from which the count goes on
    double m_dCountFrom = 0; // real time the countdown begins (start delay)
    double m_dStepStart = 0;
    bool m_bComplete = false;
    bool m_bLineOn = false;
    int m_nError = 0;
    bool m_bDischarging = false;
    double m_dDischargeEnd = 0;
};

} // namespace torvex
