#pragma once

#include "gui/screens/ValuePage.h"

namespace torvex {

// "単独": one value in the START row; STOP and STEP are shown but never edit.
class CValueFixDlg : public CValuePage {
    Q_OBJECT
public:
    explicit CValueFixDlg(CValueDlg& owner, QWidget* pParent = nullptr);
};

} // namespace torvex
