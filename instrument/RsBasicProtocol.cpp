#include "instrument/RsBasicProtocol.h"

#include "instrument/Frame.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>
#include <cerrno>
#include <unistd.h>
#include <termios.h>

namespace torvex {

namespace {

using frame::ACK;
using frame::ENQ;
using frame::ETX;
using frame::kMaxTextBytes;
using frame::STX;

constexpr int kMaxPort = 128;
constexpr int kMaxReplyBytes = 254;
constexpr int kByteTimeoutMs = 500;
constexpr int kWriteTimeoutMs = 100;

QStringList& ExtraPorts() {
    static QStringList paths;
    return paths;
}

// The device a link leads to; any other path as given (a missing device too).
QString DevicePath(const QString& strPath) {
    const QFileInfo info(strPath);
    if (!info.isSymLink()) return strPath;
    const QString strTarget = info.canonicalFilePath();
    return strTarget.isEmpty() ? strPath : strTarget;
}

bool IsPseudoTerminal(const QString& strPath) {
    return strPath.startsWith(QLatin1String("/dev/pts/"));
}

// Qt reports a device we may not open and one another program holds alike;
// the device's own permissions tell them apart.
CRsBasicProtocol::OpenError OpenErrorOf(const QString& strPath, QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return CRsBasicProtocol::OPEN_NO_DEVICE;
    case QSerialPort::PermissionError:
        return access(QFile::encodeName(strPath).constData(), R_OK | W_OK) != 0 && errno == EACCES
                   ? CRsBasicProtocol::OPEN_PERMISSION
                   : CRsBasicProtocol::OPEN_BUSY;
    default:
        return CRsBasicProtocol::OPEN_OTHER;
    }
}

} // namespace

CRsBasicProtocol::CRsBasicProtocol() = default;

CRsBasicProtocol::~CRsBasicProtocol() {
    ClosePort();
}

void CRsBasicProtocol::SetExtraPorts(const QStringList& paths) {
    ExtraPorts() = paths;
}

QStringList CRsBasicProtocol::PortPaths() {
    QStringList paths;
    if (qgetenv("TORVEX_PORTS_ONLY") != "1") {
        const auto infos = QSerialPortInfo::availablePorts();
        for (const QSerialPortInfo& info : infos)
            paths << info.systemLocation();
        std::sort(paths.begin(), paths.end());
    }
    QStringList extra = ExtraPorts();
    extra += QString::fromLocal8Bit(qgetenv("TORVEX_PORTS")).split(u':', Qt::SkipEmptyParts);
    for (const QString& strGiven : extra) {
        const QString strPath = DevicePath(strGiven);
        if (!paths.contains(strPath)) paths << strPath;
    }
    if (paths.size() > kMaxPort) paths.resize(kMaxPort);
    return paths;
}

QString CRsBasicProtocol::PortPath(int n) {
    const QStringList paths = PortPaths();
    return (n >= 1 && n <= paths.size()) ? paths[n - 1] : QString();
}

int CRsBasicProtocol::EnumComPorts(uint8_t list[128]) {
    const QStringList paths = PortPaths();
    int nCount = 0;
    list[0] = 0;
    // Existence is enough: a port held by another program is still listed, and
    // probing by opening would toggle the lines of devices that are not ours.
    // Number 128 is never listed, so the list always ends with a 0.
    for (int n = 1; n < kMaxPort && n <= paths.size(); ++n) {
        if (!QFileInfo::exists(paths[n - 1])) continue;
        list[nCount++] = uint8_t(n);
        list[nCount] = 0;
    }
    list[127] = 0;
    return nCount;
}

bool CRsBasicProtocol::IsOpen() const {
    return m_serial.isOpen();
}

