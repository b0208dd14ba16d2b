#include "results/ReportWriter.h"

#include "config/Profile.h"
#include "files/TabCode.h"
#include "files/TorvexDoc.h"
#include "instrument/TorvexCntl.h"
#include "model/StepExpansion.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>

namespace {

const QString kUntitled = QStringLiteral("無題");
// A new workbook of the spreadsheet program has three sheets.
constexpr int kNewWorkbookSheets = 3;
// Longest text a cell holds, in characters.
constexpr qsizetype kMaxCellChars = 32767;

// The text as a cell can hold it: cut after its 32767th character.
QByteArray CellUtf8(const QString& str) {
    if (str.size() <= kMaxCellChars) return str.toUtf8();
    QList<uint> ucs4 = str.toUcs4();
    if (ucs4.size() > kMaxCellChars) ucs4.resize(kMaxCellChars);
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(ucs4.constData()), ucs4.size()).toUtf8();
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

// Writes the cells of one sheet, every one aligned to the top; keeps the first error.
class CSheetWriter {
public:
    CSheetWriter(lxw_worksheet* pSheet, lxw_format* pTop, lxw_error& rError)
        : m_pSheet(pSheet), m_pTop(pTop), m_rError(rError) {}

    // A text cell ("'" + text in the spreadsheet's own terms).
    void Text(lxw_row_t row, lxw_col_t col, const QString& str) {
        const QByteArray utf8 = CellUtf8(str);
        Keep(worksheet_write_string(m_pSheet, row, col, utf8.constData(), m_pTop));
    }
    void Text(const char* cell, const QString& str) {
        Text(lxw_name_to_row(cell), lxw_name_to_col(cell), str);
    }
    // A cell as the spreadsheet reads the same typed text.
    void Typed(lxw_row_t row, lxw_col_t col, const QString& str) {
        double value = 0;
        if (TypedNumber(str, value))
            Keep(worksheet_write_number(m_pSheet, row, col, value, m_pTop));
        else
            Text(row, col, str);
    }
    void Typed(const char* cell, const QString& str) {
        Typed(lxw_name_to_row(cell), lxw_name_to_col(cell), str);
    }

private:
    void Keep(lxw_error err) {
        if (err != LXW_NO_ERROR && m_rError == LXW_NO_ERROR) m_rError = err;
    }
    lxw_worksheet* m_pSheet;
    lxw_format* m_pTop;
    lxw_error& m_rError;
};

QString TestTimeText(const CSettingData& cond) {
    return cond.GetText(COL_TIME_HOUR) + QStringLiteral(" h ") + cond.GetText(COL_TIME_MIN) +
           QStringLiteral(" m ") + cond.GetText(COL_TIME_SEC) + QStringLiteral(" s");
}

QString Caption(int nCol) {
    return CExecData::Caption(nCol);
}

const QString kLinesLabel = QStringLiteral("印加相");

void WriteTestInformation(CSheetWriter& w, const CReportData& data) {
    const CTestProperty& p = data.m_property;
    w.Typed("B2", QStringLiteral("企業名"));
    w.Text("C2", p.m_strCompanyName);
    w.Typed("B3", QStringLiteral("試験場所"));
    w.Text("C3", p.m_strTestPlace);
    w.Typed("B5", QStringLiteral("品名/型名"));
    w.Text("C5", p.m_strModel);
    w.Typed("B6", QStringLiteral("シリアル番号"));
    w.Text("C6", p.m_strSerial);
    w.Typed("B7", QStringLiteral("試験者名"));
    w.Text("C7", p.m_strOperator);
    w.Typed("B8", QStringLiteral("規格名"));
    w.Text("C8", p.m_strStandard);

    const QString unset = QStringLiteral("----");
    const QDateTime start = QDateTime::fromSecsSinceEpoch(data.m_timeStart); // local time
    w.Typed("F5", QStringLiteral("試験日"));
    w.Text("G5", data.m_timeStart ? start.toString(QStringLiteral("yyyy/MM/dd")) : unset);
    w.Typed("F6", QStringLiteral("試験時刻"));
    w.Text("G6", data.m_timeStart ? start.toString(QStringLiteral("HH:mm:ss")) : unset);
    w.Typed("F7", QStringLiteral("温度"));
    w.Text("G7", p.m_strTemperature);
    w.Typed("F8", QStringLiteral("湿度"));
    w.Text("G8", p.m_strHumidity);
    w.Typed("F9", QStringLiteral("気圧"));
    w.Text("G9", p.m_strAtm);

    QString model;
    CTorvexCntl::GetModelName(int32_t(data.m_ulMachineType), model);
    w.Typed("K4", QStringLiteral("試験器"));
    w.Typed("J5", QStringLiteral("機器"));
    w.Text("K5", QStringLiteral("EFT/B simulator"));
    w.Typed("J6", QStringLiteral("型名"));
    w.Text("K6", model);
    w.Typed("J7", QStringLiteral("シリアル番号"));
    w.Text("K7", p.m_strSimulatorSerial);
    w.Typed("J8", QStringLiteral("最終校正日"));
    w.Text("K8", p.m_strSimulatorLastCal);
    w.Typed("J9", QStringLiteral("校正周期"));
    w.Text("K9", p.m_strSimulatorCalInt);
    for (int i = 0; i < 3; ++i) {
        const TEST_EQUIPMENT_STRUCT& eq = p.m_aeqOption[i];
        const lxw_col_t col = lxw_col_t(11 + i); // L, M, N
        w.Typed(3, col, QStringLiteral("オプション%1").arg(i + 1));
        const QString* values[] = {&eq.m_strName, &eq.m_strModel, &eq.m_strSerial, &eq.m_strLastCal,
                                   &eq.m_strCalInt};
        for (int r = 0; r < 5; ++r)
            w.Text(lxw_row_t(4 + r), col, *values[r]);
    }

    w.Typed("B11", QStringLiteral("試験タイプ"));
    w.Text("C11", ReportTypeName(data.m_nTestType));
    if (data.m_nTestType == REPORT_SEQUENCE) {
        w.Typed("B12", QStringLiteral("ファイル名"));
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

void WriteConditionBlock(CSheetWriter& w, const CReportData& data, int k, const CSettingData& cond) {
    const lxw_col_t labelCol = lxw_col_t(4 * k - 3); // column 4k − 2, counted from A = 1
    const lxw_col_t valueCol = lxw_col_t(labelCol + 1);
    switch (data.m_nTestType) {
    case REPORT_STANDARD:
        w.Typed(13, labelCol, Caption(COL_TEST_LEVEL));
        w.Text(13, valueCol, cond.GetText(COL_TEST_LEVEL));
        break;
    case REPORT_MANUAL:
        w.Typed(13, labelCol, Caption(COL_TEST_NAME));
        w.Text(13, valueCol, cond.m_strTestName);
        break;
    default:
        w.Typed(13, labelCol, QString::asprintf("No.%d", k));
        w.Text(13, valueCol, cond.m_strTestName);
        break;
    }
    for (const PLACED_COL& r : kBlockRows) {
        w.Typed(lxw_row_t(r.m_nAt - 1), labelCol, r.m_nCol == COL_INJ_LINE ? kLinesLabel : Caption(r.m_nCol));
        w.Text(lxw_row_t(r.m_nAt - 1), valueCol, cond.GetText(r.m_nCol));
    }
    w.Typed(34, labelCol, Caption(COL_TIME_HOUR));
    w.Text(34, valueCol, TestTimeText(cond));
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

void WriteStepSheet(CSheetWriter& w, const CReportData& data, int k, const CSettingData& cond) {
    switch (data.m_nTestType) {
    case REPORT_STANDARD:
        w.Typed("B2", QStringLiteral("試験タイプ"));
        w.Text("B3", ReportTypeName(REPORT_STANDARD));
        w.Typed("C2", Caption(COL_TEST_LEVEL));
        w.Text("C3", cond.GetText(COL_TEST_LEVEL));
        break;
    case REPORT_MANUAL:
        w.Typed("B2", Caption(COL_TEST_NAME));
        w.Text("B3", cond.m_strTestName);
        break;
    default:
        w.Typed("B2", QString::asprintf("No.%d", k));
        w.Text("B3", cond.m_strTestName);
        break;
    }
    for (const PLACED_COL& h : kStepHeads) {
        w.Typed(1, lxw_col_t(h.m_nAt), Caption(h.m_nCol));
        w.Text(2, lxw_col_t(h.m_nAt), cond.GetText(h.m_nCol));
    }
    w.Typed("D5", Caption(COL_TIME_HOUR));
    w.Typed("D6", TestTimeText(cond));
    w.Typed("B5", QStringLiteral("総合判定"));
    CExecData judge;
    judge.m_nJudge = OverallJudgment(cond.m_listExec);
    w.Text("B6", judge.GetText(COL_JUDGE));

    for (const PLACED_COL& c : kStepColumns)
        w.Typed(9, lxw_col_t(c.m_nAt), c.m_nCol == COL_INJ_LINE ? kLinesLabel : Caption(c.m_nCol));
    lxw_row_t row = 10;
    for (const CExecData& original : cond.m_listExec) {
        CExecData step = original; // asking for a text may repair a code: not in the caller's copy
        w.Text(row, 0, QString::asprintf("%s%4d", "Step", int(row - 9)));
        for (const PLACED_COL& c : kStepColumns)
            w.Text(row, lxw_col_t(c.m_nAt), step.GetText(c.m_nCol));
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

// Writes the whole workbook to a file of its own; false with the reason.
bool WriteWorkbookFile(const CReportData& data, const QString& strPath, QString& strError) {
    const int n = int(data.m_listTest.size());
    if (n == 0) {
        strError = QStringLiteral("nothing to report");
        return false;
    }
    const QStringList names = ReportSheetNames(data.m_nTestType, n);
    for (int i = 0; i < names.size(); ++i) {
        strError = SheetNameProblem(names, i);
        if (!strError.isEmpty()) return false;
    }

    const QByteArray path = QFile::encodeName(strPath);
    lxw_workbook* pBook = workbook_new(path.constData());
    if (!pBook) {
        strError = QString::fromUtf8(lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED));
        return false;
    }
    lxw_format* pTop = workbook_add_format(pBook);
    format_set_align(pTop, LXW_ALIGN_VERTICAL_TOP);
    std::vector<lxw_worksheet*> sheets;
    for (const QString& name : names) {
        lxw_worksheet* pSheet = workbook_add_worksheet(pBook, name.toUtf8().constData());
        if (!pSheet) {
            lxw_workbook_free(pBook);
            strError = QStringLiteral("cannot add the sheet %1").arg(name);
            return false;
        }
        sheets.push_back(pSheet);
    }

    lxw_error err = LXW_NO_ERROR;
    CSheetWriter first(sheets[0], pTop, err);
    WriteTestInformation(first, data);
    for (int k = 1; k <= n; ++k) {
        const CSettingData& cond = data.m_listTest[size_t(k - 1)];
        WriteConditionBlock(first, data, k, cond);
        CSheetWriter steps(sheets[size_t(k)], pTop, err);
        WriteStepSheet(steps, data, k, cond);
    }
    if (err != LXW_NO_ERROR) {
        lxw_workbook_free(pBook);
        strError = QString::fromUtf8(lxw_strerror(err));
        return false;
    }
    errno = 0;
    const lxw_error closeErr = workbook_close(pBook); // frees the workbook in any case
    if (closeErr != LXW_NO_ERROR) {
        strError = QString::fromUtf8(lxw_strerror(closeErr));
        if (errno != 0) strError += QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

// A temporary file beside the target, so that the finished workbook can be put in
// place at once.
bool WriteBeside(const CReportData& data, const QString& strPath, QTemporaryFile& tmp, QString& strError) {
    const QFileInfo info(strPath);
    tmp.setFileTemplate(info.absolutePath() + QStringLiteral("/.report-XXXXXX.part"));
    if (!tmp.open()) {
        strError = tmp.errorString();
        return false;
    }
    tmp.close();
    if (!WriteWorkbookFile(data, tmp.fileName(), strError)) return false;
    // A temporary file is private to its owner; a report is an ordinary file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(tmp.fileName()).constData(), 0666 & ~mask);
    return true;
}

} // namespace

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
                                    ? kUntitled
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
    names[0] = QStringLiteral("試験条件");
    for (int k = 1; k <= nTests; ++k)
        names[k] = nTestType == REPORT_SEQUENCE ? QString::asprintf("No.%d", k) : QStringLiteral("試験内容");
    names[nTests + 1] = QStringLiteral(" ");
    return names;
}

bool WriteReport(const CReportData& data, const QString& strPath, QString* pstrError) {
    QString error;
    QTemporaryFile tmp;
    bool ok = WriteBeside(data, strPath, tmp, error);
    if (ok && std::rename(QFile::encodeName(tmp.fileName()).constData(),
                          QFile::encodeName(strPath).constData()) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        ok = false;
    }
    if (ok) tmp.setAutoRemove(false); // renamed: nothing left to remove
    if (pstrError) *pstrError = error;
    return ok;
}

QString ReportFolder() {
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty()) docs = QDir::homePath();
    return docs + QStringLiteral("/Kelvora/TORVEX_Pilot/REPORT");
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
    QTemporaryFile tmp;
    if (!WriteBeside(data, result.m_strPath, tmp, result.m_strError)) return result;
    // A hard link puts the file in place only where no file of that name exists.
    const QString stem = QFileInfo(name).completeBaseName();
    for (int i = 1; i < 10000; ++i) {
        const QString path =
            i == 1 ? result.m_strPath : QDir(folder).filePath(QStringLiteral("%1_%2.xlsx").arg(stem).arg(i));
        if (::link(QFile::encodeName(tmp.fileName()).constData(), QFile::encodeName(path).constData()) == 0) {
            result.m_strPath = path;
            result.m_bWritten = true;
            return result; // the temporary name is removed with tmp
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
        return QStringLiteral("試験データを保存できません。\n%1\n保存先：%2").arg(result.m_strError, path);
    if (!bOpened)
        return QStringLiteral(
                   "試験データを開くプログラムが見つかりません。\n試験データは次の場所に保存されました。\n%1")
            .arg(path);
    return QString();
}
