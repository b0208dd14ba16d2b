#include "config/IniKeys.h"
#include "config/ManualLocation.h"
#include "config/Profile.h"
#include "config/SettingsFixture.h"
#include "files/TabCode.h"
#include "files/TorvexDoc.h"
#include "gui/app/MainFrame.h"
#include "gui/app/SplashDlg.h"
#include "gui/app/TorvexApp.h"
#include "gui/app/TorvexView.h"
#include "gui/app/TypeSelectDlg.h"
#include "gui/config/SettingsDlg.h"
#include "gui/screens/SequenceListDlg.h"
#include "gui/results/ExecListDlg.h"
#include "gui/results/JudgeDlg.h"
#include "gui/results/PlanChartWidget.h"
#include "gui/run/ExecDlg.h"
#include "gui/widgets/TooltipSwitch.h"
#include "model/StepExpansion.h"
#include "run/RunEngine.h"
#include "sim/TorvexSimulator.h"
#include "support/EngineProbe.h"
#include "support/ScriptedDialog.h"
#include "support/Wait.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QHeaderView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QSerialPort>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <csignal>

namespace torvex {

namespace {

const QString kFirstStart = QStringLiteral(
    "校正予定日が設定されていません。\nお知らせ機能を利用する場合は校正予定日を設定してください。\n\n"
    "本ソフトウェアではマニュアルテストまたはシーケンステストを開始するたびに試験ログを保存します。\n"
    "必要ない場合は試験ログ保存設定のチェックを外してください。");

// The desktop program on a simulated instrument, with the operator scripted.
class MainWindowTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(HomeDir() + "/run"));
    }
    void TearDown() override {
        m_app.reset();
        g_bNotConnected = 0;
        SettingsFixture::TearDown();
    }
    void Start(const QStringList& simulatorArgs = {"--time-scale", "60"}) {
        APP_OPTIONS options;
        options.m_bSimulate = true;
        options.m_simulatorArgs = simulatorArgs;
        m_app = std::make_unique<CTorvexApp>(options, &m_dialog);
        ASSERT_TRUE(m_app->InitInstance());
        // The splash takes every click until it has gone.
        ASSERT_TRUE(WaitFor([] { return CSplashDlg::Current() == nullptr; }, 5000));
    }
    CTorvexView& View() { return *m_app->MainFrame()->View(); }

    CScriptedDialog m_dialog;
    std::unique_ptr<CTorvexApp> m_app;
};

// Stands in for the default program that opens a saved workbook.
class COpener : public QObject {
    Q_OBJECT
public slots:
    void Open(const QUrl& url) { m_opened << url.toLocalFile(); }

public:
    QStringList m_opened;
};

} // namespace

TEST_F(MainWindowTest, FirstStartShowsSettingsAndWritesDefaults) {
    Start();
    EXPECT_EQ(View().Tab(), TAB_SETTINGS);
    EXPECT_EQ(m_app->MainFrame()->windowTitle(), QStringLiteral("SETTINGS - TORVEX_Pilot"));
    EXPECT_EQ(m_dialog.Messages(), QStringList{kFirstStart});
    EXPECT_FALSE(ReadProfileValue(INI_SECTION_CONTACT_INFO, INI_KEY_CONTACT_COMPANY, "").isEmpty());
    EXPECT_EQ(ReadProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_USE_TIPS, ""), "ON");
    EXPECT_EQ(ReadProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_NOT_DISP_HOUR, ""), "24");
    EXPECT_EQ(m_app->Session().MachineType(), 1); // the simulated instrument told its model
    EXPECT_FALSE(View().RunPanel()->isVisible());

    // Closing stores the tab; the next start restores it without the first-start message.
    View().SelectTab(TAB_MANUAL);
    EXPECT_TRUE(m_app->MainFrame()->close());
    EXPECT_EQ(ReadProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, ""), "MANUAL");
    m_app.reset();
    m_dialog.Clear();
    Start();
    EXPECT_EQ(View().Tab(), TAB_MANUAL);
    EXPECT_EQ(m_app->MainFrame()->windowTitle(), QStringLiteral("無題 - TORVEX_Pilot"));
    EXPECT_TRUE(m_dialog.Messages().isEmpty());
}

