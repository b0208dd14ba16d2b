#pragma once

#include <QString>

class QBoxLayout;
class QFont;
class QLabel;
class QWidget;

namespace torvex {

class CNumericLineEdit;
class CSpinButtons;

// A number box of the condition screens with its spin and unit.
struct NUMBER_FIELD {
    CNumericLineEdit* m_pBox = nullptr;
    CSpinButtons* m_pSpin = nullptr;
    QLabel* m_pUnit = nullptr;
    void SetEnabled(bool bEnabled) const;
};

// Adds box, spin and unit (no unit label for an empty text) to a layout.
NUMBER_FIELD AddNumberField(QWidget* pParent, QBoxLayout* pLayout, const QString& strUnit, int nBoxWidth,
                            const QFont& font);

// The typing filter of every number box: the rules' own.
bool FilterNumericTyping(QString& rstrText, int& rnSelStart, int& rnSelEnd);

} // namespace torvex
