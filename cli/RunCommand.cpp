// torvex run: runs a data or sequence file on a TORVEX (or the simulator)
// through the same engine as the desktop program, headless.
#include "cli/Commands.h"
#include "cli/ConsoleDialog.h"

#include "config/Profile.h"
#include "config/TestProperty.h"
#include "files/TabCode.h"
#include "files/TorvexDoc.h"
#include "instrument/PortAccess.h"
#include "instrument/RsBasicProtocol.h"
#include "instrument/TorvexCntl.h"
#include "journal/Journal.h"
#include "journal/JournalRun.h"
#include "journal/RunRecorder.h"
#include "results/ReportWriter.h"
#include "results/StepListing.h"
#include "run/RunEngine.h"
#include "run/StopSignals.h"
#include "cmdline/CommandLine.h"
#include "session/Session.h"
#include "sim/SimOptions.h"
#include "sim/SimProgram.h"
#include "sim/TorvexSimulator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <memory>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace torvex {

namespace {

const char* kUsage = "Usage: torvex run FILE (--port PATH | --simulate [SIMULATOR OPTIONS]) [--yes]\n"
                     "                 [--stop-every-step] [--log-folder DIR] [--model K2|K1]\n"
                     "                 [--report OUT.xlsx] [--format tsv|csv|json] [--progress]\n"
                     "\n"
                     "Runs a data file (.tvx, as the MANUAL tab would) or a sequence file (.tvxs,\n"
                     "as the SEQUENCE tab would) from its first step.\n"
                     "\n"
                     "  --port PATH         search the instrument on this device only (repeatable);\n"
                     "                      without it every serial port of the machine is searched\n"
                     "  --simulate          start the built-in simulator and run on it; the\n"
                     "                      simulator's options (see `torvex sim --help`) may\n"
                     "                      follow, --model apart, which is run's own\n"
                     "  --yes               answer the start confirmation with OK\n"
                     "  --stop-every-step   stop after each step, then go on by itself\n"
                     "  --log-folder DIR    write the test log there instead of the settings' folder\n"
                     "  --model K2|K1       model to assume when the instrument does not tell its own\n"
                     "  --report OUT.xlsx   after the run, write its report workbook (judgments and\n"
                     "                      start time of the run, test information of the settings);\n"
                     "                      when OUT cannot be written it goes to the report folder\n"
                     "  --format FORM       one record per step on standard output as the step ends:\n"
                     "                      tsv, csv (a header line first) or json (JSON Lines), with\n"
                     "                      the fields of `torvex steps --format` and then judgment\n"
                     "                      (pass, fail, or empty/null when not judged); every other\n"
                     "                      line goes to standard error\n"
                     "  --progress          show the step, the elapsed and the remaining time on\n"
                     "                      standard error (the default when it is a terminal)\n"
                     "\n"
                     "Prints a line as each step starts and ends, every message, and a summary.\n"
                     "Ctrl+C, SIGTERM or SIGHUP stop the output and end the run as a stop, and so\n"
                     "does standard output closing under a --format run.\n"
                     "Exit: 0 every step passed; 1 stopped, instrument error, instrument lost or\n"
                     "not found, file not loaded, report not written, output not written; 2 wrong\n"
                     "usage.\n";

// "1:02:03" for a number of seconds.
QString Clock(int64_t lSeconds) {
    lSeconds = std::max<int64_t>(0, lSeconds);
    return QString("%1:%2:%3")
        .arg(lSeconds / 3600)
        .arg(lSeconds / 60 % 60, 2, 10, QChar('0'))
        .arg(lSeconds % 60, 2, 10, QChar('0'));
}

// Where the run stands, on standard error: one line redrawn in place on a
// terminal; elsewhere a line when a step starts and at most every ten seconds.
class CProgressView : public CSilentRunView {
public:
    explicit CProgressView(bool bShow) : m_bShow(bShow), m_bTerminal(isatty(STDERR_FILENO) != 0) {}