TEST_F(MainWindowTest, StandardTestRunsToTheEndOnTheSimulator) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "STANDARD");
    Start();
    ASSERT_EQ(View().Tab(), TAB_STANDARD);
    CExecDlg* panel = View().RunPanel();
    ASSERT_TRUE(WaitFor([&] { return panel->StartButton()->isEnabled(); }))
        << "not connected " << g_bNotConnected << " allowed "
        << CRunEngineProbe(View().Engine()).StartAllowed() << " state " << int(View().Engine().State())
        << " open " << m_app->Session().IsOpen();
    QTest::mouseClick(panel->StartButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return m_dialog.Texts().contains(QStringLiteral("試験が終了しました。")); }));
    EXPECT_EQ(m_dialog.Texts(),
              (QStringList{QStringLiteral("試験を開始します。"), QStringLiteral("試験が終了しました。")}));
    CExecData& step = m_app->Doc().m_settingStandard.m_listExec.at(0);
    EXPECT_EQ(step.GetText(COL_JUDGE), QStringLiteral("合格"));
    QTableView* table = View().StepList()->Table();
    EXPECT_EQ(table->model()->index(0, 1).data().toString(), QStringLiteral("合格"));
    EXPECT_TRUE(View().TabBar()->isEnabled());
    EXPECT_NE(m_app->Session().Property().m_timeStartStandard, 0);
}

TEST_F(MainWindowTest, JudgmentsAndCommentsInTheStepList) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "MANUAL");
    Start();
    CSettingData& c = m_app->Doc().m_settingManual;
    c.m_ulPola = 3;
    View().RefreshManual();
    CExecListDlg* list = View().StepList();
    QTableView* table = list->Table();
    ASSERT_EQ(table->model()->rowCount(), 2);

    // A double-click opens the judgment dialog; OK stores judgment and comment.
    // Answered once it is up, however long a busy machine takes to show it.
    bool bAnswered = false;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<CJudgeDlg*>(QApplication::activeModalWidget());
        if (!dlg || bAnswered) return;
        dlg->findChild<QComboBox*>()->setCurrentIndex(1);
        dlg->findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("ノイズで誤動作"));
        bAnswered = true;
        dlg->accept();
    });
    answerer.start(20);
    const QRect cell = table->visualRect(table->model()->index(1, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    // Should the dialog not come up, what the double-click met.
    EXPECT_TRUE(bAnswered) << "cell " << cell.x() << "," << cell.y() << " " << cell.width() << "x"
                           << cell.height() << " row at the cell " << table->indexAt(cell.center()).row()
                           << " table visible " << table->isVisible() << " screens enabled "
                           << View().Engine().ScreensEnabled() << " run state "
                           << int(View().Engine().State()) << " tab " << View().Tab();
    EXPECT_EQ(c.m_listExec[1].m_nJudge, JUDGE_FAIL);
    EXPECT_EQ(table->model()->index(1, 8).data().toString(), QStringLiteral("ノイズで誤動作"));
    EXPECT_TRUE(View().IsJudgmentEntered());

    // Batch change to "合格", then delete the comments.
    list->findChild<QComboBox*>()->setCurrentIndex(2);
    list->OnBatchJudge();
    EXPECT_EQ(OverallJudgment(c.m_listExec), JUDGE_PASS);
    list->OnDeleteComments();
    EXPECT_TRUE(c.m_listExec[1].m_strComment.isEmpty());
    EXPECT_EQ(m_dialog.Texts().mid(m_dialog.Texts().size() - 2),
              (QStringList{QStringLiteral("判定をすべて書き換えます。\nよろしいですか？"),
                           QStringLiteral("コメントをすべて削除します。\nよろしいですか？")}));

    // Closing asks about the entered judgments; Cancel keeps the window.
    m_dialog.QueueAnswer(COperatorDialog::Cancel);
    EXPECT_FALSE(m_app->MainFrame()->close());
    EXPECT_EQ(m_dialog.Texts().last(),
              QStringLiteral("判定やコメントは設定の保存機能では保存されません。\n記録には試"
                             "験データ出力機能をご利用ください。\nアプリケーションを終了して"
                             "もよろしいですか？"));
}

TEST_F(MainWindowTest, MoreThanAThousandStepsShowTheLimit) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "MANUAL");
    Start();
    CSettingData& c = m_app->Doc().m_settingManual;
    c.m_ulPola = 3;
    c.m_valVolt = VALUE_STRUCT{VALUE_VARIABLE, 500, 0, 0, 0, {1, 1, 1, 1, 1}, {500, 600, 700, 800, 900}};
    c.m_valFreq = VALUE_STRUCT{VALUE_SWEEP, 0, 1000, 101000, 1000, {}, {}};
    View().RefreshManual();
    CExecListDlg* list = View().StepList();
    QLabel* limit = nullptr;
    for (QLabel* l : list->findChildren<QLabel*>())
        if (l->text().startsWith(QStringLiteral("現在のステップ数"))) limit = l;
    ASSERT_NE(limit, nullptr);
    EXPECT_EQ(limit->text(), QStringLiteral("現在のステップ数は1010ステップです。\nステップ数が1000以下となる"
                                            "ように設定を変更してください。"));
    EXPECT_TRUE(limit->isVisible());
    EXPECT_FALSE(list->Table()->isVisible());
    EXPECT_FALSE(list->IsReportEnabled());
    EXPECT_FALSE(CRunEngineProbe(View().Engine()).StartAllowed());
}

