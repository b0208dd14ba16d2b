#include "journal/SameWorkbook.h"

#include "config/TestProperty.h"
#include "files/TabCode.h"
#include "files/TorvexDoc.h"
#include "instrument/TorvexCntl.h"
#include "journal/Journal.h"
#include "journal/JournalRun.h"
#include "journal/RunRecorder.h"
#include "model/ExecData.h"
#include "results/JudgmentStore.h"
#include "results/ReportWriter.h"
#include "run/RunEngine.h"
#include "session/Session.h"
#include "support/QuietDoc.h"
#include "support/RecordingRunView.h"
#include "support/ScriptedDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace torvex {

namespace {

const QString kExamples = QStringLiteral(TORVEX_TEST_DATA_DIR "/../examples/");

// A document with each tab's test loaded, and test information to report.
struct DocFixture : QUIET_DOC {
    CTestProperty property;

    DocFixture() {
        doc.SetTab(TAB_MANUAL);
        EXPECT_TRUE(doc.ReadDocument(kExamples + "three_steps.tvx"));
        EXPECT_TRUE(doc.ReadSequenceFile(kExamples + "two_tests.tvxs"));
        property.m_strCompanyName = QStringLiteral("Kelvora 試験所");
        property.m_strOperator = QStringLiteral("山田");
        property.m_aeqOption[1].m_strModel = QStringLiteral("CDN-3");
        property.m_timeStartStandard = 1712120709;
        property.m_timeStartManual = 1712120800;
        property.m_timeStartSequence = 1712120900;
    }
    std::vector<CExecData>& Steps(int nTab, int nEntry = 0) {
        if (nTab == TAB_STANDARD) return doc.m_settingStandard.m_listExec;
        if (nTab == TAB_MANUAL) return doc.m_settingManual.m_listExec;
        return doc.m_sequence.Entry(nEntry)->m_listExec;
    }
};

class JournalTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QObject::connect(&m_journal, &CJournal::problem, [this](const QString& s) { m_problems << s; });
    }
    QString Folder() const { return m_dir.path() + "/data"; }

    QTemporaryDir m_dir;
    CJournal m_journal;
    QStringList m_problems;
};

} // namespace

// The report of a journalled run is the report the program writes from its
// screens: same sheets, same cells, same bytes but the creation stamp. Every
// tab, with judgments and comments set before the run, during it and after it.
TEST_F(JournalTest, ReportOfARunIsTheReportOfTheScreen) {
    ASSERT_TRUE(m_journal.Open(Folder()));
    for (int nTab : {TAB_STANDARD, TAB_MANUAL, TAB_SEQUENCE}) {
        SCOPED_TRACE(nTab);
        DocFixture f;
        const int nEntry = nTab == TAB_SEQUENCE ? 1 : 0;
        ASSERT_FALSE(f.Steps(nTab, nEntry).empty());
        const size_t last = f.Steps(nTab, nEntry).size() - 1;
        f.Steps(nTab, nEntry)[last].m_nJudge = JUDGE_FAIL;
        f.Steps(nTab, nEntry)[last].m_strComment = QStringLiteral("放電あり\n2 回目\tタブ");
        const qint64 run = m_journal.BeginRun(DescribeRun(f.doc, nTab, f.property, MODEL_K2, "sim"),
                                              MarkedSteps(f.doc, nTab));
        ASSERT_GT(run, 0);
        f.Steps(nTab, nEntry)[0].m_nJudge = JUDGE_PASS;
        f.Steps(nTab, nEntry)[0].m_strComment.clear();
        EXPECT_TRUE(m_journal.StepStarted(run, nEntry, 0));
        EXPECT_TRUE(m_journal.StepEnded(run, nEntry, 0, JUDGE_PASS));
        EXPECT_TRUE(m_journal.EndRun(run, OUTCOME_STOPPED));
        // After the run the operator comments on the first step.
        f.Steps(nTab, nEntry)[0].m_strComment = QStringLiteral("後から");
        JOURNAL_STEP later{nEntry, 0, JUDGE_PASS, QStringLiteral("後から")};
        EXPECT_TRUE(m_journal.SetSteps(run, {later}, "judgment"));

        const std::optional<CReportData> screen = CollectReport(f.doc, nTab, f.property, MODEL_K2);
        const std::optional<CReportData> journalled = ReportOfRun(*m_journal.Run(run), m_journal.Steps(run));
        ASSERT_TRUE(screen && journalled);
        const QString a = m_dir.path() + "/screen.xlsx", b = m_dir.path() + "/journal.xlsx";
        ASSERT_TRUE(WriteReport(*screen, a));
        ASSERT_TRUE(WriteReport(*journalled, b));
        EXPECT_EQ(WorkbookDifference(a, b), QString());

        const JOURNAL_RUN listed = m_journal.ListRuns().front();
        EXPECT_EQ(listed.m_nId, run);
        EXPECT_EQ(listed.m_nOutcome, OUTCOME_STOPPED);
        EXPECT_EQ(listed.m_nStepsRun, 1);
        EXPECT_EQ(listed.m_nPassed, 1);
        EXPECT_EQ(listed.m_nFailed, last > 0 ? 1 : 0);
    }
    EXPECT_TRUE(m_problems.isEmpty()) << m_problems.join('\n').toStdString();
}