    void SetProgress(const CRunProgress& p) override {
        // Time in one run only goes forward: the panel's reset at the end is not shown.
        if (!m_bShow || p.nStepsTotal == 0 || p.lTimeDone < m_lTimeDone) return;
        m_lTimeDone = p.lTimeDone;
        const QString line = QString("progress: step %1/%2, %3 elapsed, %4 remaining")
                                 .arg(std::min(p.nStepsDone + 1, p.nStepsTotal))
                                 .arg(p.nStepsTotal)
                                 .arg(Clock(p.lTimeDone), Clock(p.lTimeTotal - p.lTimeDone));
        if (m_bTerminal) {
            m_strShown = line;
            Err("\r\033[K" + line);
            return;
        }
        const auto now = std::chrono::steady_clock::now();
        if (p.nStepsDone == m_nLastSteps && now - m_lastLine < std::chrono::seconds(10)) return;
        m_nLastSteps = p.nStepsDone;
        m_lastLine = now;
        Err(line + "\n");
    }
    // A line of other output is about to go to the terminal: the progress line
    // makes room, and comes back below it.
    void Before() {
        if (!m_strShown.isEmpty()) Err("\r\033[K");
    }
    void After() {
        if (!m_strShown.isEmpty()) Err(m_strShown);
    }
    // The run is over: the line goes, and the panel's reset is not shown.
    void Done() {
        Before();
        m_strShown.clear();
        m_bShow = false;
    }

private:
    bool m_bShow;
    bool m_bTerminal;
    QString m_strShown;
    int32_t m_nLastSteps = -1;
    int64_t m_lTimeDone = 0;
    std::chrono::steady_clock::time_point m_lastLine;
};

// Calls fn once the engine has done the work in hand.
void WhenIdle(CRunEngine& engine, std::function<void()> fn) {
    if (!engine.IsBusy()) {
        fn();
        return;
    }
    QTimer::singleShot(10, &engine,
                       [&engine, fn = std::move(fn)]() mutable { WhenIdle(engine, std::move(fn)); });
}

QString StepLine(CExecData step) {
    QStringList texts;
    for (int col = 1; col <= COL_TRIGGER; ++col)
        if (col != COL_JUDGE && col != COL_COMMENT && col != COL_INJ_SWEEP) texts << step.GetText(col);
    return texts.join('\t');
}

} // namespace

