#include "run/ConditionChange.h"

#include "config/TestProperty.h"
#include "files/TorvexDoc.h"
#include "model/OperatorDialog.h"
#include "model/StepExpansion.h"
#include "results/StepListView.h"
#include "run/RunEngine.h"

#include <QCoreApplication>

namespace torvex {

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
    if (nMode == 0 ? engine.StandardUnchanged() : engine.ManualUnchanged()) return CONFIRM_PROCEED;
    if (engine.State() != RunState::Idle) return CONFIRM_DISCARD;
    if (!dialog.AskOkCancel(QCoreApplication::translate(
            "ConditionChange", "設定を変更すると試験リストの判定やコメントが初期化されます。\n"
                               "OKをクリックすると変更が可能となりますがよろしいですか？")))
        return CONFIRM_DISCARD;
    engine.ConfirmConditionChange(nMode);
    return CONFIRM_CONFIRMED;
}

} // namespace torvex
