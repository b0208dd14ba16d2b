#include "run/ConditionChange.h"

#include "config/TestProperty.h"
#include "files/TorvexDoc.h"
#include "model/OperatorDialog.h"
#include "model/StepExpansion.h"
#include "results/StepListView.h"
#include "run/RunEngine.h"

int64_t ManualConditionChanged(CTorvexDoc& doc, CRunEngine& engine, CTestProperty& property,
                               CStepListView& list) {
    doc.SetModifiedFlag(true);
    std::vector<CExecData>& steps = doc.m_settingManual.m_listExec;
    const int64_t total = ExpandSteps(doc.m_settingManual);
    list.ShowStepLimit(total);
    if (total > kMaxSteps) {
        engine.SetStartAllowed(false);
        // Such a condition cannot be saved either: nothing is there to keep.
        doc.SetModifiedFlag(false);
    } else {
        list.FillList(steps);
        engine.SetStartAllowed(true);
        doc.m_nCurStep = 0;
        list.SelectRow(0);
    }
    engine.ShowConditionTimes(steps);
    property.m_timeStartManual = 0;
    return total;
}

int64_t StandardConditionChanged(CTorvexDoc& doc, CRunEngine& engine, CTestProperty& property,
                                 CStepListView& list) {
    std::vector<CExecData>& steps = doc.m_settingStandard.m_listExec;
    const int64_t total = ExpandSteps(doc.m_settingStandard);
    list.FillList(steps);
    engine.ShowConditionTimes(steps);
    doc.m_nCurStep = 0;
    list.SelectRow(0);
    property.m_timeStartStandard = 0;
    return total;
}

ConfirmResult ConfirmChange(CRunEngine& engine, int nMode, COperatorDialog& dialog) {
    int32_t& bUnchanged = nMode == 0 ? engine.m_bStandardUnchanged : engine.m_bManualUnchanged;
    if (bUnchanged) return CONFIRM_PROCEED;
    if (engine.m_nRunState != 0) return CONFIRM_DISCARD;
    if (!dialog.AskOkCancel(QStringLiteral("設定を変更すると試験リストの判定やコメントが初期化されます。\n"
                                           "OKをクリックすると変更が可能となりますがよろしいですか？")))
        return CONFIRM_DISCARD;
    bUnchanged = 1;
    if (nMode == 1) engine.m_bManualLogOwed = 1; // a changed condition is a new version to log
    return CONFIRM_CONFIRMED;
}
