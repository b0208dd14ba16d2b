#include "config/IniKeys.h"
#include "config/Profile.h"
#include "config/SettingsFixture.h"
#include "config/TestProperty.h"
#include "files/TabCode.h"
#include "files/TorvexDoc.h"
#include "gui/app/MainFrame.h"
#include "gui/app/SplashDlg.h"
#include "gui/app/TorvexApp.h"
#include "gui/app/TorvexView.h"
#include "gui/journal/HistoryDlg.h"
#include "gui/results/ExecListDlg.h"
#include "gui/screens/StandardDlg.h"
#include "journal/Journal.h"
#include "journal/JournalRun.h"
#include "journal/SameWorkbook.h"
#include "model/ScreenRules.h"
#include "model/StepExpansion.h"
#include "results/ReportReader.h"
#include "results/ReportWriter.h"
#include "run/RunEngine.h"
#include "support/QuietDoc.h"
#include "support/ScriptedDialog.h"
#include "support/Wait.h"

#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QUrl>

namespace torvex {

namespace {

const QString kExamples = QStringLiteral(TORVEX_TEST_DATA_DIR "/../examples/");
const QString kQuestionStart = QStringLiteral("前回の試験は終了しないまま中断されました。");

// Stands in for the default program that opens a saved workbook.
class CJournalOpener : public QObject {
    Q_OBJECT
public slots:
    void Open(const QUrl& url) { m_opened << url.toLocalFile(); }

public:
    QStringList m_opened;
};

// The desktop program started over a journal that holds a run its process
// never ended, as a crash leaves it.
class JournalWindowTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(HomeDir() + "/run"));
        m_oldData = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(HomeDir() + "/.local/share"));
        WriteCrashedRun();
    }
    void TearDown() override {
        m_app.reset();
        g_bNotConnected = 0;
        qputenv("XDG_DATA_HOME", m_oldData);
        SettingsFixture::TearDown();
    }

    // A MANUAL run of three_steps.tvx: step 1 passed, step 2 judged fail with
    // a comment, then the program died.
    void WriteCrashedRun() {
        QUIET_DOC quiet;
        CTorvexDoc& doc = quiet.doc;
        ASSERT_TRUE(doc.ReadDocument(kExamples + "three_steps.tvx"));
        CTestProperty property;
        property.m_strCompanyName = QStringLiteral("Kelvora 試験所");
        property.m_timeStartManual = 1712120709;
        CJournal journal;
        ASSERT_TRUE(journal.Open());
        JOURNAL_RUN_START start = DescribeRun(doc, TAB_MANUAL, property, MODEL_K2, "sim");
        start.m_nProcess = 0; // a process that is gone
        m_nRun = journal.BeginRun(start, {});
        ASSERT_GT(m_nRun, 0);
        journal.StepStarted(m_nRun, 0, 0);
        journal.StepEnded(m_nRun, 0, 0, JUDGE_PASS);
        journal.StepStarted(m_nRun, 0, 1);
        journal.StepEnded(m_nRun, 0, 1, JUDGE_PASS);
        journal.SetSteps(m_nRun, {JOURNAL_STEP{0, 1, JUDGE_FAIL, QStringLiteral("EUT 再起動")}}, "judgment");
        journal.StepStarted(m_nRun, 0, 2);
    }

    void Start() {
        APP_OPTIONS options;
        options.m_bSimulate = true;
        options.m_simulatorArgs = {"--time-scale", "60"};
        m_app = std::make_unique<CTorvexApp>(options, &m_dialog);
        ASSERT_TRUE(m_app->InitInstance());
        ASSERT_TRUE(WaitFor([] { return CSplashDlg::Current() == nullptr; }, 5000));
    }
    CTorvexView& View() { return *m_app->MainFrame()->View(); }
    int QuestionsAsked() const {
        int n = 0;
        for (const auto& e : m_dialog.m_log)
            n += e.text.startsWith(kQuestionStart);
        return n;
    }

    CScriptedDialog m_dialog;
    std::unique_ptr<CTorvexApp> m_app;
    QByteArray m_oldData;
    qint64 m_nRun = -1;
};

} // namespace