bool CRsBasicProtocol::OpenPort(int nPort) {
    if (nPort < 1 || nPort > kMaxPort) return false;
    if (m_serial.isOpen()) return false;
    const QString strPath = PortPath(nPort);
    m_eOpenError = OPEN_NO_DEVICE;
    if (strPath.isEmpty()) return false;
    m_serial.setPortName(strPath);
    m_serial.clearError();
    if (!m_serial.open(QIODevice::ReadWrite)) {
        m_eOpenError = OpenErrorOf(strPath, m_serial.error());
        m_serial.clearError();
        m_nPort = 0;
        return false;
    }
    m_eOpenError = OPEN_OK;
    m_nPort = nPort;
    m_strPortPath = strPath;
    m_nExchanges = m_nRetries = m_nFailures = 0;
    m_bLastExchangeOk = false;
    bool bOk = m_serial.setBaudRate(qint32(m_ulBaudRate)) && m_serial.setDataBits(QSerialPort::Data8) &&
               m_serial.setParity(QSerialPort::NoParity) && m_serial.setStopBits(QSerialPort::OneStop) &&
               m_serial.setFlowControl(QSerialPort::NoFlowControl);
    // A pseudo-terminal has no modem lines and refuses DTR/RTS; a real port must take them.
    const bool bLines = m_serial.setDataTerminalReady(true) && m_serial.setRequestToSend(true);
    if (!bLines && !IsPseudoTerminal(strPath)) bOk = false;
    m_serial.clearError();
    return bOk;
}

bool CRsBasicProtocol::ClosePort() {
    if (!m_serial.isOpen()) return false;
    // The last acknowledgement must have left the wire before the lines drop:
    // wait until the driver has sent every byte, as long as that takes and no
    // longer (a fixed pause cost every probe and every exit its length). A
    // pseudo-terminal has nothing in flight and returns at once.
    m_serial.flush();
    if (m_serial.handle() >= 0) ::tcdrain(m_serial.handle());
    m_serial.setRequestToSend(false);
    m_serial.setDataTerminalReady(false);
    m_serial.close();
    m_serial.clearError();
    m_nPort = 0;
    m_strPortPath.clear();
    m_bLastExchangeOk = false;
    return true;
}

int CRsBasicProtocol::BuildFrame(const QString& strText) {
    const QByteArray bytes = strText.toLatin1().left(kMaxTextBytes);
    int n = 0;
    m_abFrame[n++] = STX;
    for (char c : bytes)
        m_abFrame[n++] = uint8_t(c);
    m_abFrame[n++] = ETX;
    m_abFrame[n++] = frame::Bcc(bytes);
    m_abFrame[n] = 0;
    return n;
}

bool CRsBasicProtocol::ReadByte(uint8_t& b) {
    QDeadlineTimer deadline(kByteTimeoutMs);
    for (;;) {
        if (m_serial.bytesAvailable() > 0) {
            char c = 0;
            m_serial.getChar(&c);
            b = uint8_t(c);
            return true;
        }
        if (deadline.hasExpired() || !m_serial.isOpen()) break;
        m_serial.clearError();
        if (!m_serial.waitForReadyRead(int(std::max<qint64>(deadline.remainingTime(), 0)))) {
            // Anything but a time-out (a dropped line) will not get better by waiting.
            if (m_serial.error() != QSerialPort::TimeoutError && m_serial.error() != QSerialPort::NoError)
                break;
        }
    }
    m_serial.clearError();
    m_bError = 1;
    return false;
}

bool CRsBasicProtocol::WriteFrame(const uint8_t* pData, int nLength) {
    if (!m_serial.isOpen()) {
        m_bError = 1;
        return false;
    }
    m_serial.clearError();
    bool bOk = m_serial.write(reinterpret_cast<const char*>(pData), nLength) == nLength;
    QDeadlineTimer deadline(kWriteTimeoutMs);
    while (bOk && m_serial.bytesToWrite() > 0) {
        const qint64 nLeft = deadline.remainingTime();
        if (nLeft <= 0 || !m_serial.waitForBytesWritten(int(nLeft))) bOk = m_serial.bytesToWrite() == 0;
        if (nLeft <= 0) break;
    }
    if (!bOk || m_serial.bytesToWrite() > 0) {
        // Drop what did not go out, so it cannot reach the instrument later.
        m_serial.clear(QSerialPort::Output);
        m_serial.clearError();
        m_bError = 1;
        return false;
    }
    return true;
}

