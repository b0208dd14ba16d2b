#include "sim/TorvexSimulator.h"

#include "instrument/Frame.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace torvex {

namespace {

using frame::ACK;
using frame::ENQ;
using frame::ETX;
using frame::STX;
constexpr int kMaxFrameText = frame::kMaxTextBytes;
constexpr uint8_t kStrayByte = 0x5A;
constexpr double kHangupGrace = 0.05;

bool AllDigits(const QByteArray& s) {
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "h/m/s" with three decimal numbers.
bool ParseTime(const QByteArray& s, int& nSeconds) {
    const QList<QByteArray> parts = s.split('/');
    if (parts.size() != 3 || !AllDigits(parts[0]) || !AllDigits(parts[1]) || !AllDigits(parts[2]))
        return false;
    const long long l = parts[0].toLongLong() * 3600 + parts[1].toLongLong() * 60 + parts[2].toLongLong();
    if (l > 0x7FFFFFFF) return false;
    nSeconds = int(l);
    return true;
}

} // namespace

CTorvexSimulator::CTorvexSimulator(const SimOptions& opt) : m_opt(opt) {}

CTorvexSimulator::~CTorvexSimulator() {
    Stop();
}

bool CTorvexSimulator::Start() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_thread.joinable()) return true;
    const int nMaster = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (nMaster < 0) return false;
    char szName[128] = {};
    termios tio{};
    if (grantpt(nMaster) != 0 || unlockpt(nMaster) != 0 || ptsname_r(nMaster, szName, sizeof szName) != 0 ||
        tcgetattr(nMaster, &tio) != 0) {
        close(nMaster);
        return false;
    }
    // Raw bytes both ways: no echo, no line editing, no character translation.
    cfmakeraw(&tio);
    tcsetattr(nMaster, TCSANOW, &tio);
    // Holding the slave open keeps the master from seeing a hang-up each time the
    // program closes its port.
    const int nSlave = open(szName, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (nSlave < 0 || pipe2(m_anWake, O_CLOEXEC | O_NONBLOCK) != 0) {
        if (nSlave >= 0) close(nSlave);
        close(nMaster);
        return false;
    }
    m_nMaster = nMaster;
    m_nSlaveKeep = nSlave;
    m_strDevice = QString::fromLocal8Bit(szName);
    m_tOrigin = Clock::now();
    m_bHungUp = false;
    m_thread = std::thread([this] { Serve(); });
    return true;
}

void CTorvexSimulator::Stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_thread.joinable()) return;
        const char c = 'x';
        (void)!write(m_anWake[1], &c, 1);
    }
    m_thread.join();
    std::lock_guard<std::mutex> lock(m_mutex);
    HangUp();
    for (int& fd : m_anWake) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
}

QString CTorvexSimulator::DevicePath() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_strDevice;
}

bool CTorvexSimulator::IsHungUp() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bHungUp;
}

SimOptions CTorvexSimulator::Options() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_opt;
}

void CTorvexSimulator::SetOptions(const SimOptions& opt) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_opt = opt;
}

void CTorvexSimulator::UpdateOptions(const std::function<void(SimOptions&)>& change) {
    std::lock_guard<std::mutex> lock(m_mutex);
    change(m_opt);
    // A new hang-up time needs the serving thread to recompute its wait.
    if (m_anWake[1] >= 0) {
        const char c = 'o';
        (void)!write(m_anWake[1], &c, 1);
    }
}

QStringList CTorvexSimulator::CommandLog(qsizetype nFirst) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    // Copied text by text: a shared list or string would let the serving thread
    // append into or free a buffer the caller still reads, as the share count
    // is checked without synchronisation.
    QStringList log;
    for (qsizetype i = std::max<qsizetype>(nFirst, 0); i < m_log.size(); ++i)
        log << QString(m_log[i].constData(), m_log[i].size());
    return log;
}

void CTorvexSimulator::ClearLog() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_log.clear();
}

double CTorvexSimulator::Now() const {
    return std::chrono::duration<double>(Clock::now() - m_tOrigin).count();
}

void CTorvexSimulator::HangUp() {
    if (m_nMaster >= 0) close(m_nMaster);
    if (m_nSlaveKeep >= 0) close(m_nSlaveKeep);
    m_nMaster = m_nSlaveKeep = -1;
    m_bHungUp = true;
    m_out.clear();
}

