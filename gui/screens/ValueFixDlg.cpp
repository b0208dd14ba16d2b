#include "gui/screens/ValueFixDlg.h"

CValueFixDlg::CValueFixDlg(CValueDlg& owner, QWidget* pParent) : CValuePage(owner, VALUE_FIXED, pParent) {
    AddRow(QStringLiteral("START"), FIELD_FIXED, false);
    AddDecoration(QStringLiteral("|"), false);
    AddRow(QStringLiteral("STOP"), -1, false);
    AddDecoration(QStringLiteral("/"), false);
    AddRow(QStringLiteral("STEP"), -1, false);
}
