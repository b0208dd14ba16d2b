#include "gui/screens/NumberField.h"

#include "gui/widgets/NumericLineEdit.h"
#include "gui/widgets/TooltipSwitch.h"
#include "model/Rules.h"
#include "gui/screens/SpinButtons.h"

#include <QBoxLayout>
#include <QLabel>

namespace torvex {

void NUMBER_FIELD::SetEnabled(bool bEnabled) const {
    m_pBox->setEnabled(bEnabled);
    m_pSpin->setEnabled(bEnabled);
}

NUMBER_FIELD AddNumberField(QWidget* pParent, QBoxLayout* pLayout, const QString& strUnit, int nBoxWidth,
                            const QFont& font) {
    NUMBER_FIELD f;
    f.m_pBox = new CNumericLineEdit(FilterNumericTyping, pParent);
    f.m_pBox->setFont(font);
    f.m_pBox->setAlignment(Qt::AlignRight);
    f.m_pBox->setFixedWidth(nBoxWidth);
    f.m_pSpin = new CSpinButtons(pParent);
    f.m_pSpin->setFixedHeight(f.m_pBox->sizeHint().height());
    CTooltipSwitch::MarkSwitchable(f.m_pBox);
    CTooltipSwitch::MarkSwitchable(f.m_pSpin);
    pLayout->addWidget(f.m_pBox);
    pLayout->addWidget(f.m_pSpin);
    if (!strUnit.isEmpty()) {
        f.m_pUnit = new QLabel(strUnit, pParent);
        f.m_pUnit->setFont(font);
        pLayout->addWidget(f.m_pUnit);
    }
    return f;
}

bool FilterNumericTyping(QString& rstrText, int& rnSelStart, int& rnSelEnd) {
    const FILTERED_TEXT f = FilterNumericText(rstrText, rnSelStart, rnSelEnd);
    if (!f.m_bChanged) return false;
    rstrText = f.m_strText;
    rnSelStart = f.m_nSelStart;
    rnSelEnd = f.m_nSelEnd;
    return true;
}

} // namespace torvex
