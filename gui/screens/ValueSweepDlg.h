#pragma once

#include "gui/screens/ValuePage.h"

namespace torvex {

// "スイープ": START, STOP and STEP.
class CValueSweepDlg : public CValuePage {
    Q_OBJECT
public:
    explicit CValueSweepDlg(CValueDlg& owner, QWidget* pParent = nullptr);
};

} // namespace torvex
