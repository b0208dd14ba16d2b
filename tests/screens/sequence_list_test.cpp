#include "config/CalibrationSetting.h"
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
#include "gui/results/ExecListDlg.h"
#include "gui/run/ExecDlg.h"
#include "gui/screens/CouplingPhaseDlg.h"
#include "gui/screens/CouplingPhaseSweepDlg.h"
#include "gui/screens/SequenceDlg.h"
#include "gui/screens/SequenceListDlg.h"
#include "gui/screens/ValueDlg.h"
#include "gui/screens/ValuePage.h"
#include "gui/widgets/NumericLineEdit.h"
#include "instrument/TorvexCntl.h"
#include "run/RunEngine.h"
#include "run/SequenceListLogic.h"
#include "session/Session.h"
#include "support/ScriptedDialog.h"
#include "support/Wait.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace torvex {

namespace {

const QString kExamples = QStringLiteral(TORVEX_TEST_DATA_DIR "/../examples/");
const QString kRemoveAll = QStringLiteral("全ての試験をリストから削除します。\nよろしいですか？");

// What a table shows, one text per row and column.
QStringList Column(QTableView* table, int nColumn) {
    QStringList texts;
    for (int r = 0; r < table->model()->rowCount(); ++r)
        texts << table->model()->index(r, nColumn).data().toString();
    return texts;
}

int SelectedRow(QTableView* table) {
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().row() : -1;
}

// The main window on the SEQUENCE tab without an instrument, the operator scripted.
class SequenceTabTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(HomeDir()));
        m_session = std::make_unique<CSession>(m_dialog);
        m_session->SetNotConnected(true); // no instrument: the panel never talks to a port
        m_session->Calibration().Load();
        m_session->SetMachineType(MODEL_K2);
        m_session->Doc().NewDocument();
        m_pFrame = std::make_unique<CMainFrame>(*m_session);
        m_pFrame->View()->SelectTab(TAB_SEQUENCE);
        m_pFrame->show();
        QApplication::processEvents();
        m_pList = m_pFrame->View()->SequenceList();
        m_pPreview = m_pFrame->View()->SequenceScreen();
        m_pSteps = m_pFrame->View()->StepList()->Table();
    }
    void TearDown() override {
        m_pFrame.reset();
        m_session->SetNotConnected(false);
        m_session.reset();
        SettingsFixture::TearDown();
    }

    // A data file named after a test, made of an example.
    QString DataFile(const QString& strName, const QString& strExample = "three_steps.tvx") {
        const QString path = HomeDir() + "/" + strName + ".tvx";
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(kExamples + strExample, path));
        return path;
    }
    void Load(const QString& strPath) {
        m_dialog.QueueFile(strPath);
        QTest::mouseClick(m_pList->LoadButton(), Qt::LeftButton);
    }
    void SetMethod(int nMethod) { QTest::mouseClick(m_pList->AddMethodButton(nMethod), Qt::LeftButton); }
    void ClickRow(int nRow) {
        QTableView* table = m_pList->Table();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(table->model()->index(nRow, 1)).center());
    }
    // Entries a, b, c (three steps each), c current.
    void LoadThree() {
        SetMethod(ADD_APPEND);
        for (const char* name : {"a", "b", "c"})
            Load(DataFile(name));
        ASSERT_EQ(Names(), QStringList({"a", "b", "c"}));
    }
    QStringList Names() const { return Column(m_pList->Table(), 1); }
    CSequenceList& List() { return m_session->Doc().m_sequence; }
    // The title the list set. Without an instrument the idle poll adds its
    // " 未接続" mark at its next tick, which a slow machine (a sanitizer
    // build) may reach before the check: the mark is not the list's.
    QString Title() const {
        QString title = m_pFrame->windowTitle();
        if (title.endsWith(QStringLiteral(" 未接続"))) title.chop(4);
        return title;
    }

    CTorvexDoc& Doc() { return m_session->Doc(); }
    CTestProperty& Property() { return m_session->Property(); }

    CScriptedDialog m_dialog;
    std::unique_ptr<CSession> m_session;
    std::unique_ptr<CMainFrame> m_pFrame;
    CSequenceListDlg* m_pList = nullptr;
    CSequenceDlg* m_pPreview = nullptr;
    QTableView* m_pSteps = nullptr;
};

} // namespace

