#include "files/TaggedArchive.h"

#include <QIODevice>
#include <QStringDecoder>
#include <QtEndian>
#include <cstring>

namespace torvex {

namespace {
const qsizetype kChunk = 256 * 1024;
}

// ---- writer -------------------------------------------------------------

CArchiveWriter::CArchiveWriter(QIODevice* pDevice) : m_pDevice(pDevice) {
    m_buffer.reserve(kChunk + 4096);
}

CArchiveWriter::~CArchiveWriter() = default;

void CArchiveWriter::Append(const char* p, qsizetype n) {
    m_buffer.append(p, n);
    if (m_pDevice && m_buffer.size() >= kChunk) Flush();
}

bool CArchiveWriter::Flush() {
    if (m_pDevice && !m_buffer.isEmpty()) {
        // A short write is retried; one that writes nothing (disk full, file
        // size limit) fails the whole archive.
        qsizetype nDone = 0;
        while (!m_bFailed && nDone < m_buffer.size()) {
            const qint64 n = m_pDevice->write(m_buffer.constData() + nDone, m_buffer.size() - nDone);
            if (n <= 0)
                m_bFailed = true;
            else
                nDone += qsizetype(n);
        }
        m_buffer.clear();
    }
    return !m_bFailed;
}

void CArchiveWriter::WriteString(const QString& str) {
    const qsizetype n = str.size();
    char head[16];
    int nHead = 0;
    // The wide-string mark, then the length in the smallest form that holds it.
    head[nHead++] = char(0xFF);
    head[nHead++] = char(0xFE);
    head[nHead++] = char(0xFF);
    if (n < 0xFF) {
        head[nHead++] = char(n);
    } else if (n < 0xFFFE) {
        head[nHead++] = char(0xFF);
        qToLittleEndian<uint16_t>(uint16_t(n), head + nHead);
        nHead += 2;
    } else {
        head[nHead++] = char(0xFF);
        head[nHead++] = char(0xFF);
        head[nHead++] = char(0xFF);
        qToLittleEndian<uint32_t>(uint32_t(n), head + nHead);
        nHead += 4;
    }
    Append(head, nHead);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    Append(reinterpret_cast<const char*>(str.utf16()), n * 2);
#else
    for (QChar c : str) {
        char b[2];
        qToLittleEndian<uint16_t>(c.unicode(), b);
        Append(b, 2);
    }
#endif
}

void CArchiveWriter::WriteValue(int32_t l) {
    char b[4];
    qToLittleEndian<int32_t>(l, b);
    Append(b, 4);
}

// ---- reader -------------------------------------------------------------

namespace {

bool IsShiftJisLead(uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsShiftJisTrail(uint8_t b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

} // namespace

QString DecodeShiftJis(QByteArrayView bytes) {
    const qsizetype n = bytes.size();
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    qsizetype i = 0;
    while (i < n && p[i] < 0x80)
        ++i;
    if (i == n) return QString::fromLatin1(bytes); // tags and markers

    // Qt's converter (ICU) marks a lone bad byte with U+001A, a control
    // character that reads as nothing; and its table swaps the control bytes
    // 0x1A, 0x1C and 0x7F. So the structure is walked here: ASCII and half-width
    // katakana are read directly, only well-formed double-byte characters go to
    // the converter, and every byte that is no character becomes U+FFFD.
    QStringDecoder dec("Shift_JIS", QStringConverter::Flag::Stateless);
    QString out;
    out.reserve(n);
    out += QLatin1String(bytes.data(), i);
    while (i < n) {
        const uint8_t b = p[i];
        if (b < 0x80) {
            out += QChar(b);
            ++i;
        } else if (b >= 0xA1 && b <= 0xDF) {
            out += QChar(char16_t(0xFF61 + (b - 0xA1)));
            ++i;
        } else if (IsShiftJisLead(b) && i + 1 < n && IsShiftJisTrail(p[i + 1])) {
            // A run of double-byte characters in one call; each gives one
            // UTF-16 unit (unassigned ones U+FFFD).
            const qsizetype nStart = i;
            while (i + 1 < n && IsShiftJisLead(p[i]) && IsShiftJisTrail(p[i + 1]))
                i += 2;
            const qsizetype nChars = (i - nStart) / 2;
            const QString run = dec.isValid() ? dec.decode(bytes.sliced(nStart, i - nStart)) : QString();
            if (run.size() == nChars)
                out += run;
            else
                out += QString(nChars, QChar::ReplacementCharacter);
        } else {
            // 0x80, 0xA0, 0xFD to 0xFF, or a lead byte without its trail byte.
            out += QChar::ReplacementCharacter;
            ++i;
        }
    }
    return out;
}

bool CArchiveReader::ReadStringHead(qint64& nBytes, bool& bWide) {
    // The writer's own form first: the wide mark and a one-byte length.
    if (!m_bFailed && Remaining() >= 4) {
        const uint8_t* p = reinterpret_cast<const uint8_t*>(m_p + m_nPos);
        if (p[0] == 0xFF && p[1] == 0xFE && p[2] == 0xFF && p[3] < 0xFF &&
            qint64(p[3]) * 2 <= Remaining() - 4) {
            m_nPos += 4;
            bWide = true;
            nBytes = qint64(p[3]) * 2;
            return true;
        }
    }
    bWide = false;
    for (;;) {
        uint8_t b = 0;
        if (!Take(&b, 1)) return false;
        quint64 len = b;
        if (b == 0xFF) {
            uint16_t w = 0;
            if (!Take(&w, 2)) return false;
            w = qFromLittleEndian(w);
            if (w == 0xFFFE) {
                // The wide mark: the length follows.
                if (bWide) {
                    Fail(); // a second mark is not an item the writer makes
                    return false;
                }
                bWide = true;
                continue;
            }
            len = w;
            if (w == 0xFFFF) {
                uint32_t d = 0;
                if (!Take(&d, 4)) return false;
                len = qFromLittleEndian(d);
                if (d == 0xFFFFFFFFu) {
                    quint64 q = 0;
                    if (!Take(&q, 8)) return false;
                    len = qFromLittleEndian(q);
                }
            }
        }
        // A length the rest of the bytes cannot hold is a malformed item, not an
        // allocation.
        const quint64 nRemaining = quint64(Remaining());
        if (len > nRemaining || (bWide && len * 2 > nRemaining)) {
            Fail();
            return false;
        }
        nBytes = qint64(bWide ? len * 2 : len);
        return true;
    }
}

QString CArchiveReader::ReadString() {
    qint64 nBytes = 0;
    bool bWide = false;
    if (!ReadStringHead(nBytes, bWide)) return QString();
    const char* p = m_p + m_nPos;
    m_nPos += nBytes;
    if (bWide) {
        QString s(qsizetype(nBytes / 2), Qt::Uninitialized);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        std::memcpy(s.data(), p, size_t(nBytes));
#else
        for (qsizetype i = 0; i < s.size(); ++i)
            s[i] = QChar(qFromLittleEndian<uint16_t>(p + 2 * i));
#endif
        return s;
    }
    return DecodeShiftJis(QByteArrayView(p, qsizetype(nBytes)));
}

bool CArchiveReader::ReadStringIn(std::initializer_list<const char*> candidates) {
    qint64 nBytes = 0;
    bool bWide = false;
    if (!ReadStringHead(nBytes, bWide)) return false;
    const char* p = m_p + m_nPos;
    m_nPos += nBytes;
    const qint64 nChars = bWide ? nBytes / 2 : nBytes;
    for (const char* candidate : candidates) {
        const qint64 n = qint64(std::strlen(candidate));
        if (n != nChars) continue;
        qint64 i = 0;
        // ASCII reads the same in the narrow form (Shift_JIS) and the wide one.
        for (; i < n; ++i) {
            const uint16_t c = bWide ? qFromLittleEndian<uint16_t>(p + 2 * i) : uint8_t(p[i]);
            if (c != uint8_t(candidate[i])) break;
        }
        if (i == n) return true;
    }
    return false;
}

void CArchiveReader::SkipOtherString() {
    qint64 nBytes = 0;
    bool bWide = false;
    if (ReadStringHead(nBytes, bWide)) m_nPos += nBytes;
}

// ---- blocks -------------------------------------------------------------

namespace {

const QString kSettingVersionWritten = QStringLiteral("Setting Data Ver.1.0.0.0");
const QString kExecVersionWritten = QStringLiteral("Exec Data Ver.1.0.0.0");

bool IsAcceptedSettingVersion(const QString& s) {
    static const QString accepted[] = {
        QStringLiteral("Setting Data Ver.1.0.0.0"), QStringLiteral("Setting Data Ver.1.0.1.0"),
        QStringLiteral("Setting Data Ver.1.0.2.0"), QStringLiteral("Setting Data Ver.1.0.3.0"),
        QStringLiteral("Setting Data Ver.1.0.4.0"), QStringLiteral("Setting Data Ver.1.0.5.0"),
    };
    for (const QString& a : accepted)
        if (s == a) return true;
    return false;
}

QString Indexed(const char* fmt, int i) {
    return QString::asprintf(fmt, i);
}

void WriteValueStruct(const VALUE_STRUCT& vs, const char* fixedTag, CArchiveWriter& ar) {
    ar.WriteTagged(QStringLiteral("[m_nValueType]"), vs.m_nValueType);
    ar.WriteTagged(QString::fromLatin1(fixedTag), vs.m_lValue);
    ar.WriteTagged(QStringLiteral("[m_lStart]"), vs.m_lStart);
    ar.WriteTagged(QStringLiteral("[m_lEnd]"), vs.m_lEnd);
    ar.WriteTagged(QStringLiteral("[m_lStep]"), vs.m_lStep);
    for (int i = 0; i < 5; ++i) {
        ar.WriteTagged(Indexed("[m_abUse[%d]]", i), vs.m_abUse[i]);
        ar.WriteTagged(Indexed("[m_alValue[%d]]", i), vs.m_alValue[i]);
    }
}

void ReadValueStruct(VALUE_STRUCT& vs, CArchiveReader& ar) {
    vs.m_nValueType = ar.ReadTagged();
    vs.m_lValue = ar.ReadTagged();
    vs.m_lStart = ar.ReadTagged();
    vs.m_lEnd = ar.ReadTagged();
    vs.m_lStep = ar.ReadTagged();
    for (int i = 0; i < 5; ++i) {
        vs.m_abUse[i] = ar.ReadTagged();
        vs.m_alValue[i] = ar.ReadTagged();
    }
}

} // namespace

void WriteConditionBlock(const CSettingData& c, CArchiveWriter& ar) {
    ar.WriteString(QStringLiteral("### START SETTING DATA ###"));
    ar.WriteString(kSettingVersionWritten);
    ar.WriteTagged(QStringLiteral("[m_ulMachineType]"), c.m_ulMachineType);
    ar.WriteTagged(QStringLiteral("[m_nHWVersion]"), c.m_nHWVersion);
    ar.WriteTagged(QStringLiteral("[m_ulPola]"), c.m_ulPola);
    ar.WriteString(QStringLiteral("@ START VOLT VALUE STRUCTURE @"));
    WriteValueStruct(c.m_valVolt, "[m_lValue1]", ar);
    ar.WriteString(QStringLiteral("@ END VOLT VALUE STRUCTURE @"));
    ar.WriteString(QStringLiteral("@ START FREQ VALUE STRUCTURE @"));
    WriteValueStruct(c.m_valFreq, "[m_lValue2]", ar);
    ar.WriteString(QStringLiteral("@ END FREQ VALUE STRUCTURE @"));
    ar.WriteTagged(QStringLiteral("[m_lBurstPeriod]"), c.m_lBurstPeriod);
    ar.WriteTagged(QStringLiteral("[m_lPalseCount]"), c.m_lPalseCount);
    ar.WriteTagged(QStringLiteral("[m_lBurstDura]"), c.m_lBurstDura);
    ar.WriteString(QStringLiteral("@ START OUTPUT STRUCTURE @"));
    ar.WriteTagged(QStringLiteral("[m_outOutput.m_nOutputPort]"), c.m_outOutput.m_nOutputPort);
    ar.WriteString(QStringLiteral("@@ START OUTPUT_PORT STRUCTURE @@"));
    for (int k = 0; k < 3; ++k) {
        const OUTPUT_PORT_STRUCT& port = c.m_outOutput.m_aopOutputPort[k];
        ar.WriteString(QString::asprintf("@@ OUTPUT_PORT STRUCTURE ARRAY[%d / %d] @@", k, 2));
        ar.WriteTagged(Indexed("[m_outOutput.m_aopOutputPort[%d]]", k), port.m_nOutputDetail);
        for (int j = 0; j < 3; ++j) {
            ar.WriteTagged(Indexed("[m_aulInjBitFix[%d]]", j), port.m_aulInjBitFix[j]);
            ar.WriteTagged(Indexed("[m_aulInjBitSweep[%d]]", j), port.m_aulInjBitSweep[j]);
        }
        ar.WriteTagged(QStringLiteral("[m_uCouplingType]"), port.m_uCouplingType);
        ar.WriteTagged(QStringLiteral("[m_uSweepType]"), port.m_uSweepType);
        ar.WriteTagged(QStringLiteral("[m_nSync]"), port.m_nSync);
        ar.WriteString(QStringLiteral("@@@ START ANGLE VALUE STRUCTURE @@@"));
        WriteValueStruct(port.m_valAngle, "[m_lValue3]", ar);
        ar.WriteString(QStringLiteral("@@@ END ANGLE VALUE STRUCTURE @@@"));
    }
    ar.WriteString(QStringLiteral("@@ END OUTPUT_PORT STRUCTURE @@"));
    ar.WriteString(QStringLiteral("@ END OUTPUT STRUCTURE @"));
    ar.WriteTagged(QStringLiteral("[m_lTestTime]"), c.m_lTestTime);
    ar.WriteTagged(QStringLiteral("[m_bAlternative]"), c.m_bAlternative);
    ar.WriteTagged(QStringLiteral("[m_bContinuous]"), c.m_bContinuous);
    ar.WriteTagged(QStringLiteral("[m_bModulated]"), c.m_bModulated);
    ar.WriteTagged(QStringLiteral("[m_bTrigger]"), c.m_bTrigger);
    ar.WriteString(QStringLiteral("### END SETTING DATA ###"));
}

int32_t ReadConditionBlock(CSettingData& c, CArchiveReader& ar, uint32_t ulCurrentModel) {
    ar.SkipString();
    const QString version = ar.ReadString();
    if (ar.Failed()) return READ_MALFORMED;
    if (!IsAcceptedSettingVersion(version)) return READ_NEWER_VERSION;
    // Every accepted version has the same layout.
    c.m_ulMachineType = ar.ReadUTagged();
    c.m_nHWVersion = ar.ReadTagged();
    c.m_ulPola = ar.ReadUTagged();
    ar.SkipString();
    ReadValueStruct(c.m_valVolt, ar);
    ar.SkipString();
    ar.SkipString();
    ReadValueStruct(c.m_valFreq, ar);
    ar.SkipString();
    c.m_lBurstPeriod = ar.ReadTagged();
    c.m_lPalseCount = ar.ReadTagged();
    c.m_lBurstDura = ar.ReadTagged();
    ar.SkipString();
    c.m_outOutput.m_nOutputPort = ar.ReadTagged();
    ar.SkipString();
    for (OUTPUT_PORT_STRUCT& port : c.m_outOutput.m_aopOutputPort) {
        ar.SkipString();
        port.m_nOutputDetail = ar.ReadTagged();
        for (int j = 0; j < 3; ++j) {
            port.m_aulInjBitFix[j] = ar.ReadUTagged();
            port.m_aulInjBitSweep[j] = ar.ReadUTagged();
        }
        port.m_uCouplingType = ar.ReadUTagged();
        port.m_uSweepType = ar.ReadUTagged();
        port.m_nSync = ar.ReadTagged();
        ar.SkipString();
        ReadValueStruct(port.m_valAngle, ar);
        ar.SkipString();
    }
    ar.SkipString();
    ar.SkipString();
    c.m_lTestTime = ar.ReadTagged();
    c.m_bAlternative = ar.ReadTagged();
    c.m_bContinuous = ar.ReadTagged();
    c.m_bModulated = ar.ReadTagged();
    c.m_bTrigger = ar.ReadTagged();
    ar.SkipString();
    if (ar.Failed()) return READ_MALFORMED;
    return c.m_ulMachineType != ulCurrentModel ? READ_OTHER_MODEL : READ_OK;
}

void WriteStepBlock(const CExecData& s, CArchiveWriter& ar) {
    ar.WriteString(kExecVersionWritten);
    ar.WriteTagged(QStringLiteral("[m_nPola]"), s.m_nPola);
    ar.WriteTagged(QStringLiteral("[m_lVolt]"), s.m_lVolt);
    ar.WriteTagged(QStringLiteral("[m_lFreq]"), s.m_lFreq);
    ar.WriteTagged(QStringLiteral("[m_lBurstPeriod]"), s.m_lBurstPeriod);
    ar.WriteTagged(QStringLiteral("[m_lPulseCount]"), s.m_lPulseCount);
    ar.WriteTagged(QStringLiteral("[m_lBurstDura]"), s.m_lBurstDura);
    ar.WriteTagged(QStringLiteral("[m_lTestTime]"), s.m_lTestTime);
    ar.WriteTagged(QStringLiteral("[m_nOutputPort]"), s.m_nOutputPort);
    ar.WriteTagged(QStringLiteral("[m_nOutputDetail]"), s.m_nOutputDetail);
    ar.WriteTagged(QStringLiteral("[m_ulInjLine]"), s.m_ulInjLine);
    ar.WriteTagged(QStringLiteral("[m_nSync]"), s.m_nSync);
    ar.WriteTagged(QStringLiteral("[m_lAngle]"), s.m_lAngle);
    ar.WriteTagged(QStringLiteral("[m_bAlternative]"), s.m_bAlternative);
    ar.WriteTagged(QStringLiteral("[m_bContinuous]"), s.m_bContinuous);
    ar.WriteTagged(QStringLiteral("[m_bModulated]"), s.m_bModulated);
    ar.WriteTagged(QStringLiteral("[m_bTrigger]"), s.m_bTrigger);
}

int32_t ReadStepBlock(CExecData& s, CArchiveReader& ar) {
    const bool bAccepted = ar.ReadStringIn({"Exec Data Ver.1.0.0.0", "Exec Data Ver.1.0.1.0"});
    if (ar.Failed()) return READ_MALFORMED;
    if (!bAccepted) return READ_NEWER_VERSION;
    s.m_nPola = ar.ReadTagged();
    s.m_lVolt = ar.ReadTagged();
    s.m_lFreq = ar.ReadTagged();
    s.m_lBurstPeriod = ar.ReadTagged();
    s.m_lPulseCount = ar.ReadTagged();
    s.m_lBurstDura = ar.ReadTagged();
    s.m_lTestTime = ar.ReadTagged();
    s.m_nOutputPort = ar.ReadTagged();
    s.m_nOutputDetail = ar.ReadTagged();
    s.m_ulInjLine = ar.ReadUTagged();
    s.m_nSync = ar.ReadTagged();
    s.m_lAngle = ar.ReadTagged();
    s.m_bAlternative = ar.ReadTagged();
    s.m_bContinuous = ar.ReadTagged();
    s.m_bModulated = ar.ReadTagged();
    s.m_bTrigger = ar.ReadTagged();
    return ar.Failed() ? READ_MALFORMED : READ_OK;
}

void WriteStepListBlock(const std::vector<CExecData>& steps, CArchiveWriter& ar) {
    const int n = int(steps.size());
    ar.WriteString(QStringLiteral("### START EXEC DATA ###"));
    ar.WriteTagged(QStringLiteral("ExecDataCount"), int32_t(n));
    for (int i = 0; i < n; ++i) {
        ar.WriteString(QString::asprintf("@ EXEC DATA STRUCTURE ARRAY[%d / %d] @", i, n - 1));
        WriteStepBlock(steps[size_t(i)], ar);
    }
    ar.WriteString(QStringLiteral("### END EXEC DATA ###"));
}

namespace {

// The step list block, its steps appended to *pSteps, or kept nowhere when
// pSteps is null (the block is only checked).
int32_t ReadSteps(std::vector<CExecData>* pSteps, CArchiveReader& ar, uint32_t ulModel) {
    ar.SkipString();
    const int32_t m = ar.ReadTagged();
    if (ar.Failed()) return READ_MALFORMED;
    // A count the rest of the bytes cannot hold fails at the first missing step;
    // room is only made for what can be there.
    if (m > 0 && pSteps)
        pSteps->reserve(pSteps->size() + size_t(std::min<qint64>(m, ar.Remaining() / kMinStepItemBytes)));
    CExecData step;
    for (int32_t i = 0; i < m; ++i) {
        ar.SkipString();
        step = CExecData();
        step.m_ulMachineType = ulModel;
        const int32_t r = ReadStepBlock(step, ar);
        if (r != READ_OK) return r;
        if (pSteps) pSteps->push_back(step);
    }
    ar.SkipString();
    return ar.Failed() ? READ_MALFORMED : READ_OK;
}

} // namespace

int32_t ReadStepListBlock(std::vector<CExecData>& steps, CArchiveReader& ar, uint32_t ulModel) {
    return ReadSteps(&steps, ar, ulModel);
}

int32_t CheckStepListBlock(CArchiveReader& ar) {
    return ReadSteps(nullptr, ar, 0);
}

} // namespace torvex