// The history's filters: by start, by part of the file name, by outcome.
TEST_F(JournalTest, HistoryFiltersAndOrder) {
    ASSERT_TRUE(m_journal.Open(Folder()));
    DocFixture f;
    JOURNAL_RUN_START start = DescribeRun(f.doc, TAB_MANUAL, f.property, MODEL_K2, "sim");
    const struct {
        qint64 ms;
        const char* file;
        int32_t outcome; // -1: never ended
    } runs[] = {{1000, "/lab/A/burst_L1.tvx", OUTCOME_COMPLETED},
                {2000, "/lab/B/Burst_L2.tvx", OUTCOME_STOPPED},
                {3000, "/lab/B/surge.tvx", -1}};
    for (const auto& r : runs) {
        start.m_strFile = QString::fromLatin1(r.file);
        const qint64 id = m_journal.BeginRun(start, {}, r.ms);
        if (r.outcome >= 0) m_journal.EndRun(id, r.outcome, {}, r.ms + 10);
    }
    const auto ids = [&](const JOURNAL_FILTER& filter) {
        std::vector<qint64> out;
        for (const JOURNAL_RUN& r : m_journal.ListRuns(filter))
            out.push_back(r.m_nId);
        return out;
    };
    EXPECT_EQ(ids({}), (std::vector<qint64>{3, 2, 1})); // newest first
    EXPECT_EQ(ids({1500, -1, {}, -2}), (std::vector<qint64>{3, 2}));
    EXPECT_EQ(ids({-1, 2000, {}, -2}), (std::vector<qint64>{1}));
    EXPECT_EQ(ids({-1, -1, "BURST", -2}), (std::vector<qint64>{2, 1}));
    EXPECT_EQ(ids({-1, -1, {}, OUTCOME_STOPPED}), (std::vector<qint64>{2}));
    EXPECT_EQ(ids({-1, -1, {}, -1}), (std::vector<qint64>{3}));
    EXPECT_EQ(m_journal.UnfinishedRuns(), (std::vector<qint64>{3}));
    EXPECT_FALSE(m_journal.ListRuns().front().IsFinished());
}