TEST_F(MainWindowTest, AFileOnTheCommandLineOpensAsTheManualTest) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "SETTINGS");
    APP_OPTIONS options;
    options.m_bSimulate = true;
    options.m_strFile = QStringLiteral(TORVEX_TEST_DATA_DIR "/../examples/three_steps.tvx");
    m_app = std::make_unique<CTorvexApp>(options, &m_dialog);
    ASSERT_TRUE(m_app->InitInstance());
    EXPECT_EQ(View().Tab(), TAB_MANUAL);
    EXPECT_EQ(m_app->MainFrame()->windowTitle(), QStringLiteral("three_steps.tvx - TORVEX_Pilot"));
    EXPECT_EQ(m_app->Doc().m_settingManual.m_strTestName, "three_steps");
    EXPECT_EQ(View().StepList()->Table()->model()->rowCount(), 3);
}

TEST_F(MainWindowTest, ASequenceFileOnTheCommandLineIsReadOnTheSequenceTab) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "SETTINGS");
    APP_OPTIONS options;
    options.m_bSimulate = true;
    options.m_strFile = QStringLiteral(TORVEX_TEST_DATA_DIR "/../examples/two_tests.tvxs");
    m_app = std::make_unique<CTorvexApp>(options, &m_dialog);
    ASSERT_TRUE(m_app->InitInstance());
    EXPECT_EQ(View().Tab(), TAB_SEQUENCE);
    EXPECT_EQ(m_app->MainFrame()->windowTitle(), QStringLiteral("two_tests.tvxs - TORVEX_Pilot"));
    EXPECT_EQ(m_app->Doc().m_sequence.Count(), 2);
    EXPECT_EQ(m_app->Doc().m_sequence.m_nCurEntry, 0);
    // The MANUAL test is the empty one of a fresh start.
    EXPECT_EQ(m_app->Doc().m_settingManual.m_listExec.size(), 1u);
}

// The desktop program lies in the build tree's root; Help → 取扱説明書 finds the
// manuals the build typeset there, in each language.
TEST(ManualOfTheBuild, FoundWhereTheProgramLooks) {
    const QStringList folders = ManualFolders(TORVEX_BINARY_DIR);
    for (const char* pszLanguage : {"ja", "en"}) {
        const QString path = FindManual(pszLanguage, folders);
        EXPECT_EQ(path, QString(TORVEX_BINARY_DIR "/docs/") + ManualFileName(pszLanguage)) << pszLanguage;
        QFile pdf(path);
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << pszLanguage;
        EXPECT_TRUE(pdf.read(5) == "%PDF-") << pszLanguage;
    }
}

TEST_F(MainWindowTest, TheReportIsSavedThenOpened) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "MANUAL");
    Start();
    COpener opener;
    QDesktopServices::setUrlHandler("file", &opener, "Open");
    QTest::mouseClick(View().StepList()->findChild<QPushButton*>(), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(opener.m_opened.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(opener.m_opened[0]));
    EXPECT_TRUE(opener.m_opened[0].startsWith(HomeDir() + "/Documents/Kelvora/TORVEX_Pilot/REPORT/"));
    EXPECT_TRUE(opener.m_opened[0].endsWith("_MANUAL.xlsx"));
    EXPECT_TRUE(m_dialog.Messages().isEmpty());

    // Nothing happens on SETTINGS (the menu command is disabled there too).
    View().SelectTab(TAB_SETTINGS);
    EXPECT_FALSE(m_app->MainFrame()->m_pOutput->isEnabled());
}

TEST_F(MainWindowTest, WithoutAnInstrumentTheOperatorChoosesDemoMode) {
    qputenv("TORVEX_PORTS_ONLY", "1");
    WriteProfileValue(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_TYPE, "17");
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "MANUAL");
    // Retry first (still nothing there), then demo mode with the stored model.
    int nShown = 0;
    std::function<void()> answer = [&] {
        auto* dlg = qobject_cast<CTypeSelectDlg*>(QApplication::activeModalWidget());
        if (!dlg) {
            QTimer::singleShot(20, answer);
            return;
        }
        EXPECT_EQ(dlg->SelectedModelType(), 17);
        const QString button = ++nShown == 1 ? QStringLiteral("リトライ") : QStringLiteral("デモモード起動");
        for (QPushButton* b : dlg->findChildren<QPushButton*>())
            if (b->text() == button) {
                b->click();
                break;
            }
        if (nShown == 1) QTimer::singleShot(20, answer);
    };
    QTimer::singleShot(20, answer);
    APP_OPTIONS options; // no simulator, no port
    m_app = std::make_unique<CTorvexApp>(options, &m_dialog);
    ASSERT_TRUE(m_app->InitInstance());
    EXPECT_EQ(nShown, 2);
    EXPECT_EQ(m_app->Session().MachineType(), 17);
    EXPECT_EQ(g_bNotConnected, 1);
    ASSERT_TRUE(
        WaitFor([&] { return m_app->MainFrame()->windowTitle().endsWith(QStringLiteral(" 未接続")); }, 3000));
    EXPECT_EQ(m_app->MainFrame()->windowTitle(), QStringLiteral("無題 - TORVEX_Pilot 未接続"));
    EXPECT_FALSE(View().RunPanel()->StartButton()->isEnabled());
}

