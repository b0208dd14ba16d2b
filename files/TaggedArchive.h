#pragma once

#include "model/SettingData.h"

#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

class QIODevice;

namespace torvex {

// The tagged record encoding: string items (a length, then the text) and 32-bit
// little-endian value items, back to back. Strings are written in the wide form;
// the narrow form of old files is read too.

// Writes items into a byte buffer, or through it into a device in large chunks.
class CArchiveWriter {
public:
    CArchiveWriter() = default;                  // into Buffer()
    explicit CArchiveWriter(QIODevice* pDevice); // through a buffer into the device
    ~CArchiveWriter();
    CArchiveWriter(const CArchiveWriter&) = delete;
    CArchiveWriter& operator=(const CArchiveWriter&) = delete;

    void WriteString(const QString& str);
    void WriteValue(int32_t l);
    void WriteValue(uint32_t ul) { WriteValue(int32_t(ul)); }
    void WriteTagged(const QString& strTag, int32_t l) {
        WriteString(strTag);
        WriteValue(l);
    }
    void WriteTagged(const QString& strTag, uint32_t ul) {
        WriteString(strTag);
        WriteValue(ul);
    }

    // Hands what is buffered to the device; false when any write failed.
    bool Flush();
    bool Failed() const { return m_bFailed; }
    const QByteArray& Buffer() const { return m_buffer; }

private:
    void Append(const char* p, qsizetype n);

    QIODevice* m_pDevice = nullptr;
    QByteArray m_buffer;
    bool m_bFailed = false;
};

// Text of a narrow string item: Shift_JIS, the code page of the Japanese systems
// such files come from. Bytes that are no character read as U+FFFD.
QString DecodeShiftJis(QByteArrayView bytes);

// Reads items from bytes: a QByteArray is shared (cheap, and safe with a
// temporary), raw bytes must outlive the reader. Any read past the
// end, an item that is not well formed, or a length the rest of the bytes cannot
// hold marks the reader failed; from then on every read returns empty values.
class CArchiveReader {
public:
    CArchiveReader(const char* pData, qint64 nSize) : m_p(pData), m_nSize(nSize < 0 ? 0 : nSize) {}
    explicit CArchiveReader(const QByteArray& bytes)
        : m_holder(bytes), m_p(m_holder.constData()), m_nSize(m_holder.size()) {}

    QString ReadString();
    // Reads a string item and throws it away (tags and markers are not checked).
    void SkipString() {
        // The writer's own form inline: the wide mark and a one-byte length.
        if (Remaining() >= 4) {
            const uint8_t* p = reinterpret_cast<const uint8_t*>(m_p + m_nPos);
            if (p[0] == 0xFF && p[1] == 0xFE && p[2] == 0xFF && p[3] < 0xFF &&
                qint64(p[3]) * 2 <= Remaining() - 4) {
                m_nPos += 4 + qint64(p[3]) * 2;
                return;
            }
        }
        SkipOtherString();
    }
    // Reads a string item and tells whether it is one of the given ASCII texts
    // (without making a text of it).
    bool ReadStringIn(std::initializer_list<const char*> candidates);
    int32_t ReadValue() {
        char b[4];
        if (!Take(b, 4)) return 0;
        return qFromLittleEndian<int32_t>(b);
    }
    uint32_t ReadUValue() { return uint32_t(ReadValue()); }
    // A tag string followed by a value.
    int32_t ReadTagged() {
        SkipString();
        return ReadValue();
    }
    uint32_t ReadUTagged() { return uint32_t(ReadTagged()); }

    bool Failed() const { return m_bFailed; }
    qint64 Remaining() const { return m_nSize - m_nPos; }
    qint64 Position() const { return m_nPos; }

private:
    void SkipOtherString();
    // Length and form of the next string item; false when malformed.
    bool ReadStringHead(qint64& nBytes, bool& bWide);
    // Inline: most items are a few bytes of a size known here.
    bool Take(void* pOut, qint64 n) {
        if (m_bFailed || n > Remaining()) {
            Fail();
            return false;
        }
        std::memcpy(pOut, m_p + m_nPos, size_t(n));
        m_nPos += n;
        return true;
    }
    void Fail() {
        m_bFailed = true;
        m_nPos = m_nSize;
    }

    QByteArray m_holder;
    const char* m_p;
    qint64 m_nSize;
    qint64 m_nPos = 0;
    bool m_bFailed = false;
};

// Result of a block or file reader. The codes 0 to 3 are those the operator's
// messages are chosen by; malformed stands for a read that ran past the end or
// met a bad item.
enum ReadResult : int32_t {
    READ_OK = 0,
    READ_NOT_OURS = 1,
    READ_NEWER_VERSION = 2,
    READ_OTHER_MODEL = 3,
    READ_MALFORMED = -1
};

// The smallest possible step block (narrow, empty strings) with its marker
// string: bounds how many steps the rest of the bytes can hold.
constexpr qint64 kMinStepItemBytes = 1 + 1 + 16 * (1 + 4);

void WriteConditionBlock(const CSettingData& cond, CArchiveWriter& ar);
// READ_OK, READ_NEWER_VERSION (only two strings read), READ_OTHER_MODEL (fields
// filled), or READ_MALFORMED (fields partly filled: read into a temporary).
int32_t ReadConditionBlock(CSettingData& cond, CArchiveReader& ar, uint32_t ulCurrentModel);

void WriteStepBlock(const CExecData& step, CArchiveWriter& ar);
// READ_OK, READ_NEWER_VERSION or READ_MALFORMED. Model type, level, judgment
// and comment are not touched.
int32_t ReadStepBlock(CExecData& step, CArchiveReader& ar);

void WriteStepListBlock(const std::vector<CExecData>& steps, CArchiveWriter& ar);
// Appends the steps read to `steps`, each with ulModel as its model type; stops
// at the first step whose version is refused.
int32_t ReadStepListBlock(std::vector<CExecData>& steps, CArchiveReader& ar, uint32_t ulModel);
// Reads a step list block as ReadStepListBlock does, with the same result,
// and keeps nothing.
int32_t CheckStepListBlock(CArchiveReader& ar);

} // namespace torvex