// Yes brings the run back onto the MANUAL tab with every judgment and comment,
// the screen's report is the run's report, later judgments join the run, and
// the question is never asked again.
TEST_F(JournalWindowTest, RecoveryBringsTheRunBack) {
    m_dialog.QueueAnswer(COperatorDialog::Yes);
    Start();
    ASSERT_EQ(QuestionsAsked(), 1) << m_dialog.Texts().join('\n').toStdString();
    EXPECT_EQ(View().Tab(), TAB_MANUAL);
    CTorvexDoc& doc = m_app->Doc();
    const std::vector<CExecData>& steps = doc.m_settingManual.m_listExec;
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].m_nJudge, JUDGE_PASS);
    EXPECT_EQ(steps[1].m_nJudge, JUDGE_FAIL);
    EXPECT_EQ(steps[1].m_strComment, QStringLiteral("EUT 再起動"));
    EXPECT_EQ(steps[2].m_nJudge, JUDGE_NONE);
    EXPECT_EQ(View().StepList()->Model()->index(1, 1).data().toString(), QStringLiteral("不合格"));
    EXPECT_EQ(doc.m_settingManual.m_strTestName, QStringLiteral("three_steps"));
    EXPECT_FALSE(doc.IsModified()); // the file still holds that test

    CJournal& journal = m_app->Session().Journal();
    ASSERT_TRUE(journal.Run(m_nRun)->IsFinished());
    EXPECT_EQ(journal.Run(m_nRun)->m_nOutcome, OUTCOME_ENDED);
    EXPECT_TRUE(journal.AbandonedRuns().empty());

    // The report from the screen is the report of the run.
    const QString a = HomeDir() + "/screen.xlsx", b = HomeDir() + "/journal.xlsx";
    ASSERT_TRUE(WriteReport(*CollectReport(doc, TAB_MANUAL, m_app->Session().Property(), MODEL_K2), a));
    ASSERT_TRUE(WriteReport(*ReportOfRun(*journal.Run(m_nRun), journal.Steps(m_nRun)), b));
    const REPORT_BOOK screen = ReadReportBook(a);
    ASSERT_TRUE(screen.m_bRead);
    EXPECT_EQ(screen.Text(0, "G6"), QDateTime::fromSecsSinceEpoch(1712120709).toString("HH:mm:ss"));
    EXPECT_EQ(screen.Text(1, "B12"), QStringLiteral("不合格"));
    EXPECT_EQ(screen.Text(1, "J12"), QStringLiteral("EUT 再起動"));

    // A batch change after the recovery belongs to the recovered run.
    View().StepList()->OnBatchJudge(); // the scripted operator answers OK
    for (const JOURNAL_STEP& s : journal.Steps(m_nRun))
        EXPECT_EQ(s.m_nJudge, JUDGE_NONE);

    m_app.reset();
    m_dialog.m_log.clear();
    Start();
    EXPECT_EQ(QuestionsAsked(), 0);
}

// No leaves the screens as they were; the run stays in the history, ended.
TEST_F(JournalWindowTest, DecliningKeepsTheScreensAndEndsTheRun) {
    m_dialog.QueueAnswer(COperatorDialog::No);
    Start();
    ASSERT_EQ(QuestionsAsked(), 1);
    for (const CExecData& s : m_app->Doc().m_settingManual.m_listExec)
        EXPECT_EQ(s.m_nJudge, JUDGE_NONE);
    EXPECT_EQ(m_app->Session().Journal().Run(m_nRun)->m_nOutcome, OUTCOME_ENDED);
}