TEST_F(SequenceTabTest, EachAddMethodOnEmptyAndFilledLists) {
    struct Case {
        const char* what;
        int nMethod;
        bool bFilled; // a, b, c before the new test N
        int nCurrent;
        QStringList names;
        int nCurAfter;
    } cases[] = {
        {"overwrite, empty", ADD_OVERWRITE, false, 0, {"N"}, 0},
        {"overwrite No.2", ADD_OVERWRITE, true, 1, {"a", "N", "c"}, 1},
        {"insert, empty", ADD_INSERT, false, 0, {"N"}, 0},
        {"insert before No.1", ADD_INSERT, true, 0, {"N", "a", "b", "c"}, 0},
        {"append, empty", ADD_APPEND, false, 0, {"N"}, 0},
        {"append after No.1 selected", ADD_APPEND, true, 0, {"a", "b", "c", "N"}, 3},
    };
    const QString n = DataFile("N", "pulse_out.tvx");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTest::mouseClick(m_pList->RemoveAllButton(), Qt::LeftButton);
        if (c.bFilled) {
            LoadThree();
            ClickRow(c.nCurrent);
        }
        Doc().SetModifiedFlag(false);
        List().m_bLogWritten = 1;
        Property().m_timeStartSequence = 1234;
        SetMethod(c.nMethod);
        Load(n);

        EXPECT_EQ(Names(), c.names);
        EXPECT_EQ(Column(m_pList->Table(), 0).first(), QStringLiteral("No.  1"));
        EXPECT_EQ(List().m_nCurEntry, c.nCurAfter);
        EXPECT_EQ(SelectedRow(m_pList->Table()), c.nCurAfter);
        // The new test is shown: preview, its two steps from row 0, times from it.
        EXPECT_EQ(m_pPreview->Shown().m_strName, "N");
        EXPECT_EQ(m_pSteps->model()->rowCount(), 2);
        EXPECT_EQ(SelectedRow(m_pSteps), 0);
        EXPECT_EQ(Doc().m_nCurStep, 0);
        EXPECT_EQ(m_pFrame->View()->Engine().ShownTestTime(), 5);
        EXPECT_EQ(Doc().m_bSequenceModified, 1);
        EXPECT_EQ(List().m_bLogWritten, 0);
        EXPECT_EQ(Property().m_timeStartSequence, 0);
        EXPECT_FALSE(Doc().IsModified()); // LOAD keeps the document's own flag
        EXPECT_EQ(Title(), QStringLiteral("無題 - TORVEX_Pilot"));
    }
}

TEST_F(SequenceTabTest, MovingAndDeletingEntries) {
    LoadThree();
    Doc().m_bSequenceModified = 0;
    List().m_bLogWritten = 1;

    // ↑ on the first and ↓ on the last entry change nothing.
    ClickRow(0);
    QTest::mouseClick(m_pList->UpButton(), Qt::LeftButton);
    ClickRow(2);
    QTest::mouseClick(m_pList->DownButton(), Qt::LeftButton);
    EXPECT_EQ(Names(), QStringList({"a", "b", "c"}));
    EXPECT_EQ(SelectedRow(m_pList->Table()), 2);
    EXPECT_EQ(Doc().m_bSequenceModified, 0);
    EXPECT_EQ(List().m_bLogWritten, 1);

    // ↑ moves the entry and the selection; the preview keeps showing it.
    QTest::mouseClick(m_pList->UpButton(), Qt::LeftButton);
    EXPECT_EQ(Names(), QStringList({"a", "c", "b"}));
    EXPECT_EQ(List().m_nCurEntry, 1);
    EXPECT_EQ(SelectedRow(m_pList->Table()), 1);
    EXPECT_EQ(m_pPreview->Shown().m_strName, "c");
    EXPECT_EQ(Doc().m_bSequenceModified, 1);
    EXPECT_EQ(List().m_bLogWritten, 0);

    // Arrow keys move the current entry within the list.
    m_pList->Table()->setFocus();
    QTest::keyClick(m_pList->Table(), Qt::Key_Down);
    QTest::keyClick(m_pList->Table(), Qt::Key_Down);
    EXPECT_EQ(List().m_nCurEntry, 2);
    EXPECT_EQ(SelectedRow(m_pList->Table()), 2);
    EXPECT_EQ(m_pPreview->Shown().m_strName, "b");

    // 削除 of No.1 of three: asked with its number; Cancel keeps it, OK deletes.
    ClickRow(0);
    m_dialog.Clear();
    m_dialog.QueueAnswer(COperatorDialog::Cancel);
    QTest::mouseClick(m_pList->RemoveButton(), Qt::LeftButton);
    EXPECT_EQ(Names(), QStringList({"a", "c", "b"}));
    QTest::mouseClick(m_pList->RemoveButton(), Qt::LeftButton);
    const QString question = QStringLiteral("No.1の試験をリストから削除します。\nよろしいですか？");
    EXPECT_EQ(m_dialog.Texts(), QStringList({question, question}));
    EXPECT_EQ(Names(), QStringList({"c", "b"}));
    EXPECT_EQ(Column(m_pList->Table(), 0), QStringList({"No.  1", "No.  2"}));
    EXPECT_EQ(List().m_nCurEntry, 0);
    EXPECT_EQ(SelectedRow(m_pList->Table()), 0);
    EXPECT_EQ(m_pPreview->Shown().m_strName, "c");
    EXPECT_EQ(m_pSteps->model()->rowCount(), 3);
    EXPECT_EQ(Doc().m_bSequenceModified, 1);

    // A click below the last row selects row 0.
    ClickRow(1);
    QTableView* table = m_pList->Table();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(10, table->viewport()->height() - 3));
    EXPECT_EQ(List().m_nCurEntry, 0);
    EXPECT_EQ(m_pPreview->Shown().m_strName, "c");
}

