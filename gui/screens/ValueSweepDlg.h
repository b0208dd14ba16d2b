#pragma once

#include "gui/screens/ValuePage.h"

// "スイープ": START, STOP and STEP.
class CValueSweepDlg : public CValuePage {
    Q_OBJECT
public:
    explicit CValueSweepDlg(CValueDlg& owner, QWidget* pParent = nullptr);
};