// The SETTINGS page is built when first shown: the switches it stands for
// work from the start as stored, and a page built after the instrument was
// found gone shows it gone.
TEST_F(MainWindowTest, SettingsPageBuiltLaterShowsTheSessionAsItIs) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "MANUAL");
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_STOP_EVERY_TIME, "OFF");
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_USE_TIPS, "OFF");
    Start();
    EXPECT_FALSE(View().Engine().StopEveryStep());
    EXPECT_FALSE(CTooltipSwitch::Instance().IsOn());
    g_bNotConnected = 1; // as when the instrument stops answering
    ASSERT_TRUE(
        WaitFor([&] { return m_app->MainFrame()->windowTitle().endsWith(QStringLiteral(" 未接続")); }, 3000));
    View().SelectTab(TAB_SETTINGS);
    CSettingsDlg* page = View().SettingsPage();
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(page->m_pConnection->text(), QStringLiteral("未接続"));
    EXPECT_TRUE(page->m_pDemoMode->isVisibleTo(page));
    EXPECT_FALSE(page->m_pStopEveryStep->isChecked());
    EXPECT_FALSE(page->m_pUseTips->isChecked());
}

TEST_F(MainWindowTest, ExitInTheModelDialogEndsTheProgram) {
    qputenv("TORVEX_PORTS_ONLY", "1");
    // The operator chooses Exit once the dialog is up (start-up handles events
    // before it, while the instrument is searched).
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto* dlg = qobject_cast<CTypeSelectDlg*>(QApplication::activeModalWidget()))
            dlg->done(CTypeSelectDlg::RESULT_EXIT);
    });
    closer.start(20);
    APP_OPTIONS options;
    CTorvexApp app(options, &m_dialog);
    EXPECT_FALSE(app.InitInstance());
}

// A second copy tells the operator and ends; the first one goes on.
TEST_F(MainWindowTest, ASecondCopyIsToldAndEnds) {
    Start();
    CScriptedDialog second;
    APP_OPTIONS options;
    options.m_bSimulate = true;
    CTorvexApp other(options, &second);
    other.BeginInstance(); // as the program does before its application object
    EXPECT_FALSE(other.InitInstance());
    EXPECT_EQ(other.ExitCode(), 0);
    EXPECT_EQ(other.MainFrame(), nullptr);
    EXPECT_EQ(second.Messages(), QStringList{QString::fromUtf8("アプリケーションはすでに起動しています。")});
    EXPECT_TRUE(m_app->MainFrame()->isVisible());
}

// A port another program holds is not "no instrument": the message before the
// model selection names the port and says that it is in use.
TEST_F(MainWindowTest, APortInUseIsNamedBeforeTheModelSelection) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "MANUAL");
    CTorvexSimulator sim;
    ASSERT_TRUE(sim.Start());
    QSerialPort holder(sim.DevicePath());
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
    bool bAsked = false;
    std::function<void()> answer = [&] {
        auto* dlg = qobject_cast<CTypeSelectDlg*>(QApplication::activeModalWidget());
        if (!dlg) {
            QTimer::singleShot(20, answer);
            return;
        }
        bAsked = true;
        for (QPushButton* b : dlg->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("デモモード起動")) b->click();
    };
    QTimer::singleShot(20, answer);
    APP_OPTIONS options;
    options.m_ports = {sim.DevicePath()};
    m_app = std::make_unique<CTorvexApp>(options, &m_dialog);
    ASSERT_TRUE(m_app->InitInstance());
    EXPECT_TRUE(bAsked);
    ASSERT_FALSE(m_dialog.Messages().isEmpty());
    const QString text = m_dialog.Messages().first();
    EXPECT_TRUE(text.contains(sim.DevicePath())) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("他のプログラムが使用中"))) << text.toStdString();
    EXPECT_TRUE(sim.CommandLog().isEmpty()); // never opened, never asked
}

