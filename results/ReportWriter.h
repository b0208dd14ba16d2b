#pragma once

#include "config/TestProperty.h"
#include "model/SettingData.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>
#include <memory>
#include <optional>
#include <vector>

// libxlsxwriter's sheet, known to callers only by pointer.
struct lxw_worksheet;

namespace torvex {

class CTorvexDoc;

// The kinds of test a report covers; their names go into the report and its file name.
enum : int32_t { REPORT_STANDARD = 0, REPORT_MANUAL = 1, REPORT_SEQUENCE = 2 };

// Everything a report workbook is made of. The conditions are copies, so a report
// can be written while the document goes on changing.
class CReportData {
public:
    int32_t m_nTestType = REPORT_MANUAL;
    // STANDARD and MANUAL: one condition; SEQUENCE: every entry in list order.
    std::vector<CSettingData> m_listTest;
    // Test information and equipment; its start times are not used (see m_timeStart).
    CTestProperty m_property;
    uint32_t m_ulMachineType = MODEL_UNKNOWN;
    // Start of the reported test, seconds since 1970; 0 = not started.
    qint64 m_timeStart = 0;
    // SEQUENCE only: the sequence file's name without folder, or "無題".
    QString m_strSeqFileName;
};

// The report of the active tab: STANDARD its condition, MANUAL its condition (not
// when it describes more steps than the limit: its step list is then not its
// own), SEQUENCE every entry. Nothing for the SETTINGS tab or an empty sequence
// list; the caller then does nothing.
std::optional<CReportData> CollectReport(const CTorvexDoc& doc, int nTab, const CTestProperty& property,
                                         uint32_t ulModelType);

// "STANDARD", "MANUAL" or "SEQUENCE".
QString ReportTypeName(int32_t nTestType);

// Sheet names of a report of n tests, in order: "試験条件", one step sheet per
// test, " ", then the rest of a new workbook's three sheets ("Sheet<k>") when
// there are fewer than three.
QStringList ReportSheetNames(int32_t nTestType, int nTests);

// Writes the workbook to strPath, replacing a file there only once the whole
// workbook has been written (a failure leaves it as it was). False with the
// reason in *pstrError.
bool WriteReport(const CReportData& data, const QString& strPath, QString* pstrError = nullptr);

// A report workbook written test by test, so that only one test need be held
// at a time (a sequence read entry by entry from its file): rows go to the file
// as they are finished, and memory stays flat whatever the number of steps.
// Open(), then AddTest() for every test in report order, then Commit(). The
// workbook is written beside the target and takes its place only when whole:
// a failure leaves any file there as it was. Every character a workbook cannot
// hold (C0 controls but tab, CR and LF; non-characters; stray surrogates)
// becomes U+FFFD in its cell.
class CReportFile {
public:
    // Everything but the tests (data.m_listTest is not used).
    explicit CReportFile(const CReportData& data);
    ~CReportFile();
    CReportFile(const CReportFile&) = delete;
    CReportFile& operator=(const CReportFile&) = delete;

    // Starts the workbook for strPath. A symbolic link is written through (its
    // file is replaced); a target that is write-protected or not a file is refused.
    bool Open(const QString& strPath);
    // Starts the workbook in a temporary file of strFolder, for a caller that
    // puts it in place itself (Close(), TemporaryName()).
    bool Begin(const QString& strFolder);
    // The next test with its steps: its step sheet is written at once.
    bool AddTest(const CSettingData& cond);
    // Finishes the workbook and puts it in place of the target, synced to disk first.
    bool Commit();
    // Finishes the workbook in its temporary file (TemporaryName()), synced to
    // disk, without putting it in place; the file is removed with this object.
    bool Close();
    QString TemporaryName() const { return m_tmp.fileName(); }
    // Why the last call failed.
    const QString& Error() const { return m_strError; }

private:
    struct WORKBOOK;
    bool Fail(const QString& strError);
    bool AddSheet(const QString& strName, lxw_worksheet** ppSheet);

    CReportData m_data;
    std::unique_ptr<WORKBOOK> m_pBook;
    QString m_strTarget;
    QTemporaryFile m_tmp;
    QString m_strError;
    bool m_bFailed = false;
};

// How reporting a sequence file straight from the file ended.
enum : int32_t {
    FILE_REPORT_WRITTEN = 0,
    FILE_REPORT_NOT_READ = 1,   // the file cannot be read: the document's operator was told
    FILE_REPORT_EMPTY = 2,      // the file has no entry: nothing to report
    FILE_REPORT_NOT_WRITTEN = 3 // the workbook cannot be written: the reason in *pstrError
};

// The SEQUENCE report of a sequence file as the SEQUENCE tab reports it once
// the file is loaded (the same workbook CollectReport and WriteReport make),
// read entry by entry through doc.ForEachSequenceEntry: memory stays that of
// one entry whatever the file's size. The document's own lists are not changed.
int32_t WriteSequenceFileReport(CTorvexDoc& doc, const QString& strSeqPath, const CTestProperty& property,
                                uint32_t ulModelType, const QString& strOut, QString* pstrError = nullptr);

// Where reports are kept: <documents>/Kelvora/TORVEX_Pilot/REPORT (not created here).
QString ReportFolder();

// The file name of a report written at a time: "20240131_093005_MANUAL.xlsx".
QString ReportFileName(int32_t nTestType, const QDateTime& time);

// Outcome of saving a report into the report folder.
struct REPORT_RESULT {
    bool m_bWritten = false;
    QString m_strPath;  // where it was (or was to be) written
    QString m_strError; // why it was not
};

// Writes the report into strFolder (ReportFolder() when empty), creating the
// folders, under ReportFileName() of the given time; an existing file is never
// replaced: "_2", "_3", ... are added to the name instead.
REPORT_RESULT SaveReport(const CReportData& data, const QDateTime& time = QDateTime::currentDateTime(),
                         const QString& strFolder = QString());

// What the operator is told after a report was saved and (when it was written)
// handed to the default program: empty when it was written and opened.
QString ReportOutcomeMessage(const REPORT_RESULT& result, bool bOpened);

} // namespace torvex