bool CRsBasicProtocol::WriteByte(uint8_t b) {
    return WriteFrame(&b, 1);
}

bool CRsBasicProtocol::FlushInput() {
    if (!m_serial.isOpen()) {
        m_bError = 1;
        return false;
    }
    // Pull in what the driver already holds, then drop it and the driver's queue.
    m_serial.clearError();
    m_serial.waitForReadyRead(0);
    m_serial.readAll();
    if (m_serial.clear(QSerialPort::Input)) {
        m_serial.clearError();
        return true;
    }
    QDeadlineTimer deadline(kByteTimeoutMs);
    while (!deadline.hasExpired()) {
        m_serial.clearError();
        if (!m_serial.waitForReadyRead(0)) {
            m_serial.clearError();
            return true;
        }
        m_serial.readAll();
    }
    m_serial.clearError();
    m_bError = 1;
    return false;
}

bool CRsBasicProtocol::SendFrameAttempt(const QString& strText) {
    if (!FlushInput()) return false;
    uint8_t b = 0;
    if (!m_bNoEnq && (!WriteByte(ENQ) || !ReadByte(b) || b != ACK)) return false;
    const int nLength = BuildFrame(strText);
    return WriteFrame(m_abFrame, nLength);
}

void CRsBasicProtocol::Count(bool bOk, int nAttempts) {
    ++m_nExchanges;
    if (nAttempts > 1) m_nRetries += nAttempts - 1;
    if (!bOk) ++m_nFailures;
    m_bLastExchangeOk = bOk;
}

bool CRsBasicProtocol::SendCommandAttempts(const QString& strText, int nRetry) {
    m_bError = 0;
    if (nRetry < 0) return false;
    int nAttempt = 0;
    for (; nAttempt <= nRetry; ++nAttempt) {
        if (!m_serial.isOpen()) break; // nothing to repeat on a closed port
        uint8_t b = 0;
        if (SendFrameAttempt(strText) && ReadByte(b) && b == ACK) {
            Count(true, nAttempt + 1);
            return true;
        }
    }
    Count(false, nAttempt);
    return false;
}

bool CRsBasicProtocol::SendCommand(const QString& strText) {
    return SendCommandAttempts(strText, m_nRetry);
}

bool CRsBasicProtocol::SendCommandOnce(const QString& strText) {
    return SendCommandAttempts(strText, m_nRetry < 0 ? -1 : 0);
}

bool CRsBasicProtocol::ReadReplyFrame() {
    uint8_t b = 0;
    if (!ReadByte(b) || b != STX) return false;
    QByteArray text;
    uint8_t bcc = 0;
    for (;;) {
        if (!ReadByte(b)) return false;
        if (b == ETX) break;
        if (text.size() == kMaxReplyBytes) return false;
        text.append(char(b));
        bcc ^= b;
    }
    bcc ^= ETX;
    if (!ReadByte(b) || b != bcc) return false;
    if (!WriteByte(ACK)) return false;
    m_strReply = QString::fromLatin1(text);
    return true;
}

bool CRsBasicProtocol::SendQuery(const QString& strText) {
    m_strReply.clear();
    m_bError = 0;
    if (m_nRetry < 0) return false;
    int nAttempt = 0;
    for (; nAttempt <= m_nRetry; ++nAttempt) {
        if (!m_serial.isOpen()) break;
        if (SendFrameAttempt(strText) && ReadReplyFrame()) {
            Count(true, nAttempt + 1);
            return true;
        }
    }
    Count(false, nAttempt);
    return false;
}

} // namespace torvex
