#include "instrument/TorvexCntl.h"

#include "model/SettingData.h"

#include <QCoreApplication>
#include <limits>

namespace torvex {

namespace {

constexpr int kConnectedRetry = 5;

// The decimal number at the start of text (sign allowed, as C's atol reads it);
// reports through bOk whether it fits 32 bits. No digits give 0.
int64_t LeadingNumber(const QByteArray& text, bool* pbFits = nullptr) {
    int i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool bNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) bNegative = text[i++] == '-';
    int64_t lValue = 0;
    bool bFits = true;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        lValue = lValue * 10 + (text[i] - '0');
        if (lValue > std::numeric_limits<int32_t>::max()) {
            bFits = false;
            lValue = int64_t(std::numeric_limits<int32_t>::max()) + 1;
        }
    }
    if (pbFits) *pbFits = bFits;
    return bNegative ? -lValue : lValue;
}

} // namespace

CTorvexCntl::CTorvexCntl(bool bConnectNow) {
    if (bConnectNow) Connect();
}

CTorvexCntl::~CTorvexCntl() {
    m_protocol.ClosePort();
}

const QString& CTorvexCntl::Identity() {
    static const QString strIdentity = QStringLiteral("KELVORA, TORVEX");
    return strIdentity;
}

bool CTorvexCntl::Connect() {
    m_protocol.ClosePort();
    uint8_t aPorts[128];
    const int nCount = CRsBasicProtocol::EnumComPorts(aPorts);
    m_protocol.m_nRetry = 0;
    m_portProblems.clear();
    for (int i = 0; i < nCount; ++i) {
        if (!m_protocol.OpenPort(aPorts[i]) && !m_protocol.IsOpen()) {
            const CRsBasicProtocol::OpenError e = m_protocol.m_eOpenError;
            if (e == CRsBasicProtocol::OPEN_PERMISSION || e == CRsBasicProtocol::OPEN_BUSY)
                m_portProblems.append({CRsBasicProtocol::PortPath(aPorts[i]), e});
            continue;
        }
        if (m_protocol.SendQuery(QStringLiteral("QA")) && m_protocol.m_strReply.contains(Identity())) {
            m_bConnect = 1;
            m_protocol.m_nRetry = kConnectedRetry;
            return true;
        }
        m_protocol.ClosePort();
    }
    return false;
}

QString CTorvexCntl::PortProblemText(const QList<PortProblem>& problems) {
    QStringList lines;
    for (const PortProblem& p : problems)
        lines << (p.eError == CRsBasicProtocol::OPEN_PERMISSION
                      ? QCoreApplication::translate(
                            "TorvexCntl", "%1 を開く権限がありません。ユーザーを dialout グループに加え"
                                          "（sudo usermod -aG dialout $USER）、ログインし直してください。")
                      : QCoreApplication::translate(
                            "TorvexCntl", "%1 は他のプログラムが使用中です。そのプログラムを終了してから"
                                          "接続し直してください。"))
                     .arg(p.strPath);
    return lines.join('\n');
}

bool CTorvexCntl::QueryValue(const char* pszQuery, QByteArray& value) {
    value.clear();
    if (!m_protocol.SendQuery(QString::fromLatin1(pszQuery))) return false;
    value = m_protocol.m_strReply.toLatin1().mid(2);
    return true;
}

bool CTorvexCntl::GetModelType(int32_t& nType) {
    nType = MODEL_UNKNOWN;
    if (!m_protocol.SendQuery(QStringLiteral("QT"))) return false;
    if (m_protocol.m_strReply == QLatin1String("AT0"))
        nType = MODEL_K2;
    else if (m_protocol.m_strReply == QLatin1String("AT1"))
        nType = MODEL_K1;
    m_nModelType = nType;
    return true;
}

bool CTorvexCntl::GetModelName(int32_t nType, QString& strName) {
    switch (nType) {
    case MODEL_K2:
        strName = QStringLiteral("TORVEX-K2");
        return true;
    case MODEL_K1:
        strName = QStringLiteral("TORVEX-K1");
        return true;
    default:
        strName = QStringLiteral("TORVEX ???");
        return false;
    }
}

bool CTorvexCntl::SendStep(const CExecData& step) {
    if (!m_protocol.SendQuery(QStringLiteral("QA")) || !m_protocol.m_strReply.contains(Identity()))
        return false;

    const int32_t t = step.m_lTestTime;
    const char cLines = char(0x20 | (step.m_ulInjLine & 0xFF));
    const char cSpecial = char(0x30 + 8 * (step.m_bTrigger ? 1 : 0) + 4 * (step.m_bModulated ? 1 : 0) +
                               2 * (step.m_bContinuous ? 1 : 0) + (step.m_bAlternative ? 1 : 0));

    QStringList commands;
    commands << QString::asprintf("PC%d", step.m_nPola) << QString::asprintf("PD%ld", long(step.m_lVolt))
             << QString::asprintf("PE%ld", long(step.m_lFreq / 10))
             << QString::asprintf("PF%ld/%ld/%ld", long(t / 3600), long((t % 3600) / 60), long(t % 60))
             << QString::asprintf("PG%ld", long(step.m_lBurstPeriod))
             << QString::asprintf("PH%ld", long(step.m_lPulseCount));
    // The route and lines go out as "PI0" + line character + detail; a route other
    // than the CDN names itself in a second PI command.
    commands << QString::asprintf("PI%c%c%ld", '0', cLines, long(step.m_nOutputDetail));
    if (step.m_nOutputPort != PORT_CDN) commands << QString::asprintf("PI%d", step.m_nOutputPort);
    commands << QString::asprintf("PJ%d", step.m_nSync);
    if (step.m_nSync == 1) commands << QString::asprintf("PK%ld", long(step.m_lAngle));
    commands << QString::asprintf("PO%c", cSpecial);

    for (const QString& strCommand : commands)
        if (!m_protocol.SendCommand(strCommand)) return false;
    return true;
}