TEST_F(SequenceTabTest, RemoveAllClearsTheReadOuts) {
    LoadThree();
    CRunEngine& engine = m_pFrame->View()->Engine();
    ASSERT_GT(engine.ShownTotal(), 0);
    m_dialog.Clear();
    QTest::mouseClick(m_pList->RemoveAllButton(), Qt::LeftButton);
    EXPECT_EQ(m_dialog.Texts(), QStringList{kRemoveAll});
    EXPECT_EQ(m_pList->Table()->model()->rowCount(), 0);
    EXPECT_EQ(m_pSteps->model()->rowCount(), 0);
    EXPECT_TRUE(m_pPreview->Shown().m_bEmpty);
    EXPECT_EQ(engine.ShownTestTime(), 0);
    EXPECT_EQ(engine.ShownTotal(), 0);
    EXPECT_EQ(engine.ShownRemaining(), 0);
    EXPECT_EQ(Doc().m_bSequenceModified, 0);
    EXPECT_EQ(List().m_nCurEntry, 0);

    // Nothing to delete, save or move: nothing asked.
    m_dialog.Clear();
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(m_pList->RemoveAllButton()),
                               static_cast<QAbstractButton*>(m_pList->RemoveButton()),
                               static_cast<QAbstractButton*>(m_pList->SaveButton()),
                               static_cast<QAbstractButton*>(m_pList->SaveAsButton()),
                               static_cast<QAbstractButton*>(m_pList->UpButton())})
        QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_TRUE(m_dialog.m_log.empty());
}