// A run whose process still lives is not abandoned; one whose process is gone is.
TEST_F(JournalTest, AbandonedRunsAreThoseOfDeadProcesses) {
    ASSERT_TRUE(m_journal.Open(Folder()));
    DocFixture f;
    JOURNAL_RUN_START start = DescribeRun(f.doc, TAB_MANUAL, f.property, MODEL_K2, "sim");
    start.m_nProcess = getppid(); // alive: whoever started the test
    const qint64 alive = m_journal.BeginRun(start, {});
    start.m_nProcess = 0; // unknown: taken for dead
    const qint64 dead = m_journal.BeginRun(start, {});
    EXPECT_EQ(m_journal.UnfinishedRuns(), (std::vector<qint64>{alive, dead}));
    EXPECT_EQ(m_journal.AbandonedRuns(), (std::vector<qint64>{dead}));
}

// The recorder: a run is begun at the first step, its steps journalled, a pause
// between steps keeps it open for the next START of the same test, and the
// operator's judgments after the run belong to it only while the test on screen
// is still that test.
TEST_F(JournalTest, RecorderFollowsRunsAndLaterJudgments) {
    ASSERT_TRUE(m_journal.Open(Folder()));
    DocFixture f;
    CScriptedDialog dialog;
    CRecordingRunView view;
    CSession session(dialog);
    session.AttachRunView(&view);
    CRunEngine& engine = session.Engine();
    engine.SetMode(MODE_MANUAL);
    CJudgmentStore store(f.doc);
    CRunRecorder recorder(m_journal, engine, f.doc, f.property, &store, dialog);
    recorder.SetInstrument(MODEL_K2, "sim");

    emit engine.stepStarted(-1, 0);
    emit engine.stepEnded(-1, 0, JUDGE_PASS);
    emit engine.runEnded(RunEnd::Between); // stop after every step
    const qint64 run = recorder.OpenRun();
    ASSERT_GT(run, 0);
    EXPECT_FALSE(m_journal.Run(run)->IsFinished());
    store.SetStep(TAB_MANUAL, 0, JUDGE_FAIL, QStringLiteral("目視で不合格"));
    emit engine.stepStarted(-1, 1); // the same test goes on
    emit engine.pauseChanged(true);
    emit engine.pauseChanged(false);
    emit engine.runError(QStringLiteral("過電流"));
    emit engine.stepEnded(-1, 1, JUDGE_NONE);
    emit engine.runEnded(RunEnd::Error);
    EXPECT_EQ(recorder.OpenRun(), -1);
    EXPECT_EQ(m_journal.Run(run)->m_nOutcome, OUTCOME_ERROR);
    EXPECT_EQ(m_journal.ListRuns().size(), 1u);

    store.SetAllJudgments(TAB_MANUAL, JUDGE_PASS); // after the run: still its test
    std::vector<JOURNAL_STEP> steps = m_journal.Steps(run);
    ASSERT_EQ(steps.size(), f.Steps(TAB_MANUAL).size());
    for (const JOURNAL_STEP& s : steps)
        EXPECT_EQ(s.m_nJudge, JUDGE_PASS);
    EXPECT_EQ(steps[0].m_strComment, QStringLiteral("目視で不合格"));
    EXPECT_GE(steps[1].m_msEnded, steps[1].m_msStarted);

    // A changed condition is another test: its judgments belong to no run.
    f.doc.m_settingManual.m_valVolt.m_lValue += 10;
    store.DeleteAllComments(TAB_MANUAL);
    EXPECT_EQ(m_journal.Steps(run)[0].m_strComment, QStringLiteral("目視で不合格"));

    // Another test started after a pause between steps: the paused run ends as stopped.
    emit engine.stepStarted(-1, 0);
    emit engine.runEnded(RunEnd::Between);
    const qint64 paused = recorder.OpenRun();
    engine.SetMode(MODE_SEQUENCE);
    emit engine.stepStarted(0, 0);
    EXPECT_EQ(m_journal.Run(paused)->m_nOutcome, OUTCOME_STOPPED);
    const qint64 seq = recorder.OpenRun();
    EXPECT_NE(seq, paused);
    recorder.ProgramEnding();
    EXPECT_EQ(m_journal.Run(seq)->m_nOutcome, OUTCOME_ENDED);
    EXPECT_EQ(m_journal.Run(seq)->m_nTab, TAB_SEQUENCE);
}