// The status bar tells whether the instrument answers, its model, and the
// repeats and failed exchanges since the connection: a link that degrades
// shows before it fails.
TEST_F(MainWindowTest, TheStatusBarShowsTheLinksHealth) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "MANUAL");
    CTorvexSimulator sim;
    ASSERT_TRUE(sim.Start());
    APP_OPTIONS options;
    options.m_ports = {sim.DevicePath()};
    m_app = std::make_unique<CTorvexApp>(options, &m_dialog);
    ASSERT_TRUE(m_app->InitInstance());
    QLabel* health = nullptr;
    for (QLabel* label : m_app->MainFrame()->statusBar()->findChildren<QLabel*>())
        if (label->text().startsWith(QStringLiteral("TORVEX"))) health = label;
    ASSERT_NE(health, nullptr);
    auto shows = [&](const QString& text) { return WaitFor([&] { return health->text() == text; }, 10000); };
    EXPECT_TRUE(shows(QStringLiteral("TORVEX-K2 応答あり　再送 0　失敗 0"))) << health->text().toStdString();

    // Lost acknowledgements: the idle poll's repeats mend them, and count.
    sim.UpdateOptions([](SimOptions& o) { o.nDropAcks = 2; });
    EXPECT_TRUE(shows(QStringLiteral("TORVEX-K2 応答あり　再送 2　失敗 0"))) << health->text().toStdString();
    // Silence: the exchange fails for good and the instrument is lost.
    sim.UpdateOptions([](SimOptions& o) { o.bSilent = true; });
    EXPECT_TRUE(shows(QStringLiteral("TORVEX 未接続"))) << health->text().toStdString();
}

// A kill, a closed terminal or the end of the desktop session while a test
// runs: the output is stopped with "CB" before the program ends, nothing more
// starts, the step stays unjudged and the test log stays as START wrote it.
// The program runs with its own message boxes; the signal comes while a step
// runs, and while the start question is open.
TEST_F(MainWindowTest, TheEndingSignalStopsTheOutputBeforeTheProgramEnds) {
    const struct {
        const char* pszName;
        bool bAnswerStart; // OK to "試験を開始します。", the signal once the step runs
    } cases[] = {{"during a step", true}, {"at the start question", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        QTemporaryDir logs;
        WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "MANUAL");
        WriteProfileValue(INI_SECTION_PROPERTY, INI_KEY_FOLDER, logs.path() + "/");
        CTorvexSimulator sim; // steps of 10 s, in real time
        ASSERT_TRUE(sim.Start());
        APP_OPTIONS options;
        options.m_ports = {sim.DevicePath()};
        options.m_strFile = QStringLiteral(TORVEX_TEST_DATA_DIR "/../examples/three_steps.tvx");
        m_app = std::make_unique<CTorvexApp>(options); // its own message boxes
        ASSERT_TRUE(m_app->InitInstance());
        ASSERT_TRUE(WaitFor([] { return CSplashDlg::Current() == nullptr; }, 5000));
        CExecDlg* panel = View().RunPanel();
        ASSERT_TRUE(WaitFor([&] { return panel->StartButton()->isEnabled(); }, 10000));

        bool bSignalled = false;
        auto signal = [&] {
            if (bSignalled) return;
            bSignalled = true;
            ::raise(SIGTERM);
        };
        QTimer driver;
        driver.setInterval(20);
        QObject::connect(&driver, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                if (!c.bAnswerStart)
                    signal();
                else if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                    ok->click();
            } else if (c.bAnswerStart && sim.CommandLog().contains("CA") &&
                       View().Engine().State() == RunState::Running) {
                signal();
            }
        });
        QTimer::singleShot(0, panel, [panel] { QTest::mouseClick(panel->StartButton(), Qt::LeftButton); });
        QTimer guard; // the program did not end
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guard.start(30000);
        driver.start();
        const int nExit = QApplication::exec();
        driver.stop();
        guard.stop();
        EXPECT_TRUE(bSignalled);
        EXPECT_EQ(nExit, 0);
        CExecData& step = m_app->Doc().m_settingManual.m_listExec.at(0);
        EXPECT_EQ(step.GetText(COL_JUDGE), QStringLiteral("------"));
        m_app.reset(); // what main() does after the loop: the session ends

        QStringList commands;
        for (const QString& cmd : sim.CommandLog())
            if (!cmd.startsWith('Q')) commands << cmd;
        ASSERT_FALSE(commands.isEmpty());
        EXPECT_EQ(commands.last(), "CB") << commands.join(' ').toStdString();
        EXPECT_EQ(commands.count("CA"), c.bAnswerStart ? 1 : 0) << commands.join(' ').toStdString();
        EXPECT_EQ(QDir(logs.path()).entryList({"*.tvx"}).size(), c.bAnswerStart ? 1 : 0);
    }
}

