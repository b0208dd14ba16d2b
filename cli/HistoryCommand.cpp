// torvex history: the runs kept in the journal, one run's steps, and the report
// of a journalled run (torvex report --run).
#include "cli/Commands.h"

#include "files/TabCode.h"
#include "instrument/TorvexCntl.h"
#include "journal/Journal.h"
#include "journal/JournalRun.h"
#include "model/ExecData.h"
#include "results/ReportWriter.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <map>

namespace torvex {

namespace {

const char* kUsage = "Usage: torvex history [--format tsv|json]\n"
                     "       torvex history show ID [--format tsv|json]\n"
                     "\n"
                     "Lists the runs the journal holds, newest first: id, start, end (empty while\n"
                     "a run never ended), file, tab, model, outcome (completed, stopped, error,\n"
                     "lost, ended, or unfinished), steps run, passed, failed.\n"
                     "`show ID` prints every step of one run: entry (- outside a sequence), step,\n"
                     "judgment, comment, when it last started and ended. TSV escapes tab, new line\n"
                     "and backslash in comments as \\t, \\n and \\\\.\n"
                     "\n"
                     "The journal lies in the program's data folder (journal.sqlite).\n"
                     "Exit codes: 0 done, 1 unknown run or journal unreadable, 2 wrong usage.\n";

QString Time(qint64 ms) {
    if (ms < 0) return QString();
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(ms);
    return t.toOffsetFromUtc(t.offsetFromUtc()).toString(Qt::ISODate);
}

QJsonValue JsonTime(qint64 ms) {
    return ms < 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(Time(ms));
}

QString ModelName(uint32_t ulModel) {
    QString name;
    if (!CTorvexCntl::GetModelName(int32_t(ulModel), name)) name = QStringLiteral("TORVEX ???");
    return name;
}

QString OutcomeText(const JOURNAL_RUN& r) {
    return r.IsFinished() ? OutcomeName(r.m_nOutcome) : QStringLiteral("unfinished");
}

QString Escaped(QString s) {
    s.replace('\\', QLatin1String("\\\\"));
    s.replace('\t', QLatin1String("\\t"));
    s.replace('\n', QLatin1String("\\n"));
    s.replace('\r', QLatin1String("\\r"));
    return s;
}

QJsonObject RunObject(const JOURNAL_RUN& r) {
    QJsonObject o;
    o.insert("id", r.m_nId);
    o.insert("started", JsonTime(r.m_msStarted));
    o.insert("ended", JsonTime(r.m_msEnded));
    o.insert("file", r.m_strFile);
    o.insert("tab", RunTabName(r.m_nTab));
    o.insert("model", ModelName(r.m_ulModel));
    o.insert("outcome", OutcomeText(r));
    o.insert("steps_run", r.m_nStepsRun);
    o.insert("passed", r.m_nPassed);
    o.insert("failed", r.m_nFailed);
    return o;
}

QString RunLine(const JOURNAL_RUN& r) {
    return QStringList{QString::number(r.m_nId),
                       Time(r.m_msStarted),
                       Time(r.m_msEnded),
                       Escaped(r.m_strFile),
                       RunTabName(r.m_nTab),
                       ModelName(r.m_ulModel),
                       OutcomeText(r),
                       QString::number(r.m_nStepsRun),
                       QString::number(r.m_nPassed),
                       QString::number(r.m_nFailed)}
               .join('\t') +
           '\n';
}

// Opens the journal for reading; a missing journal holds no runs.
bool OpenJournal(CJournal& journal, bool& bMissing) {
    bMissing = !QFileInfo::exists(CJournal::DefaultFolder() + "/" + CJournal::FileName());
    if (bMissing) return true;
    if (journal.OpenForReading()) return true;
    Err(QString("torvex: the journal cannot be read: %1\n").arg(journal.LastError()));
    return false;
}

bool ParseId(const QString& text, qint64& nId) {
    bool ok = false;
    nId = text.toLongLong(&ok);
    return ok && nId > 0;
}

// A run with its steps, or an error told on stderr.
bool LoadRun(const QString& command, qint64 nId, CJournal& journal, JOURNAL_RUN& run,
             std::vector<JOURNAL_STEP>& steps) {
    bool bMissing = false;
    if (!OpenJournal(journal, bMissing)) return false;
    const std::optional<JOURNAL_RUN> r = bMissing ? std::nullopt : journal.Run(nId);
    if (!r) {
        Err(QString("torvex %1: no run %2 in the journal\n").arg(command).arg(nId));
        return false;
    }
    run = *r;
    steps = journal.Steps(nId);
    return true;
}

int ShowRun(qint64 nId, bool bJson) {
    CJournal journal;
    JOURNAL_RUN run;
    std::vector<JOURNAL_STEP> touched;
    if (!LoadRun("history", nId, journal, run, touched)) return EXIT_FAILED;
    std::vector<CSettingData> tests;
    if (!RebuildTests(run, touched, tests)) {
        Err(QString("torvex history: run %1 cannot be read back\n").arg(nId));
        return EXIT_FAILED;
    }
    std::map<std::pair<int, int>, const JOURNAL_STEP*> times;
    for (const JOURNAL_STEP& s : touched)
        times[{s.m_nEntry, s.m_nStep}] = &s;
    const bool bSequence = run.m_nTab == TAB_SEQUENCE;

    QJsonArray jsonSteps;
    QString text = bJson ? QString() : QStringLiteral("entry\tstep\tjudgment\tcomment\tstarted\tended\n");
    for (size_t e = 0; e < tests.size(); ++e) {
        std::vector<CExecData>& list = tests[e].m_listExec;
        for (size_t i = 0; i < list.size(); ++i) {
            const auto found = times.find({int(e), int(i)});
            const qint64 started = found == times.end() ? -1 : found->second->m_msStarted;
            const qint64 ended = found == times.end() ? -1 : found->second->m_msEnded;
            CExecData& step = list[i];
            if (bJson) {
                QJsonObject o;
                o.insert("entry", bSequence ? QJsonValue(int(e) + 1) : QJsonValue(QJsonValue::Null));
                o.insert("step", int(i) + 1);
                o.insert("judgment", JudgeWord(step.m_nJudge));
                o.insert("comment", step.m_strComment);
                o.insert("started", JsonTime(started));
                o.insert("ended", JsonTime(ended));
                jsonSteps.append(o);
            } else {
                text += QStringList{bSequence ? QString::number(e + 1) : QStringLiteral("-"),
                                    QString::number(i + 1),
                                    step.GetText(COL_JUDGE),
                                    Escaped(step.m_strComment),
                                    Time(started),
                                    Time(ended)}
                            .join('\t') +
                        '\n';
            }
        }
    }
    if (bJson) {
        QJsonObject o = RunObject(run);
        o.insert("steps", jsonSteps);
        Out(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented)));
    } else {
        Out(text);
    }
    return EXIT_OK;
}

} // namespace

