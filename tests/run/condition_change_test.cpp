#include "config/TestProperty.h"
#include "files/TorvexDoc.h"
#include "instrument/TorvexCntl.h"
#include "results/StepListView.h"
#include "run/ConditionChange.h"
#include "run/RunEngine.h"
#include "session/Session.h"
#include "support/EngineProbe.h"
#include "support/RecordingRunView.h"
#include "support/ScriptedDialog.h"

#include <gtest/gtest.h>

namespace torvex {

namespace {

// No instrument is needed: the engine only keeps its flags and read-outs here.
struct ConditionChangeTest : ::testing::Test {
    ConditionChangeTest() {
        session.AttachRunView(&view);
        session.SetMachineType(MODEL_K2);
        doc.NewDocument();
    }
    CScriptedDialog dialog;
    CRecordingRunView view;
    CRecordingList list;
    CSession session{dialog};
    CTorvexDoc& doc = session.Doc();
    CTestProperty& property = session.Property();
    CRunEngine& engine = session.Engine();
};

} // namespace

TEST_F(ConditionChangeTest, TheThousandStepBoundaryBlocksAndFreesTheStart) {
    CSettingData& c = doc.m_settingManual;
    c.m_ulPola = 3;
    c.m_valVolt = VALUE_STRUCT{VALUE_VARIABLE, 500, 0, 0, 0, {1, 1, 1, 1, 1}, {500, 600, 700, 800, 900}};
    c.m_valFreq = VALUE_STRUCT{VALUE_SWEEP, 0, 1000, 101000, 1000, {}, {}};
    property.m_timeStartManual = 1234;
    doc.m_nCurStep = 7;

    EXPECT_EQ(ManualConditionChanged(doc, engine, property, list), 1010);
    EXPECT_EQ(list.nLimitShown, 1010);
    EXPECT_EQ(list.nRows, -1); // the list is not refilled
    EXPECT_FALSE(CRunEngineProbe(engine).StartAllowed());
    EXPECT_FALSE(view.bStartEnabled);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(property.m_timeStartManual, 0);

    c.m_valFreq.m_lEnd = 100000;
    EXPECT_EQ(ManualConditionChanged(doc, engine, property, list), 1000);
    EXPECT_EQ(list.nRows, 1000);
    EXPECT_EQ(list.nSelected, 0);
    EXPECT_EQ(doc.m_nCurStep, 0);
    EXPECT_TRUE(CRunEngineProbe(engine).StartAllowed());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(engine.ShownTotal(), 1000 * 60);
}

TEST_F(ConditionChangeTest, AChangeAfterARunAsksOnce) {
    EXPECT_EQ(ConfirmChange(engine, 1, dialog), CONFIRM_PROCEED); // never run: no question
    CRunEngineProbe(engine).SetManualUnchanged(false);
    CRunEngineProbe(engine).SetManualLogOwed(false);
    CRunEngineProbe(engine).SetRunState(RunState::Running);
    EXPECT_EQ(ConfirmChange(engine, 1, dialog), CONFIRM_DISCARD); // running: input dropped, nothing asked
    EXPECT_TRUE(dialog.Texts().isEmpty());

    CRunEngineProbe(engine).SetRunState(RunState::Idle);
    dialog.QueueAnswer(COperatorDialog::Cancel);
    EXPECT_EQ(ConfirmChange(engine, 1, dialog), CONFIRM_DISCARD);
    EXPECT_FALSE(engine.ManualUnchanged());
    EXPECT_EQ(ConfirmChange(engine, 1, dialog), CONFIRM_CONFIRMED);
    EXPECT_TRUE(engine.ManualUnchanged());
    EXPECT_TRUE(engine.ManualLogOwed());
    EXPECT_EQ(ConfirmChange(engine, 1, dialog), CONFIRM_PROCEED);
    EXPECT_EQ(dialog.Texts().size(), 2);
    EXPECT_EQ(
        dialog.Texts().first(),
        QStringLiteral("設定を変更すると試験リストの判定やコメントが初期化されます。\nOKをクリックすると変更"
                       "が可能となりますがよろしいですか？"));
    // The STANDARD screen keeps its own flag.
    CRunEngineProbe(engine).SetStandardUnchanged(false);
    EXPECT_EQ(ConfirmChange(engine, 0, dialog), CONFIRM_CONFIRMED);
}

} // namespace torvex