int RunTestRun(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption portOption(QStringLiteral("port"), QString(), QStringLiteral("PATH"));
    const QCommandLineOption simulate(QStringLiteral("simulate"));
    const QCommandLineOption yes(QStringLiteral("yes"));
    const QCommandLineOption stopEvery(QStringLiteral("stop-every-step"));
    const QCommandLineOption logFolderOption(QStringLiteral("log-folder"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption report(QStringLiteral("report"), QString(), QStringLiteral("OUT.xlsx"));
    const QCommandLineOption progressOption(QStringLiteral("progress"));
    parser.addOptions(
        {portOption, simulate, yes, stopEvery, logFolderOption, report, kFormatOption, progressOption, kModelOption});
    // The simulator's options, for --simulate; --model is run's own.
    const QList<QCommandLineOption> simOptions = SimCommandLineOptions({QStringLiteral("model")});
    parser.addOptions(simOptions);
    if (const int nExit = ParseCommand("run", parser, args, kUsage); nExit != kGoOn) return nExit;

    QStringList ports = parser.values(portOption);
    const bool bSimulate = parser.isSet(simulate), bYes = parser.isSet(yes), bStopEvery = parser.isSet(stopEvery);
    QString logFolder = parser.value(logFolderOption);
    const QString reportPath = parser.value(report);
    const bool bProgress = parser.isSet(progressOption) || isatty(STDERR_FILENO) != 0;
    int nFormat = STEP_FORMAT_TABLE;
    if (!ReadStepFormat("run", parser, nFormat)) return EXIT_USAGE;
    uint32_t modelOption = MODEL_K2;
    if (parser.isSet(kModelOption) && !ModelFromName(parser.value(kModelOption), modelOption))
        return UsageError("run", "--model takes K2 or K1");
    QStringList simArgs;
    QString simError;
    if (!SimulatorArgs(parser, simOptions, bSimulate, simArgs, simError)) return UsageError("run", simError);
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) return UsageError("run", "only one FILE");
    const QString file = positional.value(0);
    if (file.isEmpty()) return UsageError("run", "FILE is missing");

    // With --format, standard output carries the records only.
    const bool bRecords = nFormat != STEP_FORMAT_TABLE;
    CProgressView progress(bProgress);
    const auto Line = [&](const QString& text) {
        progress.Before();
        if (bRecords)
            Err(text);
        else
            Out(text);
        progress.After();
    };
    if (bSimulate == !ports.isEmpty()) return UsageError("run", "give either --port PATH or --simulate");
    if (!InputFileFound("run", file)) {
        Line("summary: 0 steps run, 0 passed; file not loaded\n");
        return EXIT_FAILED;
    }
    if (!logFolder.isEmpty()) {
        logFolder = QDir(logFolder).absolutePath();
        CreateFolders(logFolder);
        if (!logFolder.endsWith('/')) logFolder += '/';
    }

    std::unique_ptr<CTorvexSimulator> sim;
    QString logPath;
    // The simulator's command log (--log) is written when the run is over and
    // the line closed, on every way out.
    struct LogOnExit {
        std::unique_ptr<CTorvexSimulator>& sim;
        const QString& path;
        ~LogOnExit() {
            if (!sim || path.isEmpty()) return;
            sim->Stop();
            QFile f(path);
            qsizetype nWritten = 0;
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || !AppendCommandLog(f, *sim, nWritten))
                Err(QString("torvex run: cannot write the log file %1\n").arg(path));
        }
    } logOnExit{sim, logPath};
    if (bSimulate) {
        SimOptions options;
        QString error;
        if (!ParseSimOptions(simArgs, options, error)) return UsageError("run", error);
        sim = std::make_unique<CTorvexSimulator>(options);
        if (!sim->Start()) {
            Err("torvex run: the simulator could not be started\n");
            return EXIT_FAILED;
        }
        ports = QStringList{sim->DevicePath()};
        logPath = options.strLogFile;
    }
    if (!ports.isEmpty()) {
        qputenv("TORVEX_PORTS_ONLY", "1");
        CRsBasicProtocol::SetExtraPorts(ports);
    }

    CConsoleDialog dialog(bYes, bRecords);
    dialog.SetAround([&] { progress.Before(); }, [&] { progress.After(); });
    CSession session(dialog);
    session.AttachRunView(&progress);
    if (!session.Connect()) {
        Line("message: TORVEX not found\n");
        // A port we may not open or another program holds is not "not found".
        for (const CTorvexCntl::PortProblem& problem : session.PortProblems()) {
            PORT_ACCESS_RESULT access = JudgePortAccess(GatherPortFacts(problem.strPath));
            if (access.m_eAccess == PORT_ACCESS_OK) {
                access.m_strReason = QStringLiteral("it is in use by another program");
                access.m_strAction = QStringLiteral("end that program and try again");
            }
            Line(QString("message: cannot open %1: %2; %3\n")
                    .arg(problem.strPath, access.m_strReason, access.m_strAction));
        }
        Line("summary: 0 steps run, 0 passed; no instrument\n");
        return EXIT_FAILED;
    }
    int32_t model = session.QueryModelType();
    if (model == 0) model = int32_t(modelOption);
    session.SetNotConnected(false);
    session.SetMachineType(model);

    CTorvexDoc& doc = session.Doc();
    const bool bSequence = file.endsWith(".tvxs", Qt::CaseInsensitive);
    doc.OnNewDocument();
    bool loaded;
    if (bSequence) {
        doc.SetTab(TAB_SEQUENCE);
        loaded = doc.ReadSequenceFile(file);
    } else {
        doc.SetTab(TAB_MANUAL);
        loaded = doc.OpenDocument(file);
    }
    if (!loaded) {
        Line("summary: 0 steps run, 0 passed; file not loaded\n");
        return EXIT_FAILED;
    }

    CTestProperty& property = session.Property();
    property.LoadFromProfile();
    property.LoadEquipmentFromProfile();
    CRunEngine& engine = session.Engine();
    engine.Start();
    engine.SetMode(bSequence ? MODE_SEQUENCE : MODE_MANUAL);
    engine.SetStopEveryStep(bStopEvery);
    engine.SetLogFolderOverride(logFolder);
    doc.m_nCurStep = 0;
    doc.m_sequence.m_nCurEntry = 0;

    // The run and its judgments are on disk as they happen.
    session.OpenJournal();

    int nRun = 0, nPassed = 0;
    QString why;
    // A reader that went away (`| head`) stops the test as Ctrl+C would: the
    // output must not go on unwatched, and the program must not die of SIGPIPE
    // before "CB" has gone out.
    std::signal(SIGPIPE, SIG_IGN);
    bool bOutputLost = false;
    CStepListing records(nFormat, bSequence, [&](const char* pData, size_t nSize) {
        return std::fwrite(pData, 1, nSize, stdout) == nSize && std::fflush(stdout) == 0;
    }, true);
    records.SetUnbuffered(true);
    const auto OutputLost = [&] {
        if (bOutputLost) return;
        bOutputLost = true;
        Err(QString("torvex run: cannot write the output: %1; the test is stopped\n")
                .arg(QString::fromLocal8Bit(std::strerror(errno ? errno : EPIPE))));
        const bool bRunning = engine.State() != RunState::Idle || engine.IsStartPending();
        if (!bRunning) {
            why = "stopped";
            QCoreApplication::exit(0);
        } else if (!engine.IsStopRequested()) {
            engine.OnStop(); // the run poll then ends the run as stopped
        }
    };
    if (bRecords) {
        records.WriteHeader();
        if (!records.Finish()) {
            Err(QString("torvex run: cannot write the output: %1\n")
                    .arg(QString::fromLocal8Bit(std::strerror(errno))));
            return EXIT_FAILED;
        }
    }
    // A pipe whose reader has gone is seen at once, not at the next step's end.
    QTimer readerWatch;
    struct stat st {};
    if (bRecords && fstat(STDOUT_FILENO, &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode))) {
        QObject::connect(&readerWatch, &QTimer::timeout, [&] {
            pollfd p{STDOUT_FILENO, 0, 0};
            if (poll(&p, 1, 0) == 1 && (p.revents & (POLLERR | POLLHUP))) {
                errno = EPIPE;
                OutputLost();
            }
        });
        readerWatch.start(250);
    }
    QObject::connect(&engine, &CRunEngine::stepStarted, [&](int entry, int step) {
        const std::vector<CExecData>* steps = engine.Cursor().m_pSteps;
        const QString texts =
            steps && step < int(steps->size()) ? StepLine((*steps)[size_t(step)]) : QString();
        Line(QString("start\t%1\t%2\t%3\n")
                .arg(entry < 0 ? QString("-") : QString::number(entry + 1))
                .arg(step + 1)
                .arg(texts));
    });
    QObject::connect(&engine, &CRunEngine::stepEnded, [&](int entry, int step, int judge) {
        ++nRun;
        if (judge == JUDGE_PASS) ++nPassed;
        CExecData j;
        j.m_nJudge = judge;
        Line(QString("end\t%1\t%2\t%3\n")
                 .arg(entry < 0 ? QString("-") : QString::number(entry + 1))
                 .arg(step + 1)
                 .arg(j.GetText(COL_JUDGE)));
        const std::vector<CExecData>* steps = engine.Cursor().m_pSteps;
        if (!bRecords || bOutputLost || !steps || step >= int(steps->size())) return;
        CExecData record = (*steps)[size_t(step)];
        record.m_nJudge = judge;
        const CSettingData* test =
            entry < 0 ? &doc.m_settingManual : doc.m_sequence.Entry(entry);
        records.WriteStep(entry < 0 ? 1 : entry + 1, test ? test->m_strTestName : QString(), step + 1, record);
        if (!records.Finish()) OutputLost();
    });
    QObject::connect(&engine, &CRunEngine::runEnded, [&](RunEnd eWhy) {
        if (eWhy == RunEnd::Between) {
            QTimer::singleShot(0, &engine, [&] { engine.OnStart(); });
            return;
        }
        why = RunEndName(eWhy);
        progress.Done();
        QCoreApplication::exit(0);
    });

    // A start that is cancelled or refused leaves the engine idle without a run.
    QTimer::singleShot(0, &engine, [&] {
        engine.OnStart();
        WhenIdle(engine, [&] {
            if (engine.State() == RunState::Idle && !engine.IsStartPending() && why.isEmpty()) {
                why = "not started";
                QCoreApplication::exit(0);
            }
        });
    });

    // Ctrl+C, a kill or a closed terminal: the output is stopped first and the
    // run ends as a stop; a second one ends the program at once (after "CB").
    CStopSignals stopSignals;
    QObject::connect(&stopSignals, &CStopSignals::received, [&](int, int nCount) {
        const bool bRunning = engine.State() != RunState::Idle || engine.IsStartPending();
        if (nCount == 1 && bRunning && !engine.IsStopRequested()) {
            engine.OnStop(); // the run poll then ends the run as stopped
            return;
        }
        engine.Close();
        why = "stopped";
        QCoreApplication::exit(0);
    });

    QCoreApplication::exec();
    engine.Close();

    progress.Done();
    Line(QString("summary: %1 steps run, %2 passed; %3\n").arg(nRun).arg(nPassed).arg(why));
    const int code = why == "finished" && nRun == nPassed && !bOutputLost ? EXIT_OK : EXIT_FAILED;
    if (reportPath.isEmpty()) return code;
    const std::optional<CReportData> data =
        CollectReport(doc, bSequence ? TAB_SEQUENCE : TAB_MANUAL, property, uint32_t(model));
    if (!data) {
        Err("torvex run: nothing to report\n");
        return EXIT_FAILED;
    }
    QString error;
    if (WriteReport(*data, reportPath, &error)) return code;
    Err(QString("torvex run: cannot write the report %1: %2\n").arg(reportPath, error));
    // The judgments of the run exist nowhere else: keep them in the report folder.
    const REPORT_RESULT saved = SaveReport(*data);
    if (saved.m_bWritten)
        Err(QString("torvex run: the report was saved as %1\n").arg(saved.m_strPath));
    else
        Err(QString("torvex run: cannot write the report %1: %2\n").arg(saved.m_strPath, saved.m_strError));
    return EXIT_FAILED;
}

} // namespace torvex