bool CTorvexCntl::StartOutput(uint8_t ucBefore) {
    // The bits a "CA" changes, directly or by starting an output that may
    // already have ended again.
    constexpr uint8_t kMask =
        STATUS_RUNNING | STATUS_PAUSED | STATUS_COMPLETE | STATUS_ERROR | STATUS_DISCHARGING;
    const int32_t nRetry = m_protocol.m_nRetry;
    for (int32_t nAttempt = 0; nAttempt <= nRetry; ++nAttempt) {
        if (m_protocol.SendCommandOnce(QStringLiteral("CA"))) return true;
        if (!m_protocol.IsOpen()) return false;
        uint8_t s = 0;
        if (!GetStatus(s)) return false;
        // Only the acknowledgement was lost: sending it again would undo it.
        if ((s & kMask) != (ucBefore & kMask)) return true;
    }
    return false;
}

bool CTorvexCntl::StopOutput() {
    return m_protocol.SendCommand(QStringLiteral("CB"));
}

bool CTorvexCntl::SetLine(bool bOn) {
    return m_protocol.SendCommand(bOn ? QStringLiteral("CC") : QStringLiteral("CD"));
}

bool CTorvexCntl::ClearError() {
    return m_protocol.SendCommand(QStringLiteral("PN"));
}

bool CTorvexCntl::GetStatus(uint8_t& ucStatus) {
    ucStatus = 0;
    QByteArray value;
    // The status needs two characters; a shorter value is a failed read.
    if (!QueryValue("QB", value) || value.size() < 2) return false;
    ucStatus = uint8_t(((uint8_t(value[1]) & 0x0F) << 4) | (uint8_t(value[0]) & 0x0F));
    return true;
}

bool CTorvexCntl::GetErrorCode(int32_t& nCode) {
    QByteArray value;
    const bool bOk = QueryValue("QM", value);
    bool bFits = true;
    const int64_t lCode = LeadingNumber(value, &bFits);
    // A code beyond 32 bits is none of the table's: keep it unknown, not wrapped.
    nCode = bFits ? int32_t(lCode) : -1;
    return bOk;
}

bool CTorvexCntl::GetErrorMessage(QString& strMessage) {
    int32_t nCode = 0;
    const bool bOk = GetErrorCode(nCode);
    strMessage = ErrorMessage(nCode);
    return bOk;
}

bool CTorvexCntl::GetTestTime(int32_t& nSeconds) {
    nSeconds = 0;
    QByteArray value;
    if (!QueryValue("QF", value)) return false;
    const int nFirst = value.indexOf('/');
    if (nFirst < 0) return false;
    const int nSecond = value.indexOf('/', nFirst + 1);
    if (nSecond < 0) return false;
    bool bFits[3] = {true, true, true};
    const int64_t lTotal = LeadingNumber(value.left(nFirst), &bFits[0]) * 3600 +
                           LeadingNumber(value.mid(nFirst + 1), &bFits[1]) * 60 +
                           LeadingNumber(value.mid(nSecond + 1), &bFits[2]);
    // A value that does not fit the result is no time at all, not a wrapped one.
    if (!bFits[0] || !bFits[1] || !bFits[2] || lTotal < std::numeric_limits<int32_t>::min() ||
        lTotal > std::numeric_limits<int32_t>::max())
        return false;
    nSeconds = int32_t(lTotal);
    return true;
}

QString CTorvexCntl::ErrorMessage(int32_t nCode) {
    switch (nCode) {
    case 0:
        return QString();
    case 1:
    case 9:
        return QCoreApplication::translate(
            "TorvexCntl",
            "非常停止しました\n安全を確認してください\n\n安全を確認したら非常停止ボタンを解除し、"
            "本体の電源を入れなおしてください");
    case 2:
        return QCoreApplication::translate(
            "TorvexCntl", "システムエラー\n修理が必要です\n\n弊社営業所、修理校正センター、またはご購"
                          "入元へお問合せください");
    case 4:
        return QCoreApplication::translate("TorvexCntl", "ライン同期エラー\n試験を開始できません");
    case 5:
        return QCoreApplication::translate("TorvexCntl", "ライン同期エラー\n試験を停止しました");
    case 6:
        return QCoreApplication::translate("TorvexCntl", "EUT FAIL入力を検出しました");
    case 7:
        return QCoreApplication::translate(
            "TorvexCntl", "パルス出力エラー\n\n修理が必要な状態です。弊社営業所、修理校正センター、"
                          "またはご購入元へお問合せください");
    case 8:
        return QCoreApplication::translate(
            "TorvexCntl", "FANエラーを検出しました\n原因となる要因を排除してください\n\n異物により動作が"
                          "妨げられている場合、異物を取り除いてください");
    default:
        return QStringLiteral("Unknown Error");
    }
}

} // namespace torvex