// The history window lists the run, shows its steps and saves its report
// into the report folder, then opens it.
TEST_F(JournalWindowTest, HistoryWindowWritesTheReportOfARun) {
    m_dialog.QueueAnswer(COperatorDialog::No);
    Start();
    CHistoryDlg history(m_app->Session().Journal(), m_dialog, m_app->MainFrame());
    history.show();
    ASSERT_TRUE(history.SelectRun(m_nRun));
    EXPECT_EQ(history.Steps()->model()->rowCount(), 3);
    EXPECT_EQ(history.Steps()->model()->index(1, 2).data().toString(), QStringLiteral("不合格"));
    EXPECT_EQ(history.Steps()->model()->index(1, 3).data().toString(), QStringLiteral("EUT 再起動"));

    history.FileFilter()->setText("no such file");
    EXPECT_EQ(history.Runs()->model()->rowCount(), 0);
    EXPECT_FALSE(history.ReportButton()->isEnabled());
    history.FileFilter()->setText("THREE_steps");
    EXPECT_EQ(history.Runs()->model()->rowCount(), 1);

    CJournalOpener opener;
    QDesktopServices::setUrlHandler("file", &opener, "Open");
    m_dialog.m_log.clear();
    QTest::mouseClick(history.ReportButton(), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_TRUE(m_dialog.m_log.empty()) << m_dialog.Texts().join('\n').toStdString();
    ASSERT_EQ(opener.m_opened.size(), 1);
    EXPECT_TRUE(opener.m_opened[0].startsWith(ReportFolder()));
    const QString again = HomeDir() + "/again.xlsx";
    CJournal& journal = m_app->Session().Journal();
    ASSERT_TRUE(WriteReport(*ReportOfRun(*journal.Run(m_nRun), journal.Steps(m_nRun)), again));
    EXPECT_EQ(WorkbookDifference(opener.m_opened[0], again), QString());
    const REPORT_BOOK book = ReadReportBook(opener.m_opened[0]);
    EXPECT_EQ(book.Text(0, "C2"), QStringLiteral("Kelvora 試験所"));
    EXPECT_EQ(book.Text(1, "B11"), QStringLiteral("合格"));
    EXPECT_EQ(book.Text(1, "B12"), QStringLiteral("不合格"));
}

// A STANDARD run comes back while the program starts on MANUAL, before the
// STANDARD screen was ever shown: the screen then built shows the recovered
// condition and judgment (not the preset values it starts a new test with),
// and a change there goes on from that condition after the usual question.
TEST_F(JournalWindowTest, ARecoveredStandardRunShowsOnTheScreenBuiltForIt) {
    {
        QUIET_DOC quiet;
        CTorvexDoc& doc = quiet.doc;
        CSettingData& cond = doc.m_settingStandard;
        InitStandardCondition(cond);
        cond.m_nTestLevel = 2;
        cond.m_outOutput.m_nOutputPort = PORT_PULSE_OUT;
        DeriveStandardValues(cond);
        ExpandSteps(cond);
        CJournal journal;
        ASSERT_TRUE(journal.Open());
        JOURNAL_RUN_START start = DescribeRun(doc, TAB_STANDARD, CTestProperty(), MODEL_K2, "sim");
        start.m_nProcess = 0;
        const qint64 nRun = journal.BeginRun(start, {});
        ASSERT_GT(nRun, 0);
        journal.StepStarted(nRun, 0, 0);
        journal.StepEnded(nRun, 0, 0, JUDGE_FAIL);
    }
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "MANUAL");
    m_dialog.QueueAnswer(COperatorDialog::Yes);
    Start();
    ASSERT_EQ(QuestionsAsked(), 1) << m_dialog.Texts().join('\n').toStdString();
    ASSERT_EQ(View().Tab(), TAB_STANDARD);
    const CSettingData& cond = m_app->Doc().m_settingStandard;
    EXPECT_EQ(cond.m_nTestLevel, 2);
    auto* screen = View().findChild<CStandardDlg*>();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_TRUE(screen->LevelButton(2)->isChecked());
    EXPECT_TRUE(screen->OutputButton(PORT_PULSE_OUT)->isChecked());
    EXPECT_EQ(screen->VoltageText()->text(), QString::number(StandardVoltage(2, PORT_PULSE_OUT)));
    EXPECT_EQ(View().StepList()->Model()->index(0, 1).data().toString(), QStringLiteral("不合格"));

    m_dialog.m_log.clear();
    QTest::mouseClick(screen->LevelButton(3), Qt::LeftButton); // the scripted operator agrees
    EXPECT_EQ(m_dialog.m_log.size(), 1u) << m_dialog.Texts().join('\n').toStdString();
    EXPECT_EQ(cond.m_nTestLevel, 3);
    EXPECT_EQ(cond.m_outOutput.m_nOutputPort, PORT_PULSE_OUT);
    EXPECT_EQ(screen->VoltageText()->text(), QString::number(StandardVoltage(3, PORT_PULSE_OUT)));
    ASSERT_EQ(cond.m_listExec.size(), 1u);
    EXPECT_EQ(cond.m_listExec[0].m_nJudge, JUDGE_NONE);
}

} // namespace torvex

#include "journal_window_test.moc"