void CTorvexSimulator::Serve() {
    for (;;) {
        int nTimeoutMs = -1;
        int nMaster = -1;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_nMaster < 0) return;
            nMaster = m_nMaster;
            const double dNow = Now();
            double dNext = -1;
            if (!m_out.empty()) dNext = m_out.front().dAt;
            for (double dHang : {m_opt.nHangupAtMs > 0 ? m_opt.nHangupAtMs / 1000.0 : -1.0, m_dHangupAt})
                if (dHang >= 0) dNext = dNext < 0 ? dHang : std::min(dNext, dHang);
            if (dNext >= 0) nTimeoutMs = int(std::ceil(std::max(0.0, dNext - dNow) * 1000.0));
            if (m_bOutBlocked) nTimeoutMs = std::max(nTimeoutMs, 5);
        }
        pollfd fds[2] = {{nMaster, POLLIN, 0}, {m_anWake[0], POLLIN, 0}};
        const int nReady = poll(fds, 2, nTimeoutMs);
        if (nReady < 0 && errno != EINTR) return;
        if (fds[1].revents & POLLIN) {
            char buf[16];
            bool bStop = false;
            ssize_t n;
            while ((n = read(m_anWake[0], buf, sizeof buf)) > 0)
                bStop = bStop || std::find(buf, buf + n, 'x') != buf + n;
            if (bStop) return;
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        const double dNow = Now();
        if (fds[0].revents & POLLIN) {
            uint8_t buf[512];
            const ssize_t n = read(m_nMaster, buf, sizeof buf);
            // On a paced line each byte arrives one byte time after the last.
            const double dByte = ByteTime();
            for (ssize_t i = 0; i < n; ++i) {
                m_dLastReceived = std::max(dNow, m_dLastReceived + dByte);
                OnByte(buf[i], dByte > 0 ? m_dLastReceived : dNow);
            }
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            usleep(10000); // should not happen while the slave is held; never spin on it
        }
        FlushOutput(Now());
        // Dropping the line discards what the other side has not read yet: let the
        // last answer settle first.
        if (m_bHangupPending && m_out.empty() && m_dHangupAt < 0) m_dHangupAt = Now() + kHangupGrace;
        if ((m_dHangupAt >= 0 && Now() >= m_dHangupAt) ||
            (m_opt.nHangupAtMs > 0 && Now() * 1000.0 >= m_opt.nHangupAtMs)) {
            HangUp();
            return;
        }
    }
}

double CTorvexSimulator::ByteTime() const {
    return m_opt.nBaud > 0 ? 10.0 / m_opt.nBaud : 0.0;
}

void CTorvexSimulator::Queue(uint8_t b, double dAt) {
    // A byte leaves one byte time after the one before it.
    dAt = std::max(dAt, m_dLastQueued + ByteTime());
    m_dLastQueued = dAt;
    m_out.push_back({b, dAt});
}

void CTorvexSimulator::FlushOutput(double dNow) {
    while (!m_out.empty() && m_out.front().dAt <= dNow) {
        uint8_t buf[512];
        size_t n = 0;
        for (auto it = m_out.begin(); it != m_out.end() && it->dAt <= dNow && n < sizeof buf; ++it)
            buf[n++] = it->b;
        const ssize_t nWritten = write(m_nMaster, buf, n);
        m_bOutBlocked = nWritten <= 0;
        if (m_bOutBlocked) return; // the pty is full; try again shortly
        m_out.erase(m_out.begin(), m_out.begin() + nWritten);
    }
}

void CTorvexSimulator::SendAck(double dNow) {
    if (m_opt.nDropAcks > 0) {
        --m_opt.nDropAcks;
        return;
    }
    Queue(ACK, dNow + m_opt.nLateAckMs / 1000.0);
}

void CTorvexSimulator::SendReply(const QByteArray& text, double dNow) {
    const double dStep = m_opt.nSlowByteMs / 1000.0;
    double dAt = dNow;
    uint8_t bcc = frame::Bcc(text);
    Queue(STX, dAt);
    for (char c : text) {
        dAt += dStep;
        Queue(uint8_t(c), dAt);
    }
    if (m_opt.nBadBccReplies > 0) {
        --m_opt.nBadBccReplies;
        bcc ^= 0xFF;
    }
    Queue(ETX, dAt += dStep);
    Queue(bcc, dAt += dStep);
}

void CTorvexSimulator::SendStray(double dNow) {
    for (int i = 0; i < m_opt.nStrayBytes; ++i)
        Queue(kStrayByte, dNow);
}

void CTorvexSimulator::OnByte(uint8_t b, double dNow) {
    if (m_bHangupPending) return;
    switch (m_eRx) {
    case RX_IDLE:
        if (b == ENQ) {
            if (!m_opt.bSilent) SendAck(dNow);
        } else if (b == STX) {
            m_rxText.clear();
            m_eRx = RX_FRAME;
        }
        break; // the program's ACK of a reply and anything else need no answer
    case RX_FRAME:
        if (b == ETX)
            m_eRx = RX_BCC;
        else if (b == STX)
            m_rxText.clear();
        else if (m_rxText.size() >= kMaxFrameText)
            m_eRx = RX_IDLE;
        else
            m_rxText.append(char(b));
        break;
    case RX_BCC: {
        m_eRx = RX_IDLE;
        if (frame::Bcc(m_rxText) == b) OnFrame(m_rxText, dNow);
        break; // a bad frame gets no answer: the program repeats it
    }
    }
}

