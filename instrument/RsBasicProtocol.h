#pragma once

#include <QSerialPort>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace torvex {

// Byte-level link to the instrument over one serial port: ENQ/ACK handshake,
// framed texts with a check byte, framed replies, and a fixed number of repeats.
// Every call blocks until its exchange ends; waits sleep on the port, never spin.
//
// Port numbers 1, 2, ... name the machine's serial devices (sorted by device
// path), then the extra paths given with SetExtraPorts and TORVEX_PORTS
// (':'-separated). TORVEX_PORTS_ONLY=1 keeps only the extra paths. An extra path
// that is a link (a stable /dev/serial/by-id/ name) stands for the device it
// leads to, so one device never gets two numbers and its lock file is the one
// every program uses.
class CRsBasicProtocol {
public:
    CRsBasicProtocol();
    virtual ~CRsBasicProtocol();
    CRsBasicProtocol(const CRsBasicProtocol&) = delete;
    CRsBasicProtocol& operator=(const CRsBasicProtocol&) = delete;

    // Opens port nPort (1..128) at 9600-8-N-1. A port already open is not closed first.
    bool OpenPort(int nPort);
    // False when no port was open.
    bool ClosePort();
    // True when the instrument acknowledged the frame. A frame that got no
    // acknowledgement is sent again (m_nRetry times): only for commands whose
    // repetition changes nothing.
    bool SendCommand(const QString& strText);
    // One attempt only, for a command that must not be repeated blindly.
    bool SendCommandOnce(const QString& strText);
    // True when a correct reply frame arrived; its text is then in m_strReply.
    bool SendQuery(const QString& strText);
    bool IsOpen() const;

    // Fills list with the numbers of the ports that exist (ascending, at most 127,
    // a 0 after the last) and returns their count.
    static int EnumComPorts(uint8_t list[128]);
    // The device paths given on the command line (--port), numbered after the
    // machine's own devices and before TORVEX_PORTS.
    static void SetExtraPorts(const QStringList& paths);
    // Device path of port number n; empty when no device has that number.
    static QString PortPath(int n);
    // The device paths of port numbers 1, 2, ... in order.
    static QStringList PortPaths();

    int32_t m_nPort = 0;
    uint32_t m_ulBaudRate = 9600;
    int32_t m_nByteSize = 8;
    int32_t m_nParity = 0;
    int32_t m_nStopBits = 0;
    QString m_strReply;
    uint8_t m_abFrame[256] = {};
    int32_t m_bError = 0;
    int32_t m_bNoEnq = 0;
    int32_t m_nRetry = 0;

    // Why the last OpenPort failed.
    enum OpenError { OPEN_OK, OPEN_NO_DEVICE, OPEN_PERMISSION, OPEN_BUSY, OPEN_OTHER };
    OpenError m_eOpenError = OPEN_OK;
    QString m_strPortPath; // device of the open port

    // The link's health since the port was opened.
    int64_t m_nExchanges = 0;
    int64_t m_nRetries = 0;
    int64_t m_nFailures = 0;
    bool m_bLastExchangeOk = false;

private:
    bool ReadByte(uint8_t& b);
    bool WriteByte(uint8_t b);
    bool WriteFrame(const uint8_t* pData, int nLength);
    bool FlushInput();
    int BuildFrame(const QString& strText);
    bool SendFrameAttempt(const QString& strText);
    bool ReadReplyFrame();
    bool SendCommandAttempts(const QString& strText, int nRetry);
    void Count(bool bOk, int nAttempts);

    QSerialPort m_serial;
};

} // namespace torvex
