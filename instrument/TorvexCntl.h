#pragma once

#include "instrument/RsBasicProtocol.h"
#include "model/ExecData.h"

#include <QList>
#include <QString>
#include <cstdint>

namespace torvex {

// Status bits of the instrument ("QB").
enum : uint8_t {
    STATUS_RUNNING = 0x02,
    STATUS_COMPLETE = 0x04,
    STATUS_LINE_ON = 0x10,
    STATUS_ERROR = 0x20,
    STATUS_DISCHARGING = 0x40,
    STATUS_PAUSED = 0x80
};

// The operations of the instrument, as short ASCII commands and queries over the
// serial transport. Every operation returns whether its exchange succeeded and
// never shows anything; callers decide what the operator sees.
class CTorvexCntl {
public:
    // Construction searches the ports for the instrument unless told not to.
    explicit CTorvexCntl(bool bConnectNow = true);
    virtual ~CTorvexCntl();
    CTorvexCntl(const CTorvexCntl&) = delete;
    CTorvexCntl& operator=(const CTorvexCntl&) = delete;

    // Probes every listed port with "QA" (single attempts) and keeps the first,
    // lowest-numbered port whose reply holds the identity; then 5 repeats apply.
    bool Connect();
    // Ports the last Connect could not open, with the reason (for the operator:
    // a port we may not open or one another program holds is not "not found").
    struct PortProblem {
        QString strPath;
        CRsBasicProtocol::OpenError eError;
    };
    QList<PortProblem> m_portProblems;
    // What the desktop program tells the operator about them; empty when there
    // were none (the command line asks the port-access judge instead).
    static QString PortProblemText(const QList<PortProblem>& problems);
    bool GetModelType(int32_t& nType);
    static bool GetModelName(int32_t nType, QString& strName);
    // Checks the identity with "QA", then loads the step's parameters.
    bool SendStep(const CExecData& step);
    // "CA" starts the loaded step when idle and pauses or resumes a running
    // one, so it is never repeated blindly: after an attempt without an
    // acknowledgement the status tells whether it took effect. ucBefore is
    // the status it acts on (0 for a start from idle).
    bool StartOutput(uint8_t ucBefore = 0);
    bool StopOutput();
    bool SetLine(bool bOn);
    bool ClearError();
    bool GetStatus(uint8_t& ucStatus);
    bool GetErrorMessage(QString& strMessage);
    bool GetErrorCode(int32_t& nCode);
    // Remaining time of the running step, in seconds.
    bool GetTestTime(int32_t& nSeconds);
    static QString ErrorMessage(int32_t nCode);
    bool IsOpen() const { return m_protocol.IsOpen(); }

    static const QString& Identity();

    CRsBasicProtocol m_protocol;
    int32_t m_bConnect = 0;
    int32_t m_nHWVersion = 0;
    // The model the instrument last told ("QT"); 0 when not known.
    int32_t m_nModelType = 0;

private:
    bool QueryValue(const char* pszQuery, QByteArray& value);
};

} // namespace torvex