// The program itself, killed while its first-start message box is open: it
// ends at once (the box does not hold it) and the instrument gets its "CB".
TEST(ProgramEnding, ASignalEndsTheProgramWhileAMessageBoxIsOpen) {
    QTemporaryDir home;
    CTorvexSimulator sim;
    ASSERT_TRUE(sim.Start());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* psz : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        env.insert(psz, home.path() + "/" + psz);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TORVEX_PORTS_ONLY", "1");
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TORVEX_BINARY_DIR "/torvex_pilot"), {"--port", sim.DevicePath()});
    ASSERT_TRUE(program.waitForStarted(5000));
    // Found and asked for its model; the message box comes up right after.
    ASSERT_TRUE(WaitFor([&] { return sim.CommandLog().contains("QT"); }, 15000));
    Idle(1500);
    ASSERT_EQ(program.state(), QProcess::Running);
    ::kill(pid_t(program.processId()), SIGTERM);
    const bool bEnded = program.waitForFinished(10000);
    if (!bEnded) program.kill();
    EXPECT_TRUE(bEnded);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    QStringList commands;
    for (const QString& cmd : sim.CommandLog())
        if (!cmd.startsWith('Q')) commands << cmd;
    EXPECT_EQ(commands, QStringList{"CB"});
}

} // namespace torvex

#include "main_window_test.moc"

namespace torvex {

TEST_F(MainWindowTest, ThePlanChartFollowsTheStepListAndTheRun) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "MANUAL");
    Start();
    CSettingData& c = m_app->Doc().m_settingManual;
    c.m_ulPola = 3;
    c.m_lTestTime = 1;
    View().RefreshManual();
    CExecListDlg* list = View().StepList();
    CPlanChartWidget* chart = list->Chart();
    ASSERT_EQ(chart->Plan().Count(), 2);
    ASSERT_TRUE(chart->isVisible());

    // A click on the plan's second half picks the second step to start from.
    const QRect plot = chart->PlotRect();
    QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(plot.left() + plot.width() * 3 / 4, plot.center().y()));
    EXPECT_EQ(list->Table()->currentIndex().row(), 1);
    EXPECT_EQ(m_app->Doc().m_nCurStep, 1);
    EXPECT_EQ(chart->MarkedStep(), 1);

    // During a run the running step is the one marked; the judgments coloured in
    // are the list's own.
    list->SelectRow(0);
    CExecDlg* panel = View().RunPanel();
    ASSERT_TRUE(WaitFor([&] { return panel->StartButton()->isEnabled(); }));
    // The test stops after each step; START goes on with the next.
    QTest::mouseClick(panel->StartButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return m_dialog.Texts().size() == 2; })) << m_dialog.Texts().join('|').toStdString();
    ASSERT_TRUE(WaitFor([&] { return panel->StartButton()->isEnabled(); }));
    EXPECT_EQ(chart->MarkedStep(), 1);
    // The bars agree with the read-outs: one of two steps done, the time
    // between the steps counted as the remaining time counts it, the next
    // step not begun.
    QProgressBar* whole = panel->TestProgress();
    EXPECT_EQ(whole->text(), QStringLiteral("1 / 2 ステップ"));
    EXPECT_GT(whole->value(), whole->maximum() / 2);
    EXPECT_LT(whole->value(), whole->maximum());
    EXPECT_EQ(panel->ReadoutText(READOUT_REMAINING), QStringLiteral("0h 0m 1s"));
    EXPECT_EQ(panel->StepProgress()->value(), 0);
    int nMarkedWhileSecondRan = -1;
    QTest::mouseClick(panel->StartButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] {
        if (View().Engine().State() == RunState::Running && nMarkedWhileSecondRan < 0)
            nMarkedWhileSecondRan = chart->MarkedStep();
        return m_dialog.Texts().contains(QStringLiteral("試験が終了しました。"));
    })) << m_dialog.Texts().join('|').toStdString();
    EXPECT_EQ(nMarkedWhileSecondRan, 1);
    // At the end the panel shows the whole plan again, the bars with it.
    EXPECT_EQ(whole->text(), QStringLiteral("0 / 2 ステップ"));
    EXPECT_EQ(whole->value(), 0);
    const std::vector<PLAN_BAR> bars = chart->Plan().Bars(c.m_listExec, plot.width());
    ASSERT_FALSE(bars.empty());
    EXPECT_EQ(bars.back().nLastStep, 1);
    for (const PLAN_BAR& b : bars)
        EXPECT_EQ(b.nJudge, JUDGE_PASS);

    // Above the step limit the plan goes with the list.
    c.m_valFreq = VALUE_STRUCT{VALUE_SWEEP, 0, 1000, 1000000, 1000, {}, {}};
    View().RefreshManual();
    EXPECT_FALSE(chart->isVisible());
}