// The engine's words for the end of a run, mapped in one place.
TEST(RunRecorder, EngineEndsMapToOutcomes) {
    const struct {
        RunEnd why;
        bool ends;
        int32_t outcome;
    } cases[] = {{RunEnd::Finished, true, OUTCOME_COMPLETED},
                 {RunEnd::Stopped, true, OUTCOME_STOPPED},
                 {RunEnd::Error, true, OUTCOME_ERROR},
                 {RunEnd::Lost, true, OUTCOME_LOST},
                 {RunEnd::Between, false, -1}};
    for (const auto& c : cases) {
        int32_t outcome = -1;
        const char* name = RunEndName(c.why);
        EXPECT_EQ(CRunRecorder::OutcomeOfEngineEnd(c.why, outcome), c.ends) << name;
        if (c.ends) {
            EXPECT_EQ(outcome, c.outcome) << name;
        }
    }
}

// ---------------------------------------------------------------- faults

// A journal that cannot be used never stops anything: every call returns,
// the operator is told once, and a file that is no database is kept aside
// untouched while a new journal starts.
TEST_F(JournalTest, FolderThatCannotBeMadeIsToldOnce) {
    QFile blocker(m_dir.path() + "/blocked");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(m_journal.Open(m_dir.path() + "/blocked/data"));
    DocFixture f;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m_journal.BeginRun(DescribeRun(f.doc, TAB_MANUAL, f.property, MODEL_K2, "sim"), {}), -1);
    EXPECT_FALSE(m_journal.StepStarted(-1, 0, 0));
    EXPECT_EQ(m_problems.size(), 1);
}

TEST_F(JournalTest, ReadOnlyFolderIsToldOnce) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    QDir().mkpath(Folder());
    QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_FALSE(m_journal.Open(Folder()));
    DocFixture f;
    EXPECT_EQ(m_journal.BeginRun(DescribeRun(f.doc, TAB_MANUAL, f.property, MODEL_K2, "sim"), {}), -1);
    EXPECT_EQ(m_problems.size(), 1);
    QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(JournalTest, FileThatIsNoDatabaseIsKeptAside) {
    QDir().mkpath(Folder());
    const QByteArray junk = QByteArray("this is a spreadsheet, not a journal\n").repeated(200);
    QFile file(Folder() + "/" + CJournal::FileName());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(junk);
    file.close();

    ASSERT_TRUE(m_journal.Open(Folder()));
    ASSERT_FALSE(m_journal.KeptAside().isEmpty());
    QFile aside(m_journal.KeptAside());
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), junk);
    EXPECT_EQ(m_problems.size(), 1);
    EXPECT_TRUE(m_problems.value(0).contains(QFileInfo(m_journal.KeptAside()).fileName()));
    DocFixture f;
    EXPECT_GT(m_journal.BeginRun(DescribeRun(f.doc, TAB_MANUAL, f.property, MODEL_K2, "sim"), {}), 0);
    EXPECT_EQ(m_problems.size(), 1);
}

TEST_F(JournalTest, LockedDatabaseIsToldOnceAndUsedAgainWhenFree) {
    ASSERT_TRUE(m_journal.Open(Folder()));
    DocFixture f;
    const JOURNAL_RUN_START start = DescribeRun(f.doc, TAB_MANUAL, f.property, MODEL_K2, "sim");
    const qint64 run = m_journal.BeginRun(start, {});
    ASSERT_GT(run, 0);
    {
        // Another program holds the write lock.
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other-program");
        other.setDatabaseName(m_journal.Path());
        ASSERT_TRUE(other.open());
        QSqlQuery lock(other);
        ASSERT_TRUE(lock.exec("BEGIN EXCLUSIVE"));
        EXPECT_FALSE(m_journal.StepStarted(run, 0, 0));
        EXPECT_FALSE(m_journal.StepEnded(run, 0, 0, JUDGE_PASS));
        EXPECT_EQ(m_problems.size(), 1);
        ASSERT_TRUE(lock.exec("ROLLBACK"));
        lock = QSqlQuery();
        other.close();
    }
    QSqlDatabase::removeDatabase("other-program");
    EXPECT_TRUE(m_journal.StepEnded(run, 0, 0, JUDGE_PASS));
    EXPECT_EQ(m_journal.Steps(run).front().m_nJudge, JUDGE_PASS);
    EXPECT_EQ(m_problems.size(), 1);
}

