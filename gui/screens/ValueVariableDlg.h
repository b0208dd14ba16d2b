#pragma once

#include "gui/screens/ValuePage.h"

namespace torvex {

// "複数": five values, each with a use check box.
class CValueVariableDlg : public CValuePage {
    Q_OBJECT
public:
    explicit CValueVariableDlg(CValueDlg& owner, QWidget* pParent = nullptr);
};

} // namespace torvex
