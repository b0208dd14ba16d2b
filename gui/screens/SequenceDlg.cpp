#include "gui/screens/SequenceDlg.h"

#include "gui/widgets/Fonts.h"
#include "gui/widgets/GroupBox.h"
#include "gui/widgets/Pictures.h"
#include "model/Rules.h"
#include "gui/screens/CouplingPhaseDlg.h"
#include "gui/screens/ValueDlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace torvex {

namespace {

const int kCaptionWidth = 118;    // rows across the whole preview
const int kLeftCaptionWidth = 74; // the two columns below them
const int kRightCaptionWidth = 104;

// A column's caption width: its least, or more where a caption in the
// interface's language needs it (the caption's margin is 3 on each side).
int CaptionWidth(int nLeast, const QStringList& captions) {
    const QFontMetrics metrics(UiFont(16));
    int nWidth = nLeast;
    for (const QString& strCaption : captions)
        nWidth = std::max(nWidth, metrics.horizontalAdvance(strCaption) + 6);
    return nWidth;
}

QLabel* ValueLabel(QWidget* pParent, int nWidth = 70) {
    auto* p = new QLabel(pParent);
    p->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    p->setFrameShape(QFrame::StyledPanel);
    p->setFrameShadow(QFrame::Sunken);
    p->setMinimumWidth(nWidth);
    p->setFont(UiFont(16));
    return p;
}

QLabel* UnitLabel(const QString& strText, QWidget* pParent) {
    auto* p = new QLabel(strText, pParent);
    p->setFont(UiFont(16));
    p->setContentsMargins(3, 0, 0, 0); // "-----" would otherwise run into "kHz"
    return p;
}

// The preview is looked at, never used: no child takes a click or the focus.
void MakeDisplayOnly(QWidget* pRoot) {
    for (QWidget* w : pRoot->findChildren<QWidget*>()) {
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
        w->setFocusPolicy(Qt::NoFocus);
    }
}

void SetChecked(QButtonGroup* pGroup, int nId) {
    // An unchecked pair needs the group's exclusivity lifted for a moment.
    pGroup->setExclusive(false);
    for (QAbstractButton* b : pGroup->buttons())
        b->setChecked(pGroup->id(b) == nId);
    pGroup->setExclusive(true);
}

} // namespace