TEST_F(SequenceTabTest, LoadingAndSavingSequenceFiles) {
    // Loading sets the title and shows entry 0 from its step 0.
    m_dialog.QueueFile(kExamples + "two_tests.tvxs");
    QTest::mouseClick(m_pList->ReadButton(), Qt::LeftButton);
    EXPECT_EQ(Title(), QStringLiteral("two_tests.tvxs - TORVEX_Pilot"));
    ASSERT_EQ(Names().size(), 2);
    EXPECT_EQ(Column(m_pList->Table(), 2), QStringList({"------", "------"}));
    EXPECT_EQ(SelectedRow(m_pList->Table()), 0);
    EXPECT_EQ(m_pPreview->Entry(), List().Entry(0));
    EXPECT_EQ(m_pSteps->model()->rowCount(), 3);
    EXPECT_EQ(SelectedRow(m_pSteps), 0);
    EXPECT_EQ(Doc().m_nCurStep, 0);
    EXPECT_EQ(Doc().m_bSequenceModified, 0);

    // Save as names the sequence and the title after the new file.
    ClickRow(1);
    QTest::mouseClick(m_pList->UpButton(), Qt::LeftButton);
    const QString saved = HomeDir() + "/saved.tvxs";
    m_dialog.QueueFile(saved);
    QTest::mouseClick(m_pList->SaveAsButton(), Qt::LeftButton);
    EXPECT_TRUE(QFileInfo::exists(saved));
    EXPECT_EQ(Title(), QStringLiteral("saved.tvxs - TORVEX_Pilot"));
    EXPECT_EQ(Doc().m_bSequenceModified, 0);

    // A file without entries over a list that has some changes nothing: the
    // list keeps its file, title and unsaved changes.
    QTest::mouseClick(m_pList->DownButton(), Qt::LeftButton);
    ASSERT_EQ(Doc().m_bSequenceModified, 1);
    CTorvexDoc empty;
    empty.m_sequence.Select(0);
    const QString emptyPath = HomeDir() + "/empty.tvxs";
    ASSERT_TRUE(empty.WriteSequenceFile(emptyPath));
    m_dialog.Clear();
    m_dialog.QueueFile(emptyPath);
    m_dialog.QueueAnswer(COperatorDialog::No);
    QTest::mouseClick(m_pList->ReadButton(), Qt::LeftButton);
    EXPECT_EQ(Names().size(), 2);
    EXPECT_EQ(Doc().m_bSequenceModified, 1);
    EXPECT_EQ(Title(), QStringLiteral("saved.tvxs - TORVEX_Pilot"));

    // Over an empty list it loads, and the screen is as after 全削除.
    QTest::mouseClick(m_pList->RemoveAllButton(), Qt::LeftButton);
    m_dialog.QueueFile(emptyPath);
    QTest::mouseClick(m_pList->ReadButton(), Qt::LeftButton);
    EXPECT_EQ(Title(), QStringLiteral("empty.tvxs - TORVEX_Pilot"));
    EXPECT_EQ(m_pList->Table()->model()->rowCount(), 0);
    EXPECT_TRUE(m_pPreview->Shown().m_bEmpty);
    EXPECT_EQ(m_pSteps->model()->rowCount(), 0);
    EXPECT_EQ(m_pFrame->View()->Engine().ShownTotal(), 0);
}