TEST_F(MainWindowTest, DuringARunOnlyTheCommandsThatChangeConditionsAreGreyed) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "MANUAL");
    Start();
    CMainFrame* frame = m_app->MainFrame();
    EXPECT_EQ(frame->statusBar()->currentMessage(), CMainFrame::IdleText());
    // A menu item passed over shows its (empty) tip; the idle text comes back.
    QStatusTipEvent tip{QString()};
    QApplication::sendEvent(frame, &tip);
    EXPECT_EQ(frame->statusBar()->currentMessage(), CMainFrame::IdleText());

    CExecDlg* panel = View().RunPanel();
    ASSERT_TRUE(WaitFor([&] { return panel->StartButton()->isEnabled(); }));
    EXPECT_TRUE(frame->m_pNew->isEnabled());
    QTest::mouseClick(panel->StartButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return !View().ScreensEnabled(); }));
    for (QAction* menu : frame->menuBar()->actions())
        EXPECT_TRUE(menu->isEnabled()) << menu->text().toStdString();
    for (QAction* greyed : {frame->m_pNew, frame->m_pOpen, frame->m_pSave, frame->m_pSaveAs, frame->m_pOutput})
        EXPECT_FALSE(greyed->isEnabled()) << greyed->text().toStdString();
    EXPECT_TRUE(frame->m_pHistory->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return m_dialog.Texts().contains(QStringLiteral("試験が終了しました。")); }));
    ASSERT_TRUE(WaitFor([&] { return View().ScreensEnabled(); }));
    EXPECT_TRUE(frame->m_pNew->isEnabled());
}

TEST_F(MainWindowTest, TheTitleIsMarkedWhileTheTabsDocumentHasUnsavedChanges) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "MANUAL");
    Start();
    CMainFrame* frame = m_app->MainFrame();
    const QString title = QStringLiteral("無題 - TORVEX_Pilot");
    EXPECT_EQ(frame->ShownTitle(), title);
    m_app->Doc().SetModifiedFlag(true);
    EXPECT_EQ(frame->ShownTitle(), "*" + title);
    EXPECT_EQ(frame->windowTitle(), title) << "the title itself stays the tab's";
    View().SelectTab(TAB_STANDARD); // a screen without a file
    EXPECT_EQ(frame->ShownTitle(), QStringLiteral("STANDARD - TORVEX_Pilot"));
    View().SelectTab(TAB_MANUAL);
    EXPECT_EQ(frame->ShownTitle(), "*" + title);
    m_app->Doc().SetModifiedFlag(false);
    EXPECT_EQ(frame->ShownTitle(), title);
}

TEST(MainWindowPlace, FittedToTheWorkAreaAndCentred) {
    struct Case {
        QRect available;
        QRect expected;
    } cases[] = {
        {{0, 0, 1920, 1080}, {277, 156, 1366, 768}},   // room to spare: the program's own size
        {{0, 0, 1066, 666}, {0, 0, 1066, 666}},        // a 1600 x 1000 screen at 1.5: the whole area
        {{0, 30, 1024, 570}, {0, 30, 1024, 570}},      // a panel above: below it
        {{1920, 0, 1366, 768}, {1920, 0, 1366, 768}},  // the second screen
    };
    for (const Case& c : cases)
        EXPECT_EQ(FittedWindowRect(c.available, QSize(1366, 768)), c.expected) << c.available.width();
}

