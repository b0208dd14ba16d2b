#include "cli/Commands.h"
#include "files/TorvexDoc.h"
#include "model/StepExpansion.h"

#include <QFileInfo>

// Exit code for a condition above the step limit.
constexpr int EXIT_TOO_MANY_STEPS = 3;

namespace {

const char* kUsage = "Usage: torvex steps FILE [--model K2|K1]\n"
                     "\n"
                     "Prints the steps of a data file (.tvx: the steps its condition expands\n"
                     "into) or of every entry of a sequence file (.tvxs: the steps stored with\n"
                     "each entry), tab-separated, one step a line.\n"
                     "\n"
                     "  --model K2|K1  the instrument model files are checked against (K2)\n"
                     "\n"
                     "Exit codes: 0 done, 1 the file cannot be loaded, 2 wrong usage,\n"
                     "3 the condition describes more than 1000 steps.\n";

QString Header(bool bSequence) {
    QStringList cols;
    if (bSequence) cols << "Entry";
    cols << "No.";
    for (int col = 1; col <= COL_TRIGGER; ++col)
        cols << CExecData::Caption(col);
    return cols.join('\t') + '\n';
}

QString StepLine(const QString& prefix, int nNo, CExecData step) {
    QStringList cols;
    if (!prefix.isEmpty()) cols << prefix;
    cols << QString::number(nNo);
    for (int col = 1; col <= COL_TRIGGER; ++col)
        cols << step.GetText(col);
    return cols.join('\t') + '\n';
}

} // namespace

int RunSteps(const QStringList& args) {
    if (HandleHelp(args, QString::fromUtf8(kUsage))) return EXIT_OK;
    QString path;
    uint32_t ulModel = 0;
    if (!ParseFileAndModel("steps", args, 1, {&path}, ulModel)) return EXIT_USAGE;
    if (!InputFileFound("steps", path)) return EXIT_FAILED;

    CCollectingDialog dialog;
    CTorvexDoc doc;
    PrepareDocument(doc, dialog, ulModel);
    const bool bSequence = IsSequenceFile(path);
    if (bSequence ? !doc.ReadSequenceFile(path) : !doc.ReadDocument(path)) {
        Err(dialog.m_listMessages.join('\n') + '\n');
        return EXIT_FAILED;
    }

    QString out = Header(bSequence);
    if (bSequence) {
        for (int e = 0; e < doc.m_sequence.Count(); ++e) {
            const auto& steps = doc.m_sequence.Entry(e)->m_listExec;
            for (size_t i = 0; i < steps.size(); ++i)
                out += StepLine(QString::number(e + 1), int(i) + 1, steps[i]);
        }
    } else {
        const int64_t total = doc.ManualStepTotal();
        if (total > kMaxSteps) {
            Err(QString::fromUtf8("現在のステップ数は%1ステップです。\nステップ数が%"
                                  "2以下となるように設定を変更してください。\n")
                    .arg(total)
                    .arg(kMaxSteps));
            return EXIT_TOO_MANY_STEPS;
        }
        const auto& steps = doc.m_settingManual.m_listExec;
        for (size_t i = 0; i < steps.size(); ++i)
            out += StepLine(QString(), int(i) + 1, steps[i]);
    }
    Out(out);
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

bool ParseFileAndModel(const QString& command, const QStringList& args, int nFiles,
                       std::initializer_list<QString*> files, uint32_t& ulModel) {
    ulModel = MODEL_K2;
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        QString a = args[i];
        QString model;
        if (a == "--model") {
            if (i + 1 >= args.size()) {
                UsageError(command, "--model needs K2 or K1");
                return false;
            }
            model = args[++i];
        } else if (a.startsWith("--model=")) {
            model = a.mid(8);
        } else if (a.startsWith('-') && a.size() > 1) {
            UsageError(command, QString("unknown option '%1'").arg(a));
            return false;
        } else {
            positional << a;
            continue;
        }
        if (model.compare("K2", Qt::CaseInsensitive) == 0) {
            ulModel = MODEL_K2;
        } else if (model.compare("K1", Qt::CaseInsensitive) == 0) {
            ulModel = MODEL_K1;
        } else {
            UsageError(command, QString("unknown model '%1' (K2 or K1)").arg(model));
            return false;
        }
    }
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