TEST_F(SequenceTabTest, PreviewShowsTheEntry) {
    LoadThree();
    CSettingData& c = *List().Entry(2);
    c.m_ulPola = 3;
    c.m_valVolt.m_nValueType = VALUE_FIXED;
    c.m_valVolt.m_lValue = 1230;
    c.m_bContinuous = 1;
    c.m_bTrigger = 1;
    c.m_lTestTime = 3723;
    c.m_valFreq.m_nValueType = VALUE_SWEEP;
    c.m_valFreq.m_lStart = 5000;
    c.m_valFreq.m_lEnd = 1000;
    c.m_valFreq.m_lStep = 1000;
    OUTPUT_PORT_STRUCT& cdn = c.m_outOutput.m_aopOutputPort[0];
    c.m_outOutput.m_nOutputPort = 0;
    cdn.m_nSync = 1;
    cdn.m_nOutputDetail = DETAIL_THREE;
    cdn.m_uCouplingType = 1;
    cdn.m_uSweepType = 1;
    cdn.m_aulInjBitSweep[DETAIL_THREE] = 0b10101; // L1, L3, PE
    const CSettingData before = c;
    m_pPreview->ShowEntry(&c);

    const SEQUENCE_PREVIEW& p = m_pPreview->Shown();
    EXPECT_EQ(p.m_strPolarity, QStringLiteral("+ ⇒ -"));
    EXPECT_EQ(QStringList({p.m_strHour, p.m_strMin, p.m_strSec}), QStringList({"1", "2", "3"}));
    EXPECT_EQ(QStringList({p.m_strBurstPeriod, p.m_strPulseCount, p.m_strBurstDura}),
              QStringList({"-----", "-----", "-----"}));
    EXPECT_EQ(std::vector<bool>(p.m_abFunction, p.m_abFunction + 4),
              std::vector<bool>({false, true, false, true}));

    // The value editors show their labels, never their boxes: a sweep all three
    // values, a fixed value only the first.
    auto labels = [](CValueDlg* pEditor) {
        QStringList texts;
        for (const CValuePage::ROW& row : pEditor->Page(pEditor->ShownType())->Rows()) {
            EXPECT_TRUE(row.m_pShown->isVisible());
            EXPECT_FALSE(row.m_pBox->isVisible());
            texts << row.m_pShown->text();
        }
        return texts;
    };
    CValueDlg* freq = m_pPreview->FreqEditor();
    CValueDlg* volt = m_pPreview->VoltEditor();
    EXPECT_EQ(freq->ShownType(), VALUE_SWEEP);
    EXPECT_EQ(freq->TabBar()->currentIndex(), VALUE_SWEEP);
    EXPECT_EQ(labels(freq), QStringList({"5.0", "1.0", "1.0"}));
    EXPECT_EQ(volt->ShownType(), VALUE_FIXED);
    EXPECT_EQ(labels(volt), QStringList({"1230", "-----", "-----"}));
    EXPECT_TRUE(m_pPreview->AngleEditor()->isVisible());

    // The coupling editor: the sweep tab, the entry's three-phase lines checked
    // and greyed, its sweep kind pressed.
    CCouplingPhaseDlg* coupling = m_pPreview->CouplingEditor();
    ASSERT_TRUE(coupling->isVisible());
    EXPECT_EQ(coupling->ShownType(), 1);
    CCouplingPhaseSweepDlg* page = coupling->Page(1);
    QStringList captions;
    std::vector<bool> checked;
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(page->LineBox(i)->isVisible());
        EXPECT_FALSE(page->LineBox(i)->isEnabled());
        captions << page->LineBox(i)->text();
        checked.push_back(page->LineBox(i)->isChecked());
    }
    EXPECT_EQ(captions, QStringList({"L1", "L2", "L3", "N", "PE"}));
    EXPECT_EQ(checked, std::vector<bool>({true, false, true, false, true}));
    EXPECT_TRUE(page->AllButton()->isChecked());
    EXPECT_FALSE(page->AllButton()->isEnabled());

    // It takes no click, not even one sent straight to an editor's tab or line
    // box: the list keeps the focus, the shown types and the entry stay.
    m_pList->Table()->setFocus();
    QTest::mouseClick(m_pPreview, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseDClick(m_pPreview, Qt::LeftButton, {}, QPoint(200, 200));
    QTest::mouseClick(freq->TabBar(), Qt::LeftButton, {}, freq->TabBar()->tabRect(VALUE_FIXED).center());
    QTest::mouseClick(volt->TabBar(), Qt::LeftButton, {}, volt->TabBar()->tabRect(VALUE_VARIABLE).center());
    QTest::mouseClick(coupling->TabBar(), Qt::LeftButton, {}, coupling->TabBar()->tabRect(0).center());
    QTest::mouseClick(page->LineBox(0), Qt::LeftButton);
    EXPECT_TRUE(m_pList->Table()->hasFocus());
    EXPECT_EQ(m_pPreview->Entry(), &c);
    EXPECT_EQ(freq->ShownType(), VALUE_SWEEP);
    EXPECT_EQ(freq->TabBar()->currentIndex(), VALUE_SWEEP);
    EXPECT_EQ(volt->TabBar()->currentIndex(), VALUE_FIXED);
    EXPECT_EQ(coupling->TabBar()->currentIndex(), 1);
    EXPECT_TRUE(page->LineBox(0)->isChecked());
    EXPECT_TRUE(c.SameBlockFields(before));

    // The empty state: dashes on the "単独" pages, no line checked.
    m_pPreview->ShowEntry(nullptr);
    EXPECT_EQ(freq->ShownType(), VALUE_FIXED);
    EXPECT_EQ(labels(freq), QStringList({"-----", "-----", "-----"}));
    EXPECT_EQ(coupling->ShownType(), 0);
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(coupling->Page(0)->LineBox(i)->isChecked());
}

// The whole program on a simulated instrument: a two-entry sequence runs with a
// stop after every step, the lists follow the run, and it ends on entry 0, step 0.
class SequenceRunTest : public SettingsFixture {
protected:
    void TearDown() override {
        m_app.reset();
        g_bNotConnected = 0;
        SettingsFixture::TearDown();
    }
    CScriptedDialog m_dialog;
    std::unique_ptr<CTorvexApp> m_app;
};

