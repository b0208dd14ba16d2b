#include "gui/screens/ValueSweepDlg.h"

namespace torvex {

CValueSweepDlg::CValueSweepDlg(CValueDlg& owner, QWidget* pParent) : CValuePage(owner, VALUE_SWEEP, pParent) {
    AddRow(tr("START"), FIELD_START, false);
    AddDecoration(QStringLiteral("|"), true);
    AddRow(tr("STOP"), FIELD_END, false);
    AddDecoration(QStringLiteral("/"), true);
    AddRow(tr("STEP"), FIELD_STEP, false);
    SetSelectAllOnFocus(true);
}

} // namespace torvex