int RunHistory(const QStringList& args) {
    QCommandLineParser parser;
    parser.addOption(kFormatOption);
    if (const int nExit = ParseCommand("history", parser, args, kUsage); nExit != kGoOn) return nExit;
    const QString formatName = parser.isSet(kFormatOption) ? parser.value(kFormatOption) : QStringLiteral("tsv");
    if (formatName != "tsv" && formatName != "json") return UsageError("history", "--format takes tsv or json");
    const bool bJson = formatName == "json";
    const QStringList words = parser.positionalArguments();
    if (!words.isEmpty()) {
        if (words.first() != "show")
            return UsageError("history", QString("unknown word %1").arg(words.first()));
        if (words.size() != 2) return UsageError("history", "show takes one run id");
        qint64 nId = 0;
        if (!ParseId(words[1], nId)) return UsageError("history", QString("not a run id: %1").arg(words[1]));
        return ShowRun(nId, bJson);
    }
    CJournal journal;
    bool bMissing = false;
    if (!OpenJournal(journal, bMissing)) return EXIT_FAILED;
    const std::vector<JOURNAL_RUN> runs = bMissing ? std::vector<JOURNAL_RUN>() : journal.ListRuns();
    if (bJson) {
        QJsonArray list;
        for (const JOURNAL_RUN& r : runs)
            list.append(RunObject(r));
        Out(QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Indented)));
        return EXIT_OK;
    }
    QString text =
        QStringLiteral("id\tstarted\tended\tfile\ttab\tmodel\toutcome\tsteps_run\tpassed\tfailed\n");
    for (const JOURNAL_RUN& r : runs)
        text += RunLine(r);
    Out(text);
    return EXIT_OK;
}

// torvex report --run ID --out OUT.xlsx: the report as it would have been
// written at the end of that run (and with the judgments given after it).
int RunJournalReport(const QString& idText, const QString& out) {
    if (out.isEmpty()) return UsageError("report", "--out OUT.xlsx is missing");
    qint64 nId = 0;
    if (!ParseId(idText, nId)) return UsageError("report", QString("not a run id: %1").arg(idText));
    CJournal journal;
    JOURNAL_RUN run;
    std::vector<JOURNAL_STEP> steps;
    if (!LoadRun("report", nId, journal, run, steps)) return EXIT_FAILED;
    const std::optional<CReportData> data = ReportOfRun(run, steps);
    if (!data) {
        Err(QString("torvex report: run %1 cannot be read back\n").arg(nId));
        return EXIT_FAILED;
    }
    return WriteReportTo(*data, out);
}

} // namespace torvex