TEST_F(JournalTest, FullDiskIsToldOnceAndTheJournalStaysReadable) {
    ASSERT_TRUE(m_journal.Open(Folder()));
    DocFixture f;
    const qint64 run = m_journal.BeginRun(DescribeRun(f.doc, TAB_MANUAL, f.property, MODEL_K2, "sim"), {});
    ASSERT_GT(run, 0);
    // The file size limit stands in for a full disk: writes past it fail.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const QFileInfo wal(m_journal.Path() + "-wal");
    struct rlimit tight = old;
    tight.rlim_cur = rlim_t(std::max<qint64>(wal.size(), QFileInfo(m_journal.Path()).size()) + 8192);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    int failed = 0;
    const QString big(20000, QChar(u'長'));
    for (int i = 0; i < 20; ++i)
        failed += !m_journal.SetSteps(run, {JOURNAL_STEP{0, i % 3, JUDGE_PASS, big}}, "judgment");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_GT(failed, 0);
    EXPECT_EQ(m_problems.size(), 1);

    CJournal reader;
    ASSERT_TRUE(reader.OpenForReading(Folder()));
    ASSERT_TRUE(reader.Run(run).has_value());
    EXPECT_TRUE(m_journal.StepStarted(run, 0, 1)); // room again: it goes on
}