SimOptions::Fault CTorvexSimulator::FaultStrikes(const QByteArray& text) {
    if (m_opt.eFault == SimOptions::FAULT_NONE || m_opt.nFaultNth <= 0) return SimOptions::FAULT_NONE;
    const bool bCounts = m_opt.strFaultAt == QLatin1String("discharging")
                             ? m_bDischarging
                             : text.startsWith(m_opt.strFaultAt.toLatin1());
    if (!bCounts || ++m_nFaultSeen < m_opt.nFaultNth) return SimOptions::FAULT_NONE;
    return std::exchange(m_opt.eFault, SimOptions::FAULT_NONE);
}

void CTorvexSimulator::OnFrame(const QByteArray& text, double dNow) {
    Advance(dNow);
    const SimOptions::Fault eFault = FaultStrikes(text);
    const bool bQuery = text.startsWith('Q');
    if (eFault == SimOptions::FAULT_SILENCE) {
        m_opt.bSilent = true; // the line is dead from here on: this frame never arrived
        return;
    }
    if (eFault == SimOptions::FAULT_BAD_BCC && !bQuery) return; // damaged on the way: ignored
    m_log << QString::fromLatin1(text);
    ++m_nFrames;
    if (m_opt.nHangupAfter > 0 && m_nFrames >= m_opt.nHangupAfter) m_bHangupPending = true;
    if (eFault == SimOptions::FAULT_HANGUP) m_bHangupPending = true;
    QByteArray reply;
    bool bIsQuery = false;
    const bool bAccepted = Execute(text, dNow, reply, bIsQuery);
    if (m_opt.bSilent || !bAccepted) return;
    if (eFault == SimOptions::FAULT_LOSE_ANSWER) {
        // Taken, but the answer is lost on the line.
    } else if (bIsQuery) {
        if (eFault == SimOptions::FAULT_BAD_BCC) ++m_opt.nBadBccReplies;
        SendReply(reply, dNow);
    } else if (m_opt.nDropAckOf > 0 && text.startsWith(m_opt.strDropAckOf.toLatin1())) {
        --m_opt.nDropAckOf; // taken, but the acknowledgement is lost on the line
    } else {
        SendAck(dNow);
    }
    if (m_opt.nDropAfter > 0 && text.startsWith(m_opt.strDropAfter.toLatin1())) {
        m_opt.nDropAcks += m_opt.nDropAfter;
        m_opt.nDropAfter = 0;
    }
    SendStray(dNow);
}

bool CTorvexSimulator::Execute(const QByteArray& text, double dNow, QByteArray& reply, bool& bIsQuery) {
    if (text.size() < 2) return false;
    const QByteArray name = text.left(2);
    const QByteArray arg = text.mid(2);
    bIsQuery = name[0] == 'Q';
    if (bIsQuery) {
        if (!arg.isEmpty()) return false;
        if (name == "QA") {
            reply = m_opt.strIdentity.toLatin1();
        } else if (name == "QB") {
            const uint8_t s = StatusByte();
            reply = "QB";
            reply.append(char('0' + (s & 0x0F))).append(char('0' + (s >> 4)));
        } else if (name == "QM") {
            reply = "QM" + QByteArray::number(m_nError);
        } else if (name == "QF") {
            const int t = RemainingSeconds(dNow);
            reply = QString::asprintf("QF%d/%d/%d", t / 3600, (t % 3600) / 60, t % 60).toLatin1();
        } else if (name == "QT") {
            reply = m_opt.eModel == SimOptions::MODEL_K1 ? "AT1" : "AT0";
        } else {
            return false;
        }
        const auto it = m_opt.mapReplies.constFind(QString::fromLatin1(name));
        if (it != m_opt.mapReplies.constEnd()) reply = it.value().toLatin1();
        return true;
    }

    if (name == "CA" || name == "CB" || name == "CC" || name == "CD" || name == "PN") {
        if (!arg.isEmpty()) return false;
        if (name == "CA") {
            if (m_eRun == RUN_RUNNING) {
                m_dElapsed = ElapsedAt(dNow);
                m_eRun = RUN_PAUSED;
            } else if (m_eRun == RUN_PAUSED) {
                m_dAnchor = dNow;
                m_eRun = RUN_RUNNING;
            } else if (m_bLoaded && m_nError == 0 && !m_bDischarging) {
                StartOutput(dNow);
            }
        } else if (name == "CB") {
            if (m_eRun != RUN_IDLE) EndOutput(dNow, false);
            m_bComplete = false;
        } else if (name == "CC" || name == "CD") {
            m_bLineOn = name == "CC";
        } else {
            m_nError = 0;
        }
        return true;
    }

    // Step parameters: checked for their form, the test time kept.
    if (name == "PC") return arg.size() == 1 && arg[0] >= '0' && arg[0] <= '2';
    if (name == "PD" || name == "PE" || name == "PG" || name == "PH" || name == "PK") return AllDigits(arg);
    if (name == "PF") return ParseTime(arg, m_nPendingSeconds);
    if (name == "PI") return AllDigits(arg) || (arg.size() >= 3 && arg[0] == '0' && AllDigits(arg.mid(2)));
    if (name == "PJ") return arg == "0" || arg == "1";
    if (name == "PO") {
        if (arg.size() != 1 || arg[0] < '0' || arg[0] > '?') return false;
        m_nLoadedSeconds = m_nPendingSeconds;
        m_bLoaded = true;
        return true;
    }
    return false;
}