TEST_F(MainWindowTest, ASmallWindowScrollsAndKeepsEveryControlAtItsSize) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "MANUAL");
    Start();
    CMainFrame* frame = m_app->MainFrame();
    const QRect screen = frame->screen()->availableGeometry();
    EXPECT_LE(frame->width(), screen.width());
    EXPECT_LE(frame->height(), screen.height());

    auto* scroll = qobject_cast<QScrollArea*>(frame->centralWidget());
    ASSERT_NE(scroll, nullptr);
    // Every control's size on each tab, in a window with room to spare, then
    // in the smallest window: a control that grows with the window may come
    // down to its natural size, none below; the view scrolls instead.
    auto controlSizes = [&] {
        QApplication::processEvents();
        QMap<QWidget*, QSize> sizes;
        for (QWidget* w : View().findChildren<QWidget*>()) {
            const bool bControl = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                                  qobject_cast<QComboBox*>(w) || qobject_cast<QLabel*>(w) ||
                                  qobject_cast<QProgressBar*>(w);
            // The step and sequence lists follow the window; their own lists scroll.
            const bool bList = View().StepList()->isAncestorOf(w) ||
                               (View().SequenceList() && View().SequenceList()->isAncestorOf(w) &&
                                !qobject_cast<QAbstractButton*>(w));
            if (bControl && !bList && w->isVisibleTo(&View())) sizes.insert(w, w->size());
        }
        return sizes;
    };
    for (int tab : {TAB_STANDARD, TAB_MANUAL, TAB_SEQUENCE, TAB_SETTINGS}) {
        frame->resize(1800, 1000);
        View().SelectTab(tab);
        const QMap<QWidget*, QSize> roomy = controlSizes();
        frame->resize(1024, 600);
        const QMap<QWidget*, QSize> small = controlSizes();
        QStringList crushed;
        for (auto it = roomy.cbegin(); it != roomy.cend(); ++it) {
            const QSize now = small.value(it.key());
            const QSize least = it.value().boundedTo(it.key()->sizeHint());
            if (now.width() < least.width() || now.height() < least.height())
                crushed << QString("%1 '%2' %3x%4 < %5x%6")
                               .arg(it.key()->metaObject()->className(), it.key()->property("text").toString())
                               .arg(now.width())
                               .arg(now.height())
                               .arg(least.width())
                               .arg(least.height());
        }
        EXPECT_TRUE(crushed.isEmpty()) << "tab " << tab << ": " << crushed.join("; ").toStdString();
        if (tab == TAB_SETTINGS) continue;
        // START and STOP stay in sight without scrolling sideways.
        for (QWidget* w : {static_cast<QWidget*>(View().RunPanel()->StartButton()),
                           static_cast<QWidget*>(View().RunPanel()->StopButton())}) {
            const QRect inPort(w->mapTo(scroll->viewport(), QPoint(0, 0)), w->size());
            EXPECT_TRUE(scroll->viewport()->rect().contains(inPort)) << "tab " << tab;
            EXPECT_TRUE(w->isVisible());
        }
    }
}

// A simulator flag is not taken to own the word after it: the file stays the file.
TEST(AppOptions, TheFileAndTheSimulatorsOptionsAreToldApart) {
    APP_OPTIONS o;
    QString error;
    ASSERT_EQ(ParseAppOptions({"--simulate", "--silent", "a.tvxs", "--time-scale=50", "--port", "/dev/ttyS9"},
                              o, error),
              ParseOutcome::Go)
        << error.toStdString();
    EXPECT_EQ(o.m_strFile, "a.tvxs");
    EXPECT_TRUE(o.m_bSimulate);
    EXPECT_EQ(o.m_ports, QStringList{"/dev/ttyS9"});
    EXPECT_EQ(o.m_simulatorArgs, (QStringList{"--silent", "--time-scale", "50"}));
}

// Every control of every tab can be reached with the Tab key: a control that
// takes the mouse but never the keyboard focus leaves keyboard users stuck.
TEST_F(MainWindowTest, EveryControlOfEveryTabTakesTheKeyboardFocus) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "MANUAL");
    Start();
    m_app->MainFrame()->show();
    for (int nTab : {TAB_STANDARD, TAB_MANUAL, TAB_SEQUENCE, TAB_SETTINGS}) {
        View().SelectTab(nTab);
        QApplication::processEvents();
        int nControls = 0;
        for (QWidget* w : View().findChildren<QWidget*>()) {
            const bool bControl = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                                  qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w) ||
                                  qobject_cast<QPlainTextEdit*>(w);
            if (!bControl || !w->isVisibleTo(&View()) || !w->isEnabled()) continue;
            // What takes no input: a read-only field, a picture of a control
            // (the sequence preview), a table's header (the table takes the keys).
            if (w->testAttribute(Qt::WA_TransparentForMouseEvents) || qobject_cast<QHeaderView*>(w)) continue;
            if (auto* edit = qobject_cast<QLineEdit*>(w); edit && edit->isReadOnly()) continue;
            // Widgets of Qt's own composites (a calendar's navigation) are
            // reached through their owner.
            bool bInCalendar = false;
            for (QWidget* p = w->parentWidget(); p && p != &View(); p = p->parentWidget())
                bInCalendar = bInCalendar || p->inherits("QCalendarWidget");
            if (bInCalendar) continue;
            ++nControls;
            EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus)
                << "tab " << nTab << ": " << w->metaObject()->className() << " '"
                << w->objectName().toStdString() << "' " << w->accessibleName().toStdString() << " "
                << (qobject_cast<QAbstractButton*>(w) ? qobject_cast<QAbstractButton*>(w)->text().toStdString()
                                                      : std::string());
        }
        EXPECT_GT(nControls, 3) << nTab;
    }
}

} // namespace torvex