// A journal written by the first layout (the copies of the file and the test
// information inside the runs table) is read as it is, and the first writer
// that opens it moves the copies out in one transaction: every run reads back
// the same, the history lists the same, and new runs go on from there.
TEST_F(JournalTest, JournalOfTheFirstLayoutIsReadAndBroughtUpToDate) {
    DocFixture f;
    const JOURNAL_RUN_START start = DescribeRun(f.doc, TAB_SEQUENCE, f.property, MODEL_K2, "sim");
    ASSERT_FALSE(start.m_source.isEmpty());
    QDir().mkpath(Folder());
    const QString path = Folder() + "/" + CJournal::FileName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "first-layout");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const char* sql : {
                 "PRAGMA journal_mode=WAL",
                 "CREATE TABLE runs(id INTEGER PRIMARY KEY, started INTEGER NOT NULL, ended INTEGER,"
                 " outcome TEXT, tab INTEGER NOT NULL, file TEXT NOT NULL, model INTEGER NOT NULL,"
                 " steps_run INTEGER NOT NULL DEFAULT 0, passed INTEGER NOT NULL DEFAULT 0,"
                 " failed INTEGER NOT NULL DEFAULT 0, report_start INTEGER NOT NULL,"
                 " process INTEGER NOT NULL DEFAULT 0, instrument TEXT NOT NULL, version TEXT NOT NULL,"
                 " tests BLOB NOT NULL, property BLOB NOT NULL, source BLOB NOT NULL)",
                 "CREATE INDEX runs_unfinished ON runs(ended) WHERE ended IS NULL",
                 "CREATE TABLE steps(run INTEGER NOT NULL, entry INTEGER NOT NULL, step INTEGER NOT NULL,"
                 " judgment INTEGER NOT NULL DEFAULT 0, comment TEXT NOT NULL DEFAULT '', started INTEGER,"
                 " ended INTEGER, PRIMARY KEY(run, entry, step)) WITHOUT ROWID",
                 "CREATE TABLE events(id INTEGER PRIMARY KEY, run INTEGER NOT NULL, at INTEGER NOT NULL,"
                 " kind TEXT NOT NULL, entry INTEGER, step INTEGER, judgment INTEGER, text TEXT)",
                 "CREATE INDEX events_run ON events(run)", "PRAGMA user_version=1"})
            ASSERT_TRUE(q.exec(QString::fromLatin1(sql))) << sql;
        q.prepare("INSERT INTO runs VALUES(7, 1000, 2000, 'stopped', ?, ?, ?, 2, 1, 1, ?, 0, ?, ?, ?, ?, ?)");
        for (const QVariant& v : {QVariant(start.m_nTab), QVariant(start.m_strFile), QVariant(start.m_ulModel),
                                  QVariant(start.m_timeReportStart), QVariant(start.m_strInstrument),
                                  QVariant(start.m_strVersion), QVariant(start.m_tests),
                                  QVariant(start.m_property), QVariant(start.m_source)})
            q.addBindValue(v);
        ASSERT_TRUE(q.exec());
        ASSERT_TRUE(q.exec("INSERT INTO steps VALUES(7, 1, 0, 1, 'ノイズ', 1100, 1200)"));
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase("first-layout");

    const auto same = [&](const CJournal& journal) {
        const std::vector<JOURNAL_RUN> listed = journal.ListRuns();
        ASSERT_EQ(listed.size(), 1u);
        EXPECT_EQ(listed[0].m_nId, 7);
        EXPECT_EQ(listed[0].m_nOutcome, OUTCOME_STOPPED);
        EXPECT_EQ(listed[0].m_nFailed, 1);
        const std::optional<JOURNAL_RUN> run = journal.Run(7);
        ASSERT_TRUE(run.has_value());
        EXPECT_EQ(run->m_strFile, start.m_strFile);
        EXPECT_EQ(run->m_source, start.m_source);
        EXPECT_EQ(run->m_tests, start.m_tests);
        EXPECT_EQ(run->m_property, start.m_property);
        EXPECT_EQ(run->m_strInstrument, start.m_strInstrument);
        ASSERT_EQ(journal.Steps(7).size(), 1u);
        EXPECT_EQ(journal.Steps(7)[0].m_strComment, QStringLiteral("ノイズ"));
    };
    {
        CJournal reader;
        ASSERT_TRUE(reader.OpenForReading(Folder()));
        same(reader);
    }
    ASSERT_TRUE(m_journal.Open(Folder()));
    same(m_journal);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "look");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("PRAGMA user_version") && q.next());
        EXPECT_EQ(q.value(0).toInt(), 2);
        EXPECT_FALSE(q.exec("SELECT source FROM runs")); // the runs table holds small rows only
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase("look");
    // The counts follow the judgments from here on.
    EXPECT_TRUE(m_journal.SetSteps(7, {JOURNAL_STEP{1, 0, JUDGE_PASS, {}}}, "judgment"));
    EXPECT_TRUE(m_journal.SetSteps(7, {JOURNAL_STEP{1, 1, JUDGE_FAIL, {}}}, "judgment"));
    EXPECT_EQ(m_journal.ListRuns()[0].m_nPassed, 1);
    EXPECT_EQ(m_journal.ListRuns()[0].m_nFailed, 1);
    const qint64 next = m_journal.BeginRun(start, {});
    EXPECT_EQ(next, 8);
    EXPECT_TRUE(m_journal.EndRun(next, OUTCOME_COMPLETED, QByteArray("later")));
    EXPECT_EQ(m_journal.Run(next)->m_property, QByteArray("later"));
    EXPECT_EQ(m_journal.Run(next)->m_source, start.m_source);
    EXPECT_TRUE(m_problems.isEmpty()) << m_problems.join('\n').toStdString();
}

} // namespace torvex