double CTorvexSimulator::ElapsedAt(double dT) const {
    if (m_eRun != RUN_RUNNING) return m_dElapsed;
    const double dFrom = std::max(m_dAnchor, m_dCountFrom);
    return m_dElapsed + std::max(0.0, dT - dFrom) * m_opt.dTimeScale;
}

void CTorvexSimulator::StartOutput(double dNow) {
    m_eRun = RUN_RUNNING;
    m_bComplete = false;
    m_nTestSeconds = m_nLoadedSeconds;
    m_dElapsed = 0;
    m_dAnchor = dNow;
    m_dCountFrom = dNow + m_opt.nStartDelayMs / 1000.0;
    m_dStepStart = dNow;
}

void CTorvexSimulator::EndOutput(double dT, bool bComplete) {
    m_eRun = RUN_IDLE;
    m_bComplete = bComplete;
    if (m_opt.nDischargeMs > 0) {
        m_bDischarging = true;
        m_dDischargeEnd = dT + m_opt.nDischargeMs / 1000.0;
    }
}

void CTorvexSimulator::Advance(double dNow) {
    // Apply the timed events up to now in the order they fall due.
    for (;;) {
        enum { EV_NONE, EV_END, EV_DISCHARGED, EV_ERROR, EV_EUT_FAIL } eEvent = EV_NONE;
        double dAt = dNow;
        auto consider = [&](double dT, decltype(eEvent) e) {
            if (dT <= dAt) {
                dAt = dT;
                eEvent = e;
            }
        };
        const bool bOutput = m_eRun != RUN_IDLE;
        if (m_eRun == RUN_RUNNING)
            consider(std::max(m_dAnchor, m_dCountFrom) + (m_nTestSeconds - m_dElapsed) / m_opt.dTimeScale,
                     EV_END);
        if (m_bDischarging) consider(m_dDischargeEnd, EV_DISCHARGED);
        if (m_opt.nErrorCode > 0 && m_opt.eErrorMode == SimOptions::ERROR_IDLE)
            consider(m_opt.nErrorAtMs / 1000.0, EV_ERROR);
        if (m_opt.nErrorCode > 0 && m_opt.eErrorMode != SimOptions::ERROR_IDLE && bOutput)
            consider(m_dStepStart + m_opt.nErrorAtMs / 1000.0, EV_ERROR);
        if (m_opt.nEutFailAtMs > 0 && bOutput)
            consider(m_dStepStart + m_opt.nEutFailAtMs / 1000.0, EV_EUT_FAIL);

        switch (eEvent) {
        case EV_NONE:
            return;
        case EV_END:
            m_dElapsed = m_nTestSeconds;
            EndOutput(dAt, true);
            break;
        case EV_DISCHARGED:
            m_bDischarging = false;
            break;
        case EV_ERROR:
            m_nError = m_opt.nErrorCode;
            m_opt.nErrorCode = 0;
            if (m_opt.eErrorMode == SimOptions::ERROR_RUNNING_ENDED) EndOutput(dAt, false);
            break;
        case EV_EUT_FAIL:
            m_nError = 6;
            m_opt.nEutFailAtMs = 0;
            EndOutput(dAt, false);
            break;
        }
    }
}

uint8_t CTorvexSimulator::StatusByte() const {
    uint8_t s = 0;
    if (m_eRun != RUN_IDLE) s |= 0x02;
    if (m_eRun == RUN_PAUSED) s |= 0x80;
    if (m_bComplete) s |= 0x04;
    if (m_bLineOn) s |= 0x10;
    if (m_nError != 0) s |= 0x20;
    if (m_bDischarging) s |= 0x40;
    return s;
}

int CTorvexSimulator::RemainingSeconds(double dNow) const {
    if (m_eRun == RUN_IDLE) return 0;
    return std::max(0, int(std::ceil(m_nTestSeconds - ElapsedAt(dNow) - 1e-9)));
}

} // namespace torvex