CSequenceDlg::CSequenceDlg(QWidget* pParent) : QWidget(pParent) {
    setFont(UiFont(16));
    auto* pOuter = new QVBoxLayout(this);
    pOuter->setContentsMargins(0, 0, 0, 0);
    auto* pFrame = new QFrame(this);
    pFrame->setFrameShape(QFrame::StyledPanel);
    pOuter->addWidget(pFrame);
    auto* pRows = new QVBoxLayout(pFrame);
    pRows->setContentsMargins(6, 6, 6, 6);
    pRows->setSpacing(5);

    auto* pCaption = new QLabel(tr("PREVIEW"), pFrame);
    pCaption->setFont(UiFont(18, true));
    pCaption->setAlignment(Qt::AlignCenter);
    pCaption->setAutoFillBackground(true);
    QPalette pal = pCaption->palette();
    pal.setColor(QPalette::Window, CGroupBox::CaptionColor());
    pal.setColor(QPalette::WindowText, Qt::black);
    pCaption->setPalette(pal);
    pCaption->setMargin(3);
    pRows->addWidget(pCaption);

    m_pName = new QLabel(pFrame);
    m_pName->setFont(UiFont(18));
    m_pName->setFrameShape(QFrame::StyledPanel);
    m_pName->setFrameShadow(QFrame::Sunken);
    m_pName->setMargin(2);
    AddRow(pRows, tr("試験名"), kCaptionWidth, m_pName);

    auto* pFunctions = new QWidget(pFrame);
    auto* pFunctionRow = new QHBoxLayout(pFunctions);
    pFunctionRow->setContentsMargins(0, 0, 0, 0);
    const QStringList names = FunctionCaptions();
    for (int i = 0; i < 4; ++i) {
        auto* pItem = new QWidget(pFunctions);
        auto* pItemRow = new QHBoxLayout(pItem);
        pItemRow->setContentsMargins(0, 0, 0, 0);
        pItemRow->setSpacing(2);
        auto* pPicture = new QLabel(pItem);
        pPicture->setPixmap(GroupPicture(GROUP_PICTURE_SPECIAL));
        auto* pText = new QLabel(names[i], pItem);
        pText->setFont(UiFont(14));
        pItemRow->addWidget(pPicture);
        pItemRow->addWidget(pText);
        pFunctionRow->addWidget(pItem);
        m_apFunction[i] = pItem;
    }
    pFunctionRow->addStretch(1);
    // Keeps its height when no function is set, so the layout does not jump.
    pFunctions->setMinimumHeight(GroupPicture(GROUP_PICTURE_SPECIAL).height() + 2);
    AddRow(pRows, tr("FUNCTION"), kCaptionWidth, pFunctions);

    // Two columns as on the MANUAL screen.
    auto* pColumns = new QHBoxLayout;
    pColumns->setSpacing(8);
    auto* pLeft = new QVBoxLayout;
    auto* pRight = new QVBoxLayout;
    for (QVBoxLayout* pColumn : {pLeft, pRight}) {
        pColumn->setSpacing(5);
        pColumns->addLayout(pColumn);
    }
    pRows->addLayout(pColumns);
    pRows->addStretch(1);

    auto radioRow = [&](std::initializer_list<std::pair<QString, int>> items, QButtonGroup*& rpGroup,
                        int nFontPx) {
        auto* pRow = new QWidget(pFrame);
        auto* pLayout = new QHBoxLayout(pRow);
        pLayout->setContentsMargins(0, 0, 0, 0);
        pLayout->setSpacing(10);
        rpGroup = new QButtonGroup(pRow);
        for (const auto& [text, id] : items) {
            auto* b = new QRadioButton(text, pRow);
            b->setFont(UiFont(nFontPx));
            rpGroup->addButton(b, id);
            pLayout->addWidget(b);
        }
        pLayout->addStretch(1);
        return pRow;
    };

    const int nLeftCaption =
        CaptionWidth(kLeftCaptionWidth, {tr("極性"), tr("電圧"), tr("周波数"), tr("試験時間"), tr("出力先")});
    const int nRightCaption =
        CaptionWidth(kRightCaptionWidth, {tr("バースト周期"), tr("パルス数"), tr("バースト期間"),
                                          tr("ライン同期"), tr("位相角"), tr("CDN   印加相")});
    m_pPolarity = new QLabel(pFrame);
    AddRow(pLeft, tr("極性"), nLeftCaption, m_pPolarity);
    m_pVolt = new CValueDlg(pFrame);
    AddRow(pLeft, tr("電圧"), nLeftCaption, m_pVolt, true);
    m_pFreq = new CValueDlg(pFrame);
    AddRow(pLeft, tr("周波数"), nLeftCaption, m_pFreq, true);

    auto* pTime = new QWidget(pFrame);
    auto* pTimeRow = new QHBoxLayout(pTime);
    pTimeRow->setContentsMargins(0, 0, 0, 0);
    pTimeRow->setSpacing(2);
    m_pHour = ValueLabel(pTime, 36);
    m_pMin = ValueLabel(pTime, 36);
    m_pSec = ValueLabel(pTime, 36);
    for (auto [label, unit] : {std::pair{m_pHour, "h"}, {m_pMin, "m"}, {m_pSec, "s"}}) {
        pTimeRow->addWidget(label);
        pTimeRow->addWidget(UnitLabel(QString::fromLatin1(unit), pTime));
    }
    pTimeRow->addStretch(1);
    AddRow(pLeft, tr("試験時間"), nLeftCaption, pTime);
    AddRow(pLeft, tr("出力先"), nLeftCaption,
           radioRow({{tr("CDN OUT"), 0}, {tr("PULSE OUT"), 1}}, m_pOutput, 16));
    pLeft->addStretch(1);

    const QString burstNames[3] = {tr("バースト周期"), tr("パルス数"), tr("バースト期間")};
    const QString burstUnits[3] = {QStringLiteral("ms"), QString(), QStringLiteral("ms")};
    QLabel** burstLabels[3] = {&m_pBurstPeriod, &m_pPulseCount, &m_pBurstDura};
    for (int i = 0; i < 3; ++i) {
        auto* pBurst = new QWidget(pFrame);
        auto* pBurstRow = new QHBoxLayout(pBurst);
        pBurstRow->setContentsMargins(0, 0, 0, 0);
        pBurstRow->setSpacing(2);
        *burstLabels[i] = ValueLabel(pBurst, 70);
        pBurstRow->addWidget(*burstLabels[i]);
        pBurstRow->addWidget(UnitLabel(burstUnits[i], pBurst));
        pBurstRow->addStretch(1);
        AddRow(pRight, burstNames[i], nRightCaption, pBurst);
    }
    m_pSyncRow = AddRow(pRight, tr("ライン同期"), nRightCaption,
                        radioRow({{tr("同期"), 1}, {tr("非同期"), 0}}, m_pSync, 14));
    m_pAngle = new CValueDlg(pFrame);
    m_pAngleRow = AddRow(pRight, tr("位相角"), nRightCaption, m_pAngle, true);

    // The line boxes of three phases need the column's whole width: the
    // editor stands below its caption.
    m_pCouplingRow = new QWidget(pFrame);
    auto* pCouplingLayout = new QVBoxLayout(m_pCouplingRow);
    pCouplingLayout->setContentsMargins(0, 0, 0, 0);
    pCouplingLayout->setSpacing(2);
    AddRow(pCouplingLayout, tr("CDN   印加相"), nRightCaption,
           radioRow({{tr("単相"), 0}, {tr("三相"), 1}}, m_pDetail, 14));
    m_pCoupling = new CCouplingPhaseDlg(m_pCouplingRow);
    pCouplingLayout->addWidget(m_pCoupling);
    pRight->addWidget(m_pCouplingRow);
    pRight->addStretch(1);

    for (CValueDlg* pEditor : {m_pVolt, m_pFreq, m_pAngle})
        pEditor->SetDisplayMode();
    m_pCoupling->SetDisplayMode();

    MakeDisplayOnly(this);
    setFocusPolicy(Qt::NoFocus);
    ShowEntry(nullptr);
}

