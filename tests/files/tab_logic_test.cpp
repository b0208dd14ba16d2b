#include "config/IniKeys.h"
#include "config/Profile.h"
#include "files/TabCode.h"
#include "files/TabLogic.h"
#include "files/TorvexDoc.h"
#include "support/ScriptedDialog.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace torvex {

TEST(TabLogic, NamesAndTitles) {
    EXPECT_EQ(TabFromName("SEQUENCE"), TAB_SEQUENCE);
    EXPECT_EQ(TabFromName("FIRST"), TAB_SETTINGS);
    EXPECT_EQ(TabFromName("manual"), TAB_SETTINGS); // names are exact
    CTorvexDoc doc;
    EXPECT_EQ(TabWindowTitle(TAB_MANUAL, doc), QStringLiteral("無題 - TORVEX_Pilot"));
    EXPECT_EQ(TabWindowTitle(TAB_STANDARD, doc), "STANDARD - TORVEX_Pilot");
    doc.m_sequence.m_strSeqPath = "/data/run.tvxs";
    EXPECT_EQ(TabWindowTitle(TAB_SEQUENCE, doc), "run.tvxs - TORVEX_Pilot");
}

TEST(TabLogic, CloseRequestPaths) {
    CScriptedDialog dialog;
    CTorvexDoc doc;
    doc.SetDialog(&dialog);
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "MANUAL");

    // During a run nothing happens at all.
    EXPECT_FALSE(ConfirmClose(doc, TAB_SEQUENCE, true, true, dialog));
    EXPECT_EQ(ReadProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, ""), "MANUAL");
    EXPECT_TRUE(dialog.Texts().isEmpty());

    // Cancel on the judgment question keeps the window, but the tab is stored.
    dialog.QueueAnswer(COperatorDialog::Cancel);
    EXPECT_FALSE(ConfirmClose(doc, TAB_SEQUENCE, false, true, dialog));
    EXPECT_EQ(ReadProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, ""), "SEQUENCE");

    // A modified sequence, then a modified document: Cancel at either stops.
    doc.m_sequence.AddEntry(std::make_unique<CSettingData>()); // marks the list modified
    ASSERT_TRUE(doc.m_bSequenceModified);
    doc.SetModifiedFlag(true);
    dialog.Clear();
    dialog.QueueAnswer(COperatorDialog::Cancel);
    EXPECT_FALSE(ConfirmClose(doc, TAB_MANUAL, false, false, dialog));
    EXPECT_EQ(dialog.Texts(), QStringList{QStringLiteral("無題.tvxs への変更を保存しますか?")});
    dialog.Clear();
    dialog.QueueAnswer(COperatorDialog::No);
    dialog.QueueAnswer(COperatorDialog::Cancel);
    EXPECT_FALSE(ConfirmClose(doc, TAB_MANUAL, false, false, dialog));
    EXPECT_EQ(dialog.Texts().last(), QStringLiteral("無題.tvx への変更を保存しますか?"));
    dialog.QueueAnswer(COperatorDialog::No);
    dialog.QueueAnswer(COperatorDialog::No);
    EXPECT_TRUE(ConfirmClose(doc, TAB_MANUAL, false, false, dialog));
}

} // namespace torvex
