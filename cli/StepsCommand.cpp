#include "cli/Commands.h"
#include "files/TorvexDoc.h"
#include "model/StepExpansion.h"

#include "results/StepListing.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace torvex {

// Exit code for a condition above the step limit.
constexpr int EXIT_TOO_MANY_STEPS = 3;

namespace {

const char* kUsage = "Usage: torvex steps FILE [--model K2|K1] [--format tsv|csv|json]\n"
                     "\n"
                     "Prints the steps of a data file (.tvx: the steps its condition expands\n"
                     "into) or of every entry of a sequence file (.tvxs: the steps stored with\n"
                     "each entry), one step a line, as the output goes: memory stays flat\n"
                     "whatever the file's size. Without --format: the step list's texts under\n"
                     "its Japanese captions, tab-separated.\n"
                     "\n"
                     "  --model K2|K1   the instrument model files are checked against (K2)\n"
                     "  --format FORM   tsv, csv: a header line of English field names, then\n"
                     "                  one line per step; json: one JSON object per line and\n"
                     "                  step (JSON Lines). Fields: entry, test_name, step,\n"
                     "                  polarity, voltage_v, frequency_hz, pulse_count,\n"
                     "                  burst_duration_us, burst_period_ms, test_time_s, output,\n"
                     "                  output_detail, lines, line_sync, phase_angle_deg,\n"
                     "                  alternating_polarity, continuous, modulated,\n"
                     "                  external_trigger. Numbers are numbers in those units,\n"
                     "                  texts as the step list shows them, flags true or false,\n"
                     "                  and a value a step does not have is null (empty in\n"
                     "                  tsv and csv). A data file is entry 1.\n"
                     "\n"
                     "The steps go to standard output, messages to standard error.\n"
                     "Exit codes: 0 done, 1 the file cannot be loaded or the output cannot be\n"
                     "written, 2 wrong usage, 3 the condition describes more than 1000 steps.\n";

// Standard output, in the listing's chunks.
bool WriteOut(const char* pData, size_t nSize) {
    return std::fwrite(pData, 1, nSize, stdout) == nSize;
}

} // namespace

int RunSteps(const QStringList& args) {
    QCommandLineParser parser;
    parser.addOptions({kModelOption, kFormatOption});
    if (const int nExit = ParseCommand("steps", parser, args, kUsage); nExit != kGoOn) return nExit;
    int nFormat = STEP_FORMAT_TABLE;
    if (!ReadStepFormat("steps", parser, nFormat)) return EXIT_USAGE;
    QString path;
    uint32_t ulModel = 0;
    if (!ReadFilesAndModel("steps", parser, 1, {&path}, ulModel)) return EXIT_USAGE;
    if (!InputFileFound("steps", path)) return EXIT_FAILED;

    CCollectingDialog dialog;
    CTorvexDoc doc;
    PrepareDocument(doc, dialog, ulModel);
    const bool bSequence = IsSequenceFile(path);
    CStepListing listing(nFormat, bSequence, WriteOut);
    if (bSequence) {
        // The file is checked whole before the first line goes out.
        bool bHeader = false;
        const bool bRead = doc.ForEachSequenceEntry(path, [&](int32_t nEntry, int32_t, CSettingData& cond) {
            if (!bHeader) listing.WriteHeader();
            bHeader = true;
            int nStep = 0;
            for (const CExecData& step : cond.m_listExec)
                listing.WriteStep(nEntry + 1, cond.m_strTestName, ++nStep, step);
        });
        if (!bRead) {
            Err(dialog.m_listMessages.join('\n') + '\n');
            return EXIT_FAILED;
        }
        if (!bHeader) listing.WriteHeader();
    } else {
        if (!doc.ReadDocument(path)) {
            Err(dialog.m_listMessages.join('\n') + '\n');
            return EXIT_FAILED;
        }
        const int64_t total = doc.ManualStepTotal();
        if (total > kMaxSteps) {
            Err(QCoreApplication::translate("Cli", "現在のステップ数は%1ステップです。\nステップ数が%"
                                                   "2以下となるように設定を変更してください。\n")
                    .arg(total)
                    .arg(kMaxSteps));
            return EXIT_TOO_MANY_STEPS;
        }
        listing.WriteHeader();
        int nStep = 0;
        for (const CExecData& step : doc.m_settingManual.m_listExec)
            listing.WriteStep(1, doc.m_settingManual.m_strTestName, ++nStep, step);
    }
    if (!listing.Finish() || std::fflush(stdout) != 0) {
        Err(QString("torvex steps: cannot write the output: %1\n")
                .arg(QString::fromLocal8Bit(std::strerror(errno))));
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

// Shared with `torvex resave`.
bool IsSequenceFile(const QString& strPath) {
    return QFileInfo(strPath).suffix().compare(QLatin1String("tvxs"), Qt::CaseInsensitive) == 0;
}

void PrepareDocument(CTorvexDoc& doc, CCollectingDialog& dialog, uint32_t ulModel) {
    doc.SetDialog(&dialog);
    doc.SetRecentFilesKept(false);
    doc.SetMachine(ulModel, 0);
    doc.SetTab(TAB_MANUAL);
    doc.NewDocument();
}

const QCommandLineOption kModelOption(QStringLiteral("model"), QString(), QStringLiteral("K2|K1"));
const QCommandLineOption kFormatOption(QStringLiteral("format"), QString(), QStringLiteral("FORM"));

bool ReadStepFormat(const QString& command, const QCommandLineParser& parser, int& nFormat) {
    if (!parser.isSet(kFormatOption) || StepFormatFromName(parser.value(kFormatOption), nFormat)) return true;
    UsageError(command, QString("unknown format '%1' (tsv, csv or json)").arg(parser.value(kFormatOption)));
    return false;
}

bool ReadFilesAndModel(const QString& command, const QCommandLineParser& parser, int nFiles,
                       std::initializer_list<QString*> files, uint32_t& ulModel) {
    ulModel = MODEL_K2;
    if (parser.isSet(kModelOption) && !ModelFromName(parser.value(kModelOption), ulModel)) {
        UsageError(command, QString("unknown model '%1' (K2 or K1)").arg(parser.value(kModelOption)));
        return false;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != nFiles) {
        UsageError(command, nFiles == 1 ? "expects one FILE" : "expects IN and OUT");
        return false;
    }
    int i = 0;
    for (QString* p : files)
        *p = positional[i++];
    return true;
}

bool InputFileFound(const QString& command, const QString& strPath) {
    if (QFileInfo(strPath).isFile()) return true;
    Err(QString("torvex %1: no such file: %2\n").arg(command, strPath));
    return false;
}

} // namespace torvex
