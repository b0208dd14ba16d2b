#include "gui/screens/ValueSweepDlg.h"

CValueSweepDlg::CValueSweepDlg(CValueDlg& owner, QWidget* pParent) : CValuePage(owner, VALUE_SWEEP, pParent) {
    AddRow(QStringLiteral("START"), FIELD_START, false);
    AddDecoration(QStringLiteral("|"), true);
    AddRow(QStringLiteral("STOP"), FIELD_END, false);
    AddDecoration(QStringLiteral("/"), true);
    AddRow(QStringLiteral("STEP"), FIELD_STEP, false);
    SetSelectAllOnFocus(true);
}
