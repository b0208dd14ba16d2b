#include "files/DataFile.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace torvex {

const QString kDataFileMagic = QStringLiteral("Kelvora TORVEX Data File");
const QString kSequenceFileMagic = QStringLiteral("Kelvra TORVEX Sequence Data File");
const QString kFileVersion = QStringLiteral("File Ver.1.0.1.0");

namespace {

// The magic and the file version; READ_OK when both are accepted.
int32_t ReadFileHead(CArchiveReader& ar, const QString& strMagic) {
    const QString magic = ar.ReadString();
    if (ar.Failed()) return READ_MALFORMED;
    if (magic != strMagic) return READ_NOT_OURS;
    // Any version naming itself a file version is read alike; "File Ver.1.0.0.0"
    // stands for the current one.
    const QString version = ar.ReadString();
    if (ar.Failed()) return READ_MALFORMED;
    if (!version.contains(QLatin1String("File Ver."))) return READ_NEWER_VERSION;
    return READ_OK;
}

// Smallest entry of a sequence file: empty narrow strings everywhere, no step.
constexpr qint64 kMinEntryBytes = 1 + (137 + 117 * 4) + (3 + 4);

} // namespace

void WriteDataFile(const CSettingData& cond, CArchiveWriter& ar) {
    ar.WriteString(kDataFileMagic);
    ar.WriteString(kFileVersion);
    WriteConditionBlock(cond, ar);
    WriteStepListBlock(cond.m_listExec, ar);
}

int32_t ReadDataFile(CArchiveReader& ar, uint32_t ulModel, CSettingData& cond,
                     std::vector<CExecData>& steps) {
    int32_t r = ReadFileHead(ar, kDataFileMagic);
    if (r != READ_OK) return r;
    r = ReadConditionBlock(cond, ar, ulModel);
    if (r != READ_OK) return r;
    return ReadStepListBlock(steps, ar, ulModel);
}

void WriteSequenceFile(const SequenceEntries& entries, CArchiveWriter& ar) {
    ar.WriteString(kSequenceFileMagic);
    ar.WriteString(kFileVersion);
    ar.WriteValue(int32_t(entries.size()));
    for (const auto& entry : entries) {
        ar.WriteString(entry->m_strTestName);
        WriteConditionBlock(*entry, ar);
        WriteStepListBlock(entry->m_listExec, ar);
    }
}

int32_t ReadSequenceHead(CArchiveReader& ar, int32_t& nCount) {
    nCount = 0;
    const int32_t r = ReadFileHead(ar, kSequenceFileMagic);
    if (r != READ_OK) return r;
    nCount = ar.ReadValue();
    return ar.Failed() ? READ_MALFORMED : READ_OK;
}

namespace {

// One entry; with bKeepSteps false its step list is only checked, not kept.
int32_t ReadEntry(CArchiveReader& ar, uint32_t ulModel, bool bKeepSteps, CSettingData& cond) {
    const QString name = ar.ReadString();
    const int32_t r = ReadConditionBlock(cond, ar, ulModel);
    if (r != READ_OK) return r;
    cond.m_strTestName = name;
    return bKeepSteps ? ReadStepListBlock(cond.m_listExec, ar, ulModel) : CheckStepListBlock(ar);
}

// The entries of a sequence file, each handed to fnEntry as it is read.
int32_t ReadEntries(CArchiveReader& ar, uint32_t ulModel, bool bKeepSteps, const SequenceEntryFn& fnEntry) {
    int32_t n = 0;
    int32_t r = ReadSequenceHead(ar, n);
    if (r != READ_OK) return r;
    for (int32_t i = 0; i < n; ++i) {
        CSettingData cond;
        r = ReadEntry(ar, ulModel, bKeepSteps, cond);
        if (r != READ_OK) return r;
        fnEntry(i, n, cond);
    }
    return READ_OK;
}

} // namespace

int32_t ReadSequenceEntry(CArchiveReader& ar, uint32_t ulModel, CSettingData& cond) {
    return ReadEntry(ar, ulModel, true, cond);
}

int32_t ReadSequenceEntries(CArchiveReader& ar, uint32_t ulModel, const SequenceEntryFn& fnEntry) {
    return ReadEntries(ar, ulModel, true, fnEntry);
}

int32_t CheckSequenceEntries(CArchiveReader& ar, uint32_t ulModel, const SequenceEntryFn& fnEntry) {
    return ReadEntries(ar, ulModel, false, fnEntry);
}

int32_t ReadSequenceFile(CArchiveReader& ar, uint32_t ulModel, SequenceEntries& entries) {
    entries.clear();
    SequenceEntries read;
    const int32_t r =
        ReadSequenceEntries(ar, ulModel, [&](int32_t nEntry, int32_t nCount, CSettingData& cond) {
            if (nEntry == 0)
                read.reserve(size_t(std::min<qint64>(nCount, ar.Remaining() / kMinEntryBytes + 1)));
            read.push_back(std::make_unique<CSettingData>(std::move(cond)));
        });
    if (r == READ_OK) entries = std::move(read);
    return r;
}

QString ReadResultMessage(int32_t nResult) {
    switch (nResult) {
    case READ_OK:
        return QString();
    case READ_NOT_OURS:
        return QCoreApplication::translate("DataFile",
                                           "TORVEX用リモートコントロールソフトのデータではありません");
    case READ_NEWER_VERSION:
        return QCoreApplication::translate(
            "DataFile", "このソフトよりも新しいバージョンのソフトで作成されたファイルの為、ロードできません");
    case READ_OTHER_MODEL:
        return QCoreApplication::translate(
            "DataFile", "アプリケーション起動時の試験器モデルとデータのモデルが一致しません");
    default:
        return QCoreApplication::translate("DataFile", "予期しないファイル形式です。");
    }
}

QString ConditionNameOf(const QString& strPath) {
    const QString name = QFileInfo(strPath).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

} // namespace torvex
