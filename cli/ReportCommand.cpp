// torvex report: writes the report workbook of a data or sequence file, with the
// test information of the settings file and no judgments.
#include "cli/Commands.h"

#include "config/TestProperty.h"
#include "files/TorvexDoc.h"
#include "model/StepExpansion.h"
#include "results/ReportWriter.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace torvex {

namespace {

const char* kUsage = "Usage: torvex report FILE --out OUT.xlsx [--model K2|K1]\n"
                     "                     [--tab standard|manual|sequence]\n"
                     "       torvex report --run ID --out OUT.xlsx\n"
                     "\n"
                     "Writes the test report workbook of a data file (.tvx, as the MANUAL tab\n"
                     "reports it) or of a sequence file (.tvxs, as the SEQUENCE tab reports it),\n"
                     "with the test information of the settings file. No step is judged yet.\n"
                     "\n"
                     "  --out OUT.xlsx  the workbook to write (an existing file is replaced)\n"
                     "  --model K2|K1   the instrument model named in the report (K2)\n"
                     "  --tab TAB       standard: the default STANDARD test; manual: the data\n"
                     "                  file's test (the default for .tvx); sequence: the data\n"
                     "                  file as a sequence of one entry, or the sequence file\n"
                     "                  (the default for .tvxs)\n"
                     "\n"
                     "With --run ID it writes the report of a run the journal holds (see\n"
                     "`torvex history`), finished or not, as it would have been written at its end.\n"
                     "\n"
                     "Exit codes: 0 written, 1 the file cannot be loaded, the run is unknown or\n"
                     "the workbook cannot be written, 2 wrong usage.\n";

// A sequence file is reported entry by entry, in flat memory whatever its size.
int ReportSequenceFile(CTorvexDoc& doc, const CCollectingDialog& dialog, const QString& file,
                       const QString& out, uint32_t ulModel) {
    CTestProperty property;
    property.LoadFromProfile();
    property.LoadEquipmentFromProfile();
    QString error;
    switch (WriteSequenceFileReport(doc, file, property, ulModel, out, &error)) {
    case FILE_REPORT_WRITTEN:
        return EXIT_OK;
    case FILE_REPORT_NOT_READ:
        Err(dialog.m_listMessages.join('\n') + '\n');
        return EXIT_FAILED;
    case FILE_REPORT_EMPTY:
        Err("torvex report: nothing to report\n");
        return EXIT_FAILED;
    default:
        Err(QString("torvex report: cannot write %1: %2\n").arg(out, error));
        return EXIT_FAILED;
    }
}

} // namespace

// The report of a journalled run (cli/HistoryCommand.cpp).
int RunJournalReport(const QString& idText, const QString& out);

int RunReport(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption outOption(QStringLiteral("out"), QString(), QStringLiteral("OUT.xlsx"));
    const QCommandLineOption tab(QStringLiteral("tab"), QString(), QStringLiteral("TAB"));
    const QCommandLineOption run(QStringLiteral("run"), QString(), QStringLiteral("ID"));
    parser.addOptions({outOption, tab, run, kModelOption});
    if (const int nExit = ParseCommand("report", parser, args, kUsage); nExit != kGoOn) return nExit;
    const QString out = parser.value(outOption);
    if (parser.isSet(run)) {
        for (const QString& name : parser.optionNames())
            if (name != "run" && name != "out")
                return UsageError("report", QString("--run takes only --out, not --%1").arg(name));
        if (!parser.positionalArguments().isEmpty())
            return UsageError("report", QString("--run takes only --out, not %1").arg(parser.positionalArguments().first()));
        if (out.isEmpty()) return UsageError("report", "--out OUT.xlsx is missing");
        return RunJournalReport(parser.value(run), out);
    }
    const QString tabName = parser.value(tab).toLower();
    uint32_t ulModel = MODEL_K2;
    if (parser.isSet(kModelOption) && !ModelFromName(parser.value(kModelOption), ulModel))
        return UsageError("report", "--model takes K2 or K1");
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) return UsageError("report", "only one FILE");
    if (positional.isEmpty()) return UsageError("report", "FILE is missing");
    const QString file = positional.first();
    if (out.isEmpty()) return UsageError("report", "--out OUT.xlsx is missing");

    const bool bSequenceFile = IsSequenceFile(file);
    int nTab;
    if (tabName.isEmpty())
        nTab = bSequenceFile ? TAB_SEQUENCE : TAB_MANUAL;
    else if (tabName == "standard")
        nTab = TAB_STANDARD;
    else if (tabName == "manual")
        nTab = TAB_MANUAL;
    else if (tabName == "sequence")
        nTab = TAB_SEQUENCE;
    else
        return UsageError("report", "--tab takes standard, manual or sequence");
    if (bSequenceFile && nTab != TAB_SEQUENCE)
        return UsageError("report", "a sequence file is reported as a sequence");
    if (!InputFileFound("report", file)) return EXIT_FAILED;

    CCollectingDialog dialog;
    CTorvexDoc doc;
    PrepareDocument(doc, dialog, ulModel);
    doc.SetTab(nTab);
    if (bSequenceFile) return ReportSequenceFile(doc, dialog, file, out, ulModel);
    const bool bLoaded = bSequenceFile ? doc.ReadSequenceFile(file) : doc.ReadDocument(file);
    if (!bLoaded) {
        Err(dialog.m_listMessages.join('\n') + '\n');
        return EXIT_FAILED;
    }
    if (nTab == TAB_MANUAL && doc.ManualStepTotal() > kMaxSteps) {
        Err(QCoreApplication::translate("Cli", "現在のステップ数は%1ステップです。\nステップ数が%"
                                               "2以下となるように設定を変更してください。\n")
                .arg(doc.ManualStepTotal())
                .arg(kMaxSteps));
        return EXIT_FAILED;
    }

    CTestProperty property;
    property.LoadFromProfile();
    property.LoadEquipmentFromProfile();
    const std::optional<CReportData> data = CollectReport(doc, nTab, property, ulModel);
    if (!data) {
        Err("torvex report: nothing to report\n");
        return EXIT_FAILED;
    }
    return WriteReportTo(*data, out);
}

int WriteReportTo(const CReportData& data, const QString& strOut) {
    QString error;
    if (!WriteReport(data, strOut, &error)) {
        Err(QString("torvex report: cannot write %1: %2\n").arg(strOut, error));
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

} // namespace torvex