TEST_F(SequenceRunTest, TwoEntriesStopEveryStep) {
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(HomeDir() + "/run"));
    const QString logs = HomeDir() + "/logs/";
    QDir().mkpath(logs);
    WriteProfileValue(INI_SECTION_PROPERTY, INI_KEY_FOLDER, logs);
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_STOP_EVERY_TIME, "ON");
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "SEQUENCE");
    APP_OPTIONS options;
    options.m_bSimulate = true;
    options.m_simulatorArgs = {"--time-scale", "60"};
    m_app = std::make_unique<CTorvexApp>(options, &m_dialog);
    ASSERT_TRUE(m_app->InitInstance());
    ASSERT_TRUE(WaitFor([] { return CSplashDlg::Current() == nullptr; }, 5000));
    CTorvexView& view = *m_app->MainFrame()->View();
    ASSERT_EQ(view.Tab(), TAB_SEQUENCE);
    CSequenceListDlg* list = view.SequenceList();
    QTableView* steps = view.StepList()->Table();
    CSequenceList& seq = m_app->Doc().m_sequence;
    CExecDlg* panel = view.RunPanel();

    m_dialog.QueueFile(kExamples + "two_tests.tvxs");
    QTest::mouseClick(list->ReadButton(), Qt::LeftButton);
    ASSERT_EQ(seq.Count(), 2);

    // (entry, step) shown before each START, and the message after it.
    const QString tail =
        QStringLiteral("が終了しました。\n次のステップを実行する場合は試験開始ボタンをクリックしてください。"
                       "また、リストをクリックすることで実行するステップを変更できます。");
    struct Expect {
        int nEntry, nStep;
        QString message;
    } expected[] = {
        {0, 0, "No.1のステップ1" + tail},
        {0, 1, "No.1のステップ2" + tail},
        {0, 2, "No.1のステップ3" + tail},
        {1, 0, "No.2のステップ1" + tail},
        {1, 1, QStringLiteral("試験が終了しました。")},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(qPrintable(e.message.left(20)));
        EXPECT_EQ(seq.m_nCurEntry, e.nEntry);
        EXPECT_EQ(SelectedRow(list->Table()), e.nEntry);
        EXPECT_EQ(steps->model()->rowCount(), int(seq.Entry(e.nEntry)->m_listExec.size()));
        EXPECT_EQ(SelectedRow(steps), e.nStep);
        EXPECT_EQ(view.SequenceScreen()->Entry(), seq.Entry(e.nEntry));
        ASSERT_TRUE(WaitFor([&] { return panel->StartButton()->isEnabled(); }));
        m_dialog.Clear();
        QTest::mouseClick(panel->StartButton(), Qt::LeftButton);
        // Locked while it runs: the list's buttons, and clicks on the list.
        ASSERT_TRUE(WaitFor([&] { return !view.ScreensEnabled(); }));
        EXPECT_FALSE(list->RemoveAllButton()->isEnabled());
        EXPECT_FALSE(list->AddMethodButton(ADD_APPEND)->isEnabled());
        ASSERT_TRUE(WaitFor([&] { return m_dialog.Messages().contains(e.message); }));
        EXPECT_EQ(m_dialog.Texts(), QStringList({QStringLiteral("試験を開始します。"), e.message}));
        EXPECT_TRUE(list->RemoveAllButton()->isEnabled());
    }
    // Back on entry 0, step 0, every step passed.
    EXPECT_EQ(seq.m_nCurEntry, 0);
    EXPECT_EQ(SelectedRow(list->Table()), 0);
    EXPECT_EQ(steps->model()->rowCount(), 3);
    EXPECT_EQ(SelectedRow(steps), 0);
    EXPECT_EQ(m_app->Doc().m_nCurStep, 0);
    EXPECT_EQ(Column(list->Table(), 2), QStringList({"合格", "合格"}));

    // One log for the run; any change of the list owes a new one at the next START.
    EXPECT_EQ(QDir(logs).entryList({"*.tvxs"}, QDir::Files).size(), 1);
    EXPECT_EQ(seq.m_bLogWritten, 1);
    QTest::mouseClick(list->DownButton(), Qt::LeftButton);
    EXPECT_EQ(seq.m_bLogWritten, 0);
    QTest::qWait(1100); // a new second: a new log name
    ASSERT_TRUE(WaitFor([&] { return panel->StartButton()->isEnabled(); }));
    QTest::mouseClick(panel->StartButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return !view.ScreensEnabled(); }));
    EXPECT_EQ(seq.m_bLogWritten, 1);
    EXPECT_EQ(QDir(logs).entryList({"*.tvxs"}, QDir::Files).size(), 2);
    ASSERT_TRUE(WaitFor([&] { return m_dialog.Messages().size() >= 1 && !view.IsTestRunning(); }));
}

} // namespace torvex
