#include "results/ReportWriter.h"

#include "config/DocumentFolders.h"
#include "config/Profile.h"
#include "files/TabCode.h"
#include "files/TorvexDoc.h"
#include "instrument/TorvexCntl.h"
#include "model/StepExpansion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>

namespace torvex {

namespace {

QString Untitled() {
    return QCoreApplication::translate("ReportWriter", "無題");
}
// A new workbook of the spreadsheet program has three sheets.
constexpr int kNewWorkbookSheets = 3;
// Longest text a cell holds, in characters.
constexpr qsizetype kMaxCellChars = 32767;

// Whether XML 1.0 (and so a workbook) can hold a character: not the C0
// controls but tab, line feed and carriage return, not a surrogate, not a
// non-character (U+FDD0 to U+FDEF, and U+xFFFE and U+xFFFF in every plane).
bool AllowedInCell(char32_t c) {
    if (c < 0x20) return c == 0x09 || c == 0x0A || c == 0x0D;
    if (c >= 0xD800 && c <= 0xDFFF) return false;
    if (c >= 0xFDD0 && c <= 0xFDEF) return false;
    return (c & 0xFFFE) != 0xFFFE && c <= 0x10FFFF;
}

void AppendCodePoint(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The text as a cell can hold it, in UTF-8 into out (replaced): every
// character a workbook cannot hold (a stray surrogate too) becomes U+FFFD, and
// the text is cut after its 32767th character.
void CellText(QStringView str, std::string& out) {
    out.clear();
    const char16_t* p = str.utf16();
    const qsizetype n = str.size();
    qsizetype nChars = 0;
    for (qsizetype i = 0; i < n && nChars < kMaxCellChars; ++nChars) {
        char32_t c = p[i++];
        if (c >= 0x20 && c < 0x80) { // the common case
            out += char(c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i < n && QChar::isLowSurrogate(p[i]))
            c = QChar::surrogateToUcs4(char16_t(c), p[i++]);
        AppendCodePoint(out, AllowedInCell(c) ? c : char32_t(0xFFFD));
    }
}

// The same for a text that is UTF-8 already and never holds a character a
// workbook cannot hold (step texts are made of the program's own texts and
// numbers); only the comment is a text as typed and goes through CellText.
bool PlainUtf8(const std::string& str) {
    for (const char c : str)
        if (uint8_t(c) < 0x20 || uint8_t(c) >= 0x80) return false;
    return true;
}

// A typed text the spreadsheet reads as a number: a plain decimal, with sign,
// fraction and exponent. Dates, percentages and formulas stay text: a file name
// must never turn into a formula.
bool TypedNumber(const QString& str, double& value) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (!re.match(str).hasMatch()) return false;
    bool ok = false;
    value = str.trimmed().toDouble(&ok);
    return ok && std::isfinite(value);
}

// Writes the cells of one sheet, every one aligned to the top, keeping the
// first error. The workbook is written in constant memory, row by row: cells
// given out of row order wait in a short list until Flush() writes them in
// order; step rows, written in order, go straight to the sheet.
class CSheetWriter {
public:
    CSheetWriter(lxw_worksheet* pSheet, lxw_format* pTop, lxw_error& rError)
        : m_pSheet(pSheet), m_pTop(pTop), m_rError(rError) {}
    ~CSheetWriter() { Flush(); }
    CSheetWriter(const CSheetWriter&) = delete;
    CSheetWriter& operator=(const CSheetWriter&) = delete;

    // A text cell ("'" + text in the spreadsheet's own terms).
    void Text(lxw_row_t row, lxw_col_t col, const QString& str) {
        CELL cell{row, col, false, 0, {}};
        CellText(str, cell.m_strText);
        m_listPending.push_back(std::move(cell));
    }
    void Text(const char* cell, const QString& str) {
        Text(lxw_name_to_row(cell), lxw_name_to_col(cell), str);
    }
    // A cell as the spreadsheet reads the same typed text.
    void Typed(lxw_row_t row, lxw_col_t col, const QString& str) {
        double value = 0;
        if (!TypedNumber(str, value)) return Text(row, col, str);
        m_listPending.push_back(CELL{row, col, true, value, {}});
    }
    void Typed(const char* cell, const QString& str) {
        Typed(lxw_name_to_row(cell), lxw_name_to_col(cell), str);
    }
    // Writes the waiting cells in row and column order.
    void Flush() {
        std::stable_sort(m_listPending.begin(), m_listPending.end(), [](const CELL& a, const CELL& b) {
            return a.m_row != b.m_row ? a.m_row < b.m_row : a.m_col < b.m_col;
        });
        for (const CELL& c : m_listPending) {
            if (c.m_bNumber)
                Keep(worksheet_write_number(m_pSheet, c.m_row, c.m_col, c.m_dValue, m_pTop));
            else
                Now(c.m_row, c.m_col, c.m_strText);
        }
        m_listPending.clear();
    }
    // A text cell of UTF-8 that a cell can hold, written at once (rows in order).
    void Now(lxw_row_t row, lxw_col_t col, const std::string& strUtf8) {
        // An empty text is a blank cell that keeps the alignment.
        if (strUtf8.empty())
            Keep(worksheet_write_blank(m_pSheet, row, col, m_pTop));
        else
            Keep(worksheet_write_string(m_pSheet, row, col, strUtf8.c_str(), m_pTop));
    }

private:
    struct CELL {
        lxw_row_t m_row;
        lxw_col_t m_col;
        bool m_bNumber;
        double m_dValue;
        std::string m_strText;
    };
    void Keep(lxw_error err) {
        if (err != LXW_NO_ERROR && m_rError == LXW_NO_ERROR) m_rError = err;
    }
    lxw_worksheet* m_pSheet;
    lxw_format* m_pTop;
    lxw_error& m_rError;
    std::vector<CELL> m_listPending;
};

QString TestTimeText(const CSettingData& cond) {
    return cond.GetText(COL_TIME_HOUR) + QStringLiteral(" h ") + cond.GetText(COL_TIME_MIN) +
           QStringLiteral(" m ") + cond.GetText(COL_TIME_SEC) + QStringLiteral(" s");
}

QString Caption(int nCol) {
    return CExecData::Caption(nCol);
}

QString LinesLabel() {
    return QCoreApplication::translate("ReportWriter", "印加相");
}

void WriteTestInformation(CSheetWriter& w, const CReportData& data) {
    const CTestProperty& p = data.m_property;
    w.Typed("B2", QCoreApplication::translate("ReportWriter", "企業名"));
    w.Text("C2", p.m_strCompanyName);
    w.Typed("B3", QCoreApplication::translate("ReportWriter", "試験場所"));
    w.Text("C3", p.m_strTestPlace);
    w.Typed("B5", QCoreApplication::translate("ReportWriter", "品名/型名"));
    w.Text("C5", p.m_strModel);
    w.Typed("B6", QCoreApplication::translate("ReportWriter", "シリアル番号"));
    w.Text("C6", p.m_strSerial);
    w.Typed("B7", QCoreApplication::translate("ReportWriter", "試験者名"));
    w.Text("C7", p.m_strOperator);
    w.Typed("B8", QCoreApplication::translate("ReportWriter", "規格名"));
    w.Text("C8", p.m_strStandard);

    const QString unset = QStringLiteral("----");
    const QDateTime start = QDateTime::fromSecsSinceEpoch(data.m_timeStart); // local time
    w.Typed("F5", QCoreApplication::translate("ReportWriter", "試験日"));
    w.Text("G5", data.m_timeStart ? start.toString(QStringLiteral("yyyy/MM/dd")) : unset);
    w.Typed("F6", QCoreApplication::translate("ReportWriter", "試験時刻"));
    w.Text("G6", data.m_timeStart ? start.toString(QStringLiteral("HH:mm:ss")) : unset);
    w.Typed("F7", QCoreApplication::translate("ReportWriter", "温度"));
    w.Text("G7", p.m_strTemperature);
    w.Typed("F8", QCoreApplication::translate("ReportWriter", "湿度"));
    w.Text("G8", p.m_strHumidity);
    w.Typed("F9", QCoreApplication::translate("ReportWriter", "気圧"));
    w.Text("G9", p.m_strAtm);

    QString model;
    CTorvexCntl::GetModelName(int32_t(data.m_ulMachineType), model);
    w.Typed("K4", QCoreApplication::translate("ReportWriter", "試験器"));
    w.Typed("J5", QCoreApplication::translate("ReportWriter", "機器"));
    w.Text("K5", QStringLiteral("EFT/B simulator"));
    w.Typed("J6", QCoreApplication::translate("ReportWriter", "型名"));
    w.Text("K6", model);
    w.Typed("J7", QCoreApplication::translate("ReportWriter", "シリアル番号"));
    w.Text("K7", p.m_strSimulatorSerial);
    w.Typed("J8", QCoreApplication::translate("ReportWriter", "最終校正日"));
    w.Text("K8", p.m_strSimulatorLastCal);
    w.Typed("J9", QCoreApplication::translate("ReportWriter", "校正周期"));
    w.Text("K9", p.m_strSimulatorCalInt);
    for (int i = 0; i < 3; ++i) {
        const TEST_EQUIPMENT_STRUCT& eq = p.m_aeqOption[i];
        const lxw_col_t col = lxw_col_t(11 + i); // L, M, N
        w.Typed(3, col, QCoreApplication::translate("ReportWriter", "オプション%1").arg(i + 1));
        const QString* values[] = {&eq.m_strName, &eq.m_strModel, &eq.m_strSerial, &eq.m_strLastCal,
                                   &eq.m_strCalInt};
        for (int r = 0; r < 5; ++r)
            w.Text(lxw_row_t(4 + r), col, *values[r]);
    }

    w.Typed("B11", QCoreApplication::translate("ReportWriter", "試験タイプ"));
    w.Text("C11", ReportTypeName(data.m_nTestType));
    if (data.m_nTestType == REPORT_SEQUENCE) {
        w.Typed("B12", QCoreApplication::translate("ReportWriter", "ファイル名"));
        w.Typed("C12", data.m_strSeqFileName);
    }
}

// Where a column's caption and text go: a sheet row or column, and the column
// number whose caption and text are written there.
struct PLACED_COL {
    int m_nAt;
    int m_nCol;
};

// Rows 16 on of a condition block (rows counted from 1).
const PLACED_COL kBlockRows[] = {
    {16, COL_POLA},        {17, COL_VOLT},          {18, COL_FREQ},        {19, COL_BURST_PERIOD},
    {20, COL_PULSE_COUNT}, {21, COL_BURST_DURA},    {23, COL_OUTPUT_PORT}, {24, COL_SYNC},
    {25, COL_ANGLE},       {26, COL_OUTPUT_DETAIL}, {27, COL_INJ_LINE},    {28, COL_INJ_SWEEP},
    {30, COL_ALTERNATIVE}, {31, COL_CONTINUOUS},    {32, COL_MODULATED},   {33, COL_TRIGGER},
};

// What the first sheet shows of one test: its condition block's texts, kept
// while the test's steps are written so that the tests need not stay.
struct CONDITION_BLOCK {
    QString m_strHeadLabel; // row 14
    QString m_strHeadValue;
    QString m_aValue[std::size(kBlockRows)];
    QString m_strTestTime; // row 35
};

CONDITION_BLOCK MakeConditionBlock(int32_t nTestType, int k, const CSettingData& cond) {
    CONDITION_BLOCK block;
    switch (nTestType) {
    case REPORT_STANDARD:
        block.m_strHeadLabel = Caption(COL_TEST_LEVEL);
        block.m_strHeadValue = cond.GetText(COL_TEST_LEVEL);
        break;
    case REPORT_MANUAL:
        block.m_strHeadLabel = Caption(COL_TEST_NAME);
        block.m_strHeadValue = ShownTestName(cond.m_strTestName);
        break;
    default:
        block.m_strHeadLabel = QString::asprintf("No.%d", k);
        block.m_strHeadValue = ShownTestName(cond.m_strTestName);
        break;
    }
    for (size_t i = 0; i < std::size(kBlockRows); ++i)
        block.m_aValue[i] = cond.GetText(kBlockRows[i].m_nCol);
    block.m_strTestTime = TestTimeText(cond);
    return block;
}

void WriteConditionBlock(CSheetWriter& w, int k, const CONDITION_BLOCK& block) {
    const lxw_col_t labelCol = lxw_col_t(4 * k - 3); // column 4k − 2, counted from A = 1
    const lxw_col_t valueCol = lxw_col_t(labelCol + 1);
    w.Typed(13, labelCol, block.m_strHeadLabel);
    w.Text(13, valueCol, block.m_strHeadValue);
    for (size_t i = 0; i < std::size(kBlockRows); ++i) {
        const PLACED_COL& r = kBlockRows[i];
        w.Typed(lxw_row_t(r.m_nAt - 1), labelCol,
                r.m_nCol == COL_INJ_LINE ? LinesLabel() : Caption(r.m_nCol));
        w.Text(lxw_row_t(r.m_nAt - 1), valueCol, block.m_aValue[i]);
    }
    w.Typed(34, labelCol, Caption(COL_TIME_HOUR));
    w.Text(34, valueCol, block.m_strTestTime);
}

// Header cells of a step sheet (columns counted from A = 0).
const PLACED_COL kStepHeads[] = {
    {3, COL_BURST_PERIOD},  {4, COL_PULSE_COUNT}, {6, COL_OUTPUT_PORT},  {7, COL_SYNC},
    {8, COL_OUTPUT_DETAIL}, {9, COL_INJ_SWEEP},   {11, COL_ALTERNATIVE}, {12, COL_CONTINUOUS},
    {13, COL_MODULATED},    {14, COL_TRIGGER},
};
// Columns of the step rows (A is the step number): B C D E F G H, J.
const PLACED_COL kStepColumns[] = {
    {1, COL_JUDGE},      {2, COL_VOLT},     {3, COL_POLA},  {4, COL_FREQ},
    {5, COL_BURST_DURA}, {6, COL_INJ_LINE}, {7, COL_ANGLE}, {9, COL_COMMENT},
};

void WriteStepSheet(CSheetWriter& w, int32_t nTestType, int k, const CSettingData& cond) {
    switch (nTestType) {
    case REPORT_STANDARD:
        w.Typed("B2", QCoreApplication::translate("ReportWriter", "試験タイプ"));
        w.Text("B3", ReportTypeName(REPORT_STANDARD));
        w.Typed("C2", Caption(COL_TEST_LEVEL));
        w.Text("C3", cond.GetText(COL_TEST_LEVEL));
        break;
    case REPORT_MANUAL:
        w.Typed("B2", Caption(COL_TEST_NAME));
        w.Text("B3", ShownTestName(cond.m_strTestName));
        break;
    default:
        w.Typed("B2", QString::asprintf("No.%d", k));
        w.Text("B3", ShownTestName(cond.m_strTestName));
        break;
    }
    for (const PLACED_COL& h : kStepHeads) {
        w.Typed(1, lxw_col_t(h.m_nAt), Caption(h.m_nCol));
        w.Text(2, lxw_col_t(h.m_nAt), cond.GetText(h.m_nCol));
    }
    w.Typed("D5", Caption(COL_TIME_HOUR));
    w.Typed("D6", TestTimeText(cond));
    w.Typed("B5", QCoreApplication::translate("ReportWriter", "総合判定"));
    CExecData judge;
    judge.m_nJudge = OverallJudgment(cond.m_listExec);
    w.Text("B6", judge.GetText(COL_JUDGE));
    for (const PLACED_COL& c : kStepColumns)
        w.Typed(9, lxw_col_t(c.m_nAt), c.m_nCol == COL_INJ_LINE ? LinesLabel() : Caption(c.m_nCol));
    w.Flush();

    // The step rows, the bulk of a report: one text buffer for all of them.
    std::string text, clean;
    lxw_row_t row = 10;
    for (const CExecData& original : cond.m_listExec) {
        CExecData step = original; // asking for a text may repair a code: not in the caller's copy
        text = "Step";
        const int nStep = int(row - 9);
        for (int nWidth = nStep < 0 ? 1 : 1 + (nStep >= 10) + (nStep >= 100) + (nStep >= 1000); nWidth < 4;
             ++nWidth)
            text += ' ';
        AppendNumber(text, nStep); // "%s%4d"
        w.Now(row, 0, text);
        for (const PLACED_COL& c : kStepColumns) {
            if (c.m_nCol == COL_COMMENT) {
                CellText(step.m_strComment, clean);
                w.Now(row, lxw_col_t(c.m_nAt), clean);
                continue;
            }
            text.clear();
            step.AppendText(c.m_nCol, text);
            if (PlainUtf8(text)) {
                w.Now(row, lxw_col_t(c.m_nAt), text);
            } else {
                CellText(QString::fromUtf8(text.data(), qsizetype(text.size())), clean);
                w.Now(row, lxw_col_t(c.m_nAt), clean);
            }
        }
        ++row;
    }
}

// Why a sheet name cannot be used, or empty: the spreadsheet program refuses
// empty names, names over 31 characters, the characters []:*?/\ and an
// apostrophe at either end, and a name used twice (in any letter case).
QString SheetNameProblem(const QStringList& names, int i) {
    const QString& name = names[i];
    if (name.isEmpty()) return QStringLiteral("empty sheet name");
    if (name.toUcs4().size() > LXW_SHEETNAME_MAX) return QStringLiteral("sheet name too long: %1").arg(name);
    for (QChar c : name)
        if (QStringLiteral("[]:*?/\\").contains(c)) return QStringLiteral("invalid sheet name: %1").arg(name);
    if (name.startsWith('\'') || name.endsWith('\''))
        return QStringLiteral("invalid sheet name: %1").arg(name);
    for (int j = 0; j < i; ++j)
        if (names[j].compare(name, Qt::CaseInsensitive) == 0)
            return QStringLiteral("sheet name used twice: %1").arg(name);
    return QString();
}

QString ErrnoText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Where a report asked for at strPath really goes: through symbolic links to
// the file they name, as data saves write through them.
QString ResolveLinks(const QString& strPath) {
    QFileInfo info(strPath);
    for (int nDepth = 0; nDepth < 128 && info.isSymLink(); ++nDepth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? strPath : info.filePath();
}

// Puts the finished file on disk before it takes the target's name, so that a
// crash never leaves a name on a file whose content is not there.
bool SyncFile(const QString& strPath, QString& strError) {
    const int fd = ::open(QFile::encodeName(strPath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        strError = ErrnoText();
        if (fd >= 0) ::close(fd);
        return false;
    }
    ::close(fd);
    return true;
}

} // namespace

// ---------------------------------------------------------------- CReportFile

struct CReportFile::WORKBOOK {
    lxw_workbook* m_pBook = nullptr;
    lxw_format* m_pTop = nullptr;
    lxw_worksheet* m_pFirst = nullptr;
    lxw_error m_err = LXW_NO_ERROR;
    std::vector<CONDITION_BLOCK> m_listBlocks;
    QStringList m_listNames; // sheet names so far
};

CReportFile::CReportFile(const CReportData& data) : m_pBook(std::make_unique<WORKBOOK>()) {
    // Everything but the tests, which come one by one.
    m_data.m_nTestType = data.m_nTestType;
    m_data.m_property = data.m_property;
    m_data.m_ulMachineType = data.m_ulMachineType;
    m_data.m_timeStart = data.m_timeStart;
    m_data.m_strSeqFileName = data.m_strSeqFileName;
}

CReportFile::~CReportFile() {
    if (m_pBook->m_pBook) lxw_workbook_free(m_pBook->m_pBook);
}

bool CReportFile::Fail(const QString& strError) {
    if (m_strError.isEmpty()) m_strError = strError;
    if (m_pBook->m_pBook) lxw_workbook_free(m_pBook->m_pBook);
    m_pBook->m_pBook = nullptr;
    m_bFailed = true;
    return false;
}

bool CReportFile::Open(const QString& strPath) {
    m_strTarget = ResolveLinks(strPath);
    const QFileInfo info(m_strTarget);
    // Replacing a file through a rename would get past its write protection.
    if (info.exists() && !info.isFile()) return Fail(QStringLiteral("not a file: %1").arg(m_strTarget));
    // A file without any write permission is write-protected even for a user
    // whom the system would let write it.
    const QFile::Permissions write = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (info.exists() && (!info.isWritable() || !(info.permissions() & write)))
        return Fail(QStringLiteral("the file is write-protected: %1").arg(m_strTarget));
    return Begin(info.absolutePath());
}

bool CReportFile::Begin(const QString& strFolder) {
    // A temporary file beside the target, so that the finished workbook can be put in place at once.
    m_tmp.setFileTemplate(strFolder + QStringLiteral("/.report-XXXXXX.part"));
    if (!m_tmp.open()) return Fail(m_tmp.errorString());
    m_tmp.close();

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // rows go out as they are finished
    // The sheets' working files go beside the report too, not into a temporary
    // folder that may live in memory.
    const QByteArray folder = QFile::encodeName(strFolder);
    options.tmpdir = const_cast<char*>(folder.constData());
    const QByteArray path = QFile::encodeName(m_tmp.fileName());
    m_pBook->m_pBook = workbook_new_opt(path.constData(), &options);
    if (!m_pBook->m_pBook) return Fail(QString::fromUtf8(lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED)));
    m_pBook->m_pTop = workbook_add_format(m_pBook->m_pBook);
    format_set_align(m_pBook->m_pTop, LXW_ALIGN_VERTICAL_TOP);
    return AddSheet(QCoreApplication::translate("ReportWriter", "試験条件"), &m_pBook->m_pFirst);
}

bool CReportFile::AddSheet(const QString& strName, lxw_worksheet** ppSheet) {
    m_pBook->m_listNames << strName;
    const QString problem = SheetNameProblem(m_pBook->m_listNames, int(m_pBook->m_listNames.size() - 1));
    if (!problem.isEmpty()) return Fail(problem);
    lxw_worksheet* pSheet = workbook_add_worksheet(m_pBook->m_pBook, strName.toUtf8().constData());
    if (!pSheet) return Fail(QStringLiteral("cannot add the sheet %1").arg(strName));
    if (ppSheet) *ppSheet = pSheet;
    return true;
}

bool CReportFile::AddTest(const CSettingData& cond) {
    if (m_bFailed || !m_pBook->m_pBook) return Fail(QStringLiteral("the report is not open"));
    const int k = int(m_pBook->m_listBlocks.size()) + 1;
    const QString name = m_data.m_nTestType == REPORT_SEQUENCE
                             ? QString::asprintf("No.%d", k)
                             : QCoreApplication::translate("ReportWriter", "試験内容");
    lxw_worksheet* pSheet = nullptr;
    if (!AddSheet(name, &pSheet)) return false;
    {
        CSheetWriter steps(pSheet, m_pBook->m_pTop, m_pBook->m_err);
        WriteStepSheet(steps, m_data.m_nTestType, k, cond);
    }
    m_pBook->m_listBlocks.push_back(MakeConditionBlock(m_data.m_nTestType, k, cond));
    if (m_pBook->m_err != LXW_NO_ERROR) return Fail(QString::fromUtf8(lxw_strerror(m_pBook->m_err)));
    return true;
}

bool CReportFile::Close() {
    if (m_bFailed || !m_pBook->m_pBook) return Fail(QStringLiteral("the report is not open"));
    const int n = int(m_pBook->m_listBlocks.size());
    if (n == 0) return Fail(QStringLiteral("nothing to report"));
    {
        CSheetWriter first(m_pBook->m_pFirst, m_pBook->m_pTop, m_pBook->m_err);
        WriteTestInformation(first, m_data);
        for (int k = 1; k <= n; ++k)
            WriteConditionBlock(first, k, m_pBook->m_listBlocks[size_t(k - 1)]);
    }
    // The blank sheet, then what a new workbook has beyond the report's sheets.
    const QStringList names = ReportSheetNames(m_data.m_nTestType, n);
    for (int i = n + 1; i < names.size(); ++i)
        if (!AddSheet(names[i], nullptr)) return false;
    if (m_pBook->m_err != LXW_NO_ERROR) return Fail(QString::fromUtf8(lxw_strerror(m_pBook->m_err)));
    errno = 0;
    const lxw_error closeErr = workbook_close(m_pBook->m_pBook); // frees the workbook in any case
    m_pBook->m_pBook = nullptr;
    if (closeErr != LXW_NO_ERROR) {
        QString error = QString::fromUtf8(lxw_strerror(closeErr));
        if (errno != 0) error += QStringLiteral(" (%1)").arg(ErrnoText());
        return Fail(error);
    }
    QString error;
    if (!SyncFile(m_tmp.fileName(), error)) return Fail(error);
    // A temporary file is private to its owner; a report is an ordinary file,
    // and one that replaces another keeps that file's permissions.
    struct stat st {};
    mode_t mode = 0;
    if (::stat(QFile::encodeName(m_strTarget).constData(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::chmod(QFile::encodeName(m_tmp.fileName()).constData(), mode);
    return true;
}

bool CReportFile::Commit() {
    if (!Close()) return false;
    if (std::rename(QFile::encodeName(m_tmp.fileName()).constData(),
                    QFile::encodeName(m_strTarget).constData()) != 0)
        return Fail(ErrnoText());
    m_tmp.setAutoRemove(false); // renamed: nothing left to remove
    return true;
}

std::optional<CReportData> CollectReport(const CTorvexDoc& doc, int nTab, const CTestProperty& property,
                                         uint32_t ulModelType) {
    CReportData data;
    data.m_property = property;
    data.m_ulMachineType = ulModelType;
    switch (nTab) {
    case TAB_STANDARD:
        data.m_nTestType = REPORT_STANDARD;
        data.m_listTest.push_back(doc.m_settingStandard);
        data.m_timeStart = property.m_timeStartStandard;
        break;
    case TAB_MANUAL:
        if (doc.ManualStepTotal() > kMaxSteps) return std::nullopt;
        data.m_nTestType = REPORT_MANUAL;
        data.m_listTest.push_back(doc.m_settingManual);
        data.m_timeStart = property.m_timeStartManual;
        break;
    case TAB_SEQUENCE:
        if (doc.m_sequence.Count() == 0) return std::nullopt;
        data.m_nTestType = REPORT_SEQUENCE;
        for (const auto& entry : doc.m_sequence.m_listEntry)
            data.m_listTest.push_back(*entry);
        data.m_timeStart = property.m_timeStartSequence;
        data.m_strSeqFileName = doc.m_sequence.m_strSeqPath.isEmpty()
                                    ? Untitled()
                                    : QFileInfo(doc.m_sequence.m_strSeqPath).fileName();
        break;
    default:
        return std::nullopt;
    }
    return data;
}

QString ReportTypeName(int32_t nTestType) {
    switch (nTestType) {
    case REPORT_STANDARD:
        return QStringLiteral("STANDARD");
    case REPORT_SEQUENCE:
        return QStringLiteral("SEQUENCE");
    default:
        return QStringLiteral("MANUAL");
    }
}

QStringList ReportSheetNames(int32_t nTestType, int nTests) {
    QStringList names;
    const int count = std::max(kNewWorkbookSheets, nTests + 2);
    for (int i = 1; i <= count; ++i)
        names << QStringLiteral("Sheet%1").arg(i);
    if (nTests <= 0) return names;
    names[0] = QCoreApplication::translate("ReportWriter", "試験条件");
    for (int k = 1; k <= nTests; ++k)
        names[k] = nTestType == REPORT_SEQUENCE ? QString::asprintf("No.%d", k)
                                                : QCoreApplication::translate("ReportWriter", "試験内容");
    names[nTests + 1] = QStringLiteral(" ");
    return names;
}

bool WriteReport(const CReportData& data, const QString& strPath, QString* pstrError) {
    CReportFile report(data);
    bool ok = report.Open(strPath);
    for (size_t i = 0; ok && i < data.m_listTest.size(); ++i)
        ok = report.AddTest(data.m_listTest[i]);
    ok = ok && report.Commit();
    if (pstrError) *pstrError = report.Error();
    return ok;
}

int32_t WriteSequenceFileReport(CTorvexDoc& doc, const QString& strSeqPath, const CTestProperty& property,
                                uint32_t ulModelType, const QString& strOut, QString* pstrError) {
    CReportData header;
    header.m_nTestType = REPORT_SEQUENCE;
    header.m_property = property;
    header.m_ulMachineType = ulModelType;
    header.m_timeStart = property.m_timeStartSequence;
    header.m_strSeqFileName = QFileInfo(strSeqPath).fileName();
    CReportFile report(header);
    bool bOpen = false, bOk = true;
    // Read once: a file that fails half-way leaves only the unfinished
    // workbook, which goes with the report object.
    const bool bRead = doc.ForEachSequenceEntry(
        strSeqPath,
        [&](int32_t, int32_t, CSettingData& cond) {
            if (!bOpen) bOk = report.Open(strOut);
            bOpen = true;
            bOk = bOk && report.AddTest(cond);
        },
        false);
    if (!bRead) return FILE_REPORT_NOT_READ;
    if (!bOpen) return FILE_REPORT_EMPTY;
    if (bOk && report.Commit()) return FILE_REPORT_WRITTEN;
    if (pstrError) *pstrError = report.Error();
    return FILE_REPORT_NOT_WRITTEN;
}

QString ReportFolder() {
    return ProgramDocumentsFolder() + QStringLiteral("/REPORT");
}

QString ReportFileName(int32_t nTestType, const QDateTime& time) {
    return time.toString(QStringLiteral("yyyyMMdd_HHmmss_")) + ReportTypeName(nTestType) +
           QStringLiteral(".xlsx");
}

REPORT_RESULT SaveReport(const CReportData& data, const QDateTime& time, const QString& strFolder) {
    REPORT_RESULT result;
    const QString folder = strFolder.isEmpty() ? ReportFolder() : strFolder;
    const QString name = ReportFileName(data.m_nTestType, time);
    result.m_strPath = QDir(folder).filePath(name);
    if (!CreateFolders(folder)) {
        result.m_strError = QStringLiteral("the folder cannot be created");
        return result;
    }
    CReportFile report(data);
    bool ok = report.Begin(folder); // never replaces a file: no target to check
    for (size_t i = 0; ok && i < data.m_listTest.size(); ++i)
        ok = report.AddTest(data.m_listTest[i]);
    if (!ok || !report.Close()) {
        result.m_strError = report.Error();
        return result;
    }
    const QString tmpName = report.TemporaryName();
    // A hard link puts the file in place only where no file of that name exists.
    const QString stem = QFileInfo(name).completeBaseName();
    for (int i = 1; i < 10000; ++i) {
        const QString path =
            i == 1 ? result.m_strPath : QDir(folder).filePath(QStringLiteral("%1_%2.xlsx").arg(stem).arg(i));
        if (::link(QFile::encodeName(tmpName).constData(), QFile::encodeName(path).constData()) == 0) {
            result.m_strPath = path;
            result.m_bWritten = true;
            return result; // the temporary name is removed with the report
        }
        if (errno != EEXIST) {
            result.m_strError = QString::fromLocal8Bit(std::strerror(errno));
            return result;
        }
    }
    result.m_strError = QStringLiteral("no free file name");
    return result;
}

QString ReportOutcomeMessage(const REPORT_RESULT& result, bool bOpened) {
    const QString path = QDir::toNativeSeparators(result.m_strPath);
    if (!result.m_bWritten)
        return QCoreApplication::translate("ReportWriter", "試験データを保存できません。\n%1\n保存先：%2")
            .arg(result.m_strError, path);
    if (!bOpened)
        return QCoreApplication::translate(
                   "ReportWriter",
                   "試験データを開くプログラムが見つかりません。\n試験データは次の場所に保存されました。\n%1")
            .arg(path);
    return QString();
}

} // namespace torvex
