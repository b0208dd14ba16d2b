#include "gui/screens/ValueVariableDlg.h"

namespace torvex {

CValueVariableDlg::CValueVariableDlg(CValueDlg& owner, QWidget* pParent)
    : CValuePage(owner, VALUE_VARIABLE, pParent) {
    for (int32_t i = 0; i < 5; ++i)
        AddRow(QString(), FIELD_ROW0 + i, true);
    SetSelectAllOnFocus(true);
}

} // namespace torvex