QWidget* CSequenceDlg::AddRow(QVBoxLayout* pColumn, const QString& strCaption, int nCaptionWidth,
                              QWidget* pContent, bool bTall) {
    auto* pRow = new QWidget(pContent->parentWidget());
    auto* pLayout = new QHBoxLayout(pRow);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(6);
    auto* pCaption = new QLabel(strCaption, pRow);
    pCaption->setFont(UiFont(16));
    pCaption->setFixedWidth(nCaptionWidth);
    // A tall editor keeps its caption at the top, by its tabs.
    pCaption->setAlignment(Qt::AlignLeft | (bTall ? Qt::AlignTop : Qt::AlignVCenter));
    pCaption->setAutoFillBackground(true);
    pCaption->setMargin(3);
    QPalette pal = pCaption->palette();
    pal.setColor(QPalette::Window, CGroupBox::CaptionColor());
    pal.setColor(QPalette::WindowText, Qt::black);
    pCaption->setPalette(pal);
    pCaption->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    pContent->setParent(pRow);
    pLayout->addWidget(pCaption);
    pLayout->addWidget(pContent, 1);
    pColumn->addWidget(pRow);
    return pRow;
}

void CSequenceDlg::ShowEntry(const CSettingData* pEntry) {
    m_pEntry = pEntry;
    m_shown = MakeSequencePreview(pEntry);
    const SEQUENCE_PREVIEW& p = m_shown;
    m_pName->setText(p.m_strName);
    m_pPolarity->setText(p.m_strPolarity);
    m_pHour->setText(p.m_strHour);
    m_pMin->setText(p.m_strMin);
    m_pSec->setText(p.m_strSec);
    m_pBurstPeriod->setText(p.m_strBurstPeriod);
    m_pPulseCount->setText(p.m_strPulseCount);
    m_pBurstDura->setText(p.m_strBurstDura);
    SetChecked(m_pOutput, p.m_nOutputPort);
    SetChecked(m_pSync, p.m_nSync);
    SetChecked(m_pDetail, p.m_nOutputDetail);

    // The editors are bound without a host and in display mode: they never
    // store, so the entry stays as the list holds it.
    auto* pCond = const_cast<CSettingData*>(pEntry);
    const VALUE_KIND kinds[3] = {KIND_VOLT, KIND_FREQ, KIND_ANGLE};
    CValueDlg* editors[3] = {m_pVolt, m_pFreq, m_pAngle};
    for (int i = 0; i < 3; ++i)
        editors[i]->Bind(pCond, kinds[i], nullptr);
    m_pCoupling->Bind(pCond ? &pCond->m_outOutput : nullptr, nullptr);
    if (!pCond) m_pCoupling->ShowEmpty();

    // The empty state keeps every row in place, only blank.
    m_pSyncRow->setVisible(p.m_bEmpty || p.m_bShowCdn);
    m_pAngleRow->setVisible(p.m_bEmpty || p.m_bShowAngle);
    m_pCouplingRow->setVisible(p.m_bEmpty || p.m_bShowCdn);
    m_pDetail->button(1)->setVisible(p.m_bEmpty || p.m_nOutputDetail == DETAIL_THREE);

    for (int i = 0; i < 4; ++i)
        m_apFunction[i]->setVisible(p.m_abFunction[i]);
}
// Clicks and double-clicks do nothing here.
void CSequenceDlg::mousePressEvent(QMouseEvent* pEvent) {
    pEvent->accept();
}
void CSequenceDlg::mouseReleaseEvent(QMouseEvent* pEvent) {
    pEvent->accept();
}
void CSequenceDlg::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    pEvent->accept();
}

void CSequenceDlg::keyPressEvent(QKeyEvent* pEvent) {
    switch (pEvent->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        focusNextChild();
        break;
    case Qt::Key_Escape:
        break;
    default:
        QWidget::keyPressEvent(pEvent);
        return;
    }
    pEvent->accept();
}

} // namespace torvex
