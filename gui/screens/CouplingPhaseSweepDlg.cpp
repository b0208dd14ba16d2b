#include "gui/screens/CouplingPhaseSweepDlg.h"

#include "model/ScreenRules.h"
#include "gui/screens/CouplingPhaseDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace torvex {

CCouplingPhaseSweepDlg::CCouplingPhaseSweepDlg(CCouplingPhaseDlg& owner, bool bSweep, QWidget* pParent)
    : QWidget(pParent), m_bSweep(bSweep) {
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(6, 4, 6, 4);
    pLayout->setSpacing(4);
    auto* pLines = new QHBoxLayout;
    pLines->setSpacing(6);
    for (int i = 0; i < 5; ++i) {
        m_apLine[i] = new QCheckBox(this);
        pLines->addWidget(m_apLine[i]);
        connect(m_apLine[i], &QCheckBox::clicked, &owner, [&owner] { owner.LineClicked(); });
    }
    pLines->addStretch();
    pLayout->addLayout(pLines);

    auto* pKinds = new QHBoxLayout;
    m_pEach = new QPushButton(tr("1相毎"), this);
    m_pAll = new QPushButton(tr("全組合せ"), this);
    for (QPushButton* p : {m_pEach, m_pAll}) {
        p->setCheckable(true);
        p->setEnabled(bSweep);
        pKinds->addWidget(p);
    }
    pKinds->addStretch();
    pLayout->addLayout(pKinds);
    connect(m_pEach, &QPushButton::clicked, &owner, [&owner] { owner.SweepTypeClicked(0); });
    connect(m_pAll, &QPushButton::clicked, &owner, [&owner] { owner.SweepTypeClicked(1); });
    SetCaptions(true);
}

void CCouplingPhaseSweepDlg::SetCaptions(bool bSingle) {
    const QStringList captions = LineCaptions(bSingle ? DETAIL_SINGLE : DETAIL_THREE);
    for (int i = 0; i < 5; ++i) {
        m_apLine[i]->setVisible(i < captions.size());
        if (i < captions.size()) m_apLine[i]->setText(captions[i]);
    }
}

void CCouplingPhaseSweepDlg::Refresh(const OUTPUT_PORT_STRUCT& port) {
    const uint32_t ulMask = EditedLineMask(port);
    for (int i = 0; i < 5; ++i)
        m_apLine[i]->setChecked((ulMask >> i) & 1u);
    m_pEach->setChecked(m_bSweep && port.m_uSweepType == 0);
    m_pAll->setChecked(m_bSweep && port.m_uSweepType == 1);
}

void CCouplingPhaseSweepDlg::Clear() {
    for (QCheckBox* pBox : m_apLine)
        pBox->setChecked(false);
    m_pEach->setChecked(false);
    m_pAll->setChecked(false);
}

void CCouplingPhaseSweepDlg::SetDisplayMode(bool bDisplay) {
    for (QCheckBox* pBox : m_apLine)
        pBox->setEnabled(!bDisplay);
    m_pEach->setEnabled(m_bSweep && !bDisplay);
    m_pAll->setEnabled(m_bSweep && !bDisplay);
}

uint32_t CCouplingPhaseSweepDlg::BoxMask() const {
    uint32_t ulMask = 0;
    for (int i = 0; i < 5; ++i)
        if (m_apLine[i]->isChecked()) ulMask |= 1u << i;
    return ulMask;
}

} // namespace torvex
