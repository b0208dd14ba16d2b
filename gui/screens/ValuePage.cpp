#include "gui/screens/ValuePage.h"

#include "gui/widgets/NumericLineEdit.h"
#include "gui/widgets/TooltipSwitch.h"
#include "model/SettingData.h"
#include "model/Tooltips.h"
#include "gui/screens/NumberField.h"
#include "gui/screens/SpinButtons.h"
#include "gui/screens/ValueDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace torvex {

namespace {

const QString kDashes = QStringLiteral("-----");

} // namespace

CValuePage::CValuePage(CValueDlg& owner, int32_t nType, QWidget* pParent)
    : QWidget(pParent), m_owner(owner), m_nType(nType) {
    auto* pGrid = new QGridLayout(this);
    pGrid->setContentsMargins(6, 4, 6, 4);
    pGrid->setHorizontalSpacing(4);
    pGrid->setVerticalSpacing(1);
    pGrid->setColumnStretch(4, 1);
}

void CValuePage::AddDecoration(const QString& strText, bool bEnabled) {
    auto* pGrid = static_cast<QGridLayout*>(layout());
    auto* pLabel = new QLabel(strText, this);
    pLabel->setAlignment(Qt::AlignCenter);
    pLabel->setEnabled(bEnabled);
    pLabel->setFixedHeight(12);
    pGrid->addWidget(pLabel, pGrid->rowCount(), 1, 1, 2, Qt::AlignHCenter);
}

void CValuePage::AddRow(const QString& strCaption, int32_t nField, bool bUseBox) {
    auto* pGrid = static_cast<QGridLayout*>(layout());
    const int nGridRow = pGrid->rowCount();
    ROW row;
    row.m_nField = nField;
    if (bUseBox) {
        row.m_pUse = new QCheckBox(this);
        pGrid->addWidget(row.m_pUse, nGridRow, 0);
        const int nRow = nField - FIELD_ROW0;
        connect(row.m_pUse, &QCheckBox::clicked, this,
                [this, nRow](bool bChecked) { m_owner.UseClicked(nRow, bChecked); });
    } else {
        row.m_pCaption = new QLabel(strCaption, this);
        pGrid->addWidget(row.m_pCaption, nGridRow, 0);
    }
    row.m_pBox = new CNumericLineEdit(FilterNumericTyping, this);
    row.m_pBox->setAlignment(Qt::AlignRight);
    row.m_pBox->setFixedWidth(62);
    row.m_pSpin = new CSpinButtons(this);
    row.m_pSpin->setFixedHeight(row.m_pBox->sizeHint().height());
    row.m_pUnit = new QLabel(this);
    row.m_pShown = new QLabel(kDashes, this);
    row.m_pShown->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row.m_pShown->setFixedWidth(62 + 4 + row.m_pSpin->sizeHint().width());
    row.m_pShown->hide();
    pGrid->addWidget(row.m_pBox, nGridRow, 1);
    pGrid->addWidget(row.m_pSpin, nGridRow, 2);
    pGrid->addWidget(row.m_pShown, nGridRow, 1, 1, 2);
    pGrid->addWidget(row.m_pUnit, nGridRow, 3);

    if (nField < 0) {
        // Shown for the look of the page; never edits.
        row.m_pBox->setEnabled(false);
        row.m_pSpin->setEnabled(false);
        if (row.m_pCaption) row.m_pCaption->setEnabled(false);
        row.m_pUnit->setEnabled(false);
    } else {
        CLeaveLineEdit* pBox = row.m_pBox;
        connect(pBox, &CLeaveLineEdit::left, this,
                [this, pBox, nField] { m_owner.EnterField(nField, pBox->text()); });
        connect(row.m_pSpin, &CSpinButtons::stepped, this, [this, pBox, nField](bool bUp, bool bCtrl, bool) {
            m_owner.SpinField(nField, pBox->text(), bUp, bCtrl);
        });
        pBox->installEventFilter(this);
        CTooltipSwitch::MarkSwitchable(pBox);
        CTooltipSwitch::MarkSwitchable(row.m_pSpin);
    }
    m_rows.push_back(row);
}

bool CValuePage::eventFilter(QObject* pWatched, QEvent* pEvent) {
    for (const ROW& row : m_rows) {
        if (row.m_pBox != pWatched) continue;
        if (pEvent->type() == QEvent::KeyPress) {
            // The arrow keys are the spin.
            auto* pKey = static_cast<QKeyEvent*>(pEvent);
            if (pKey->key() == Qt::Key_Up || pKey->key() == Qt::Key_Down) {
                m_owner.SpinField(row.m_nField, row.m_pBox->text(), pKey->key() == Qt::Key_Up,
                                  pKey->modifiers() & Qt::ControlModifier);
                return true;
            }
        } else if (pEvent->type() == QEvent::FocusIn && m_bSelectAll) {
            // After the click that brought the focus has placed the caret.
            QLineEdit* pBox = row.m_pBox;
            QTimer::singleShot(0, pBox, [pBox] { pBox->selectAll(); });
        }
        break;
    }
    return false;
}

void CValuePage::SetUnit(const QString& strUnit) {
    for (ROW& row : m_rows)
        row.m_pUnit->setText(strUnit);
}

void CValuePage::SetDisplayMode(bool bDisplay) {
    m_bDisplay = bDisplay;
    for (ROW& row : m_rows) {
        row.m_pBox->setVisible(!bDisplay);
        row.m_pSpin->setVisible(!bDisplay);
        row.m_pShown->setVisible(bDisplay);
        if (row.m_pUse) row.m_pUse->setEnabled(!bDisplay);
    }
}

void CValuePage::ShowDashes() {
    for (ROW& row : m_rows)
        row.m_pShown->setText(kDashes);
}

void CValuePage::Refresh() {
    const CSettingData* pCond = m_owner.Condition();
    if (!pCond) {
        ShowDashes();
        return;
    }
    const VALUE_STRUCT* pvs = ValueOfKind(*pCond, m_owner.Kind());
    for (ROW& row : m_rows) {
        if (row.m_nField < 0) continue; // the fixed page's STOP and STEP keep their dashes
        const QString strText = FieldText(*pCond, m_owner.Kind(), row.m_nField);
        if (m_bDisplay)
            row.m_pShown->setText(strText);
        else
            row.m_pBox->setText(strText);
        if (row.m_pUse && pvs) row.m_pUse->setChecked(pvs->m_abUse[row.m_nField - FIELD_ROW0] != 0);
    }
}

void CValuePage::UpdateTooltips(VALUE_KIND eKind, bool bContinuous) {
    for (ROW& row : m_rows) {
        if (row.m_nField < 0) continue;
        const QString strTip = ValueBoxTooltip(eKind, row.m_nField, bContinuous);
        row.m_pBox->setToolTip(strTip);
        row.m_pSpin->setToolTip(SpinTooltip(strTip));
    }
}

} // namespace torvex
