#include "gui/screens/ValueFixDlg.h"

namespace torvex {

CValueFixDlg::CValueFixDlg(CValueDlg& owner, QWidget* pParent) : CValuePage(owner, VALUE_FIXED, pParent) {
    AddRow(tr("START"), FIELD_FIXED, false);
    AddDecoration(QStringLiteral("|"), false);
    AddRow(tr("STOP"), -1, false);
    AddDecoration(QStringLiteral("/"), false);
    AddRow(tr("STEP"), -1, false);
}

} // namespace torvex
