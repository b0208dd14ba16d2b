#include "screens/SequenceDlg.h"

#include "app/Fonts.h"
#include "app/GroupBox.h"
#include "app/Pictures.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

const int kCaptionWidth = 118;

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

QTabBar* DisplayTabs(const QStringList& names, QWidget* pParent) {
    auto* p = new QTabBar(pParent);
    for (const QString& n : names)
        p->addTab(n);
    p->setFont(UiFont(14));
    p->setDrawBase(false);
    p->setExpanding(false);
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

// ---------------------------------------------------------------- value view

CValueView::CValueView(QWidget* pParent) : QWidget(pParent) {
    m_pTabs = DisplayTabs({QStringLiteral("単独"), QStringLiteral("スイープ"), QStringLiteral("複数")}, this);
    m_pPages = new QStackedWidget(this);

    auto* pRange = new QWidget(m_pPages);
    auto* pRangeRow = new QHBoxLayout(pRange);
    pRangeRow->setContentsMargins(0, 0, 0, 0);
    const char* captions[3] = {"START", "STOP", "STEP"};
    for (int i = 0; i < 3; ++i) {
        auto* pCaption = new QLabel(QString::fromLatin1(captions[i]), pRange);
        pCaption->setFont(UiFont(14));
        m_apRange[i] = ValueLabel(pRange);
        m_apRangeUnit[i] = UnitLabel(QString(), pRange);
        pRangeRow->addWidget(pCaption);
        pRangeRow->addWidget(m_apRange[i]);
        pRangeRow->addWidget(m_apRangeUnit[i]);
        pRangeRow->addSpacing(6);
    }
    pRangeRow->addStretch(1);

    auto* pVariable = new QWidget(m_pPages);
    auto* pVariableRow = new QHBoxLayout(pVariable);
    pVariableRow->setContentsMargins(0, 0, 0, 0);
    pVariableRow->setSpacing(3);
    for (int i = 0; i < 5; ++i) {
        m_apUse[i] = new QCheckBox(pVariable);
        m_apValue[i] = ValueLabel(pVariable, 58);
        pVariableRow->addWidget(m_apUse[i]);
        pVariableRow->addWidget(m_apValue[i]);
    }
    m_pVariableUnit = UnitLabel(QString(), pVariable);
    pVariableRow->addWidget(m_pVariableUnit);
    pVariableRow->addStretch(1);

    m_pPages->addWidget(pRange);
    m_pPages->addWidget(pVariable);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(2);
    pLayout->addWidget(m_pTabs, 0, Qt::AlignLeft);
    pLayout->addWidget(m_pPages);
}

void CValueView::Show(const PREVIEW_VALUE& v) {
    m_pTabs->setCurrentIndex(v.m_nValueType);
    if (v.m_nValueType == VALUE_VARIABLE) {
        m_pPages->setCurrentIndex(1);
        for (int i = 0; i < 5; ++i) {
            m_apValue[i]->setText(v.m_astrText[size_t(i)]);
            m_apUse[i]->setChecked(v.m_abUse[size_t(i)]);
        }
        m_pVariableUnit->setText(v.m_strUnit);
    } else {
        m_pPages->setCurrentIndex(0);
        for (int i = 0; i < 3; ++i) {
            m_apRange[i]->setText(v.m_astrText[size_t(i)]);
            m_apRangeUnit[i]->setText(v.m_strUnit);
        }
    }
}

QString CValueView::Text(int i) const {
    if (m_pPages->currentIndex() == 1) return i >= 0 && i < 5 ? m_apValue[i]->text() : QString();
    return i >= 0 && i < 3 ? m_apRange[i]->text() : QString();
}

int CValueView::Type() const {
    return m_pTabs->currentIndex();
}

// ---------------------------------------------------------------- preview

CSequenceDlg::CSequenceDlg(QWidget* pParent) : QWidget(pParent) {
    setFont(UiFont(16));
    auto* pOuter = new QVBoxLayout(this);
    pOuter->setContentsMargins(0, 0, 0, 0);
    auto* pFrame = new QFrame(this);
    pFrame->setFrameShape(QFrame::StyledPanel);
    pOuter->addWidget(pFrame);
    m_pRows = new QVBoxLayout(pFrame);
    m_pRows->setContentsMargins(6, 6, 6, 6);
    m_pRows->setSpacing(5);

    auto* pCaption = new QLabel(QStringLiteral("PREVIEW"), pFrame);
    pCaption->setFont(UiFont(18, true));
    pCaption->setAlignment(Qt::AlignCenter);
    pCaption->setAutoFillBackground(true);
    QPalette pal = pCaption->palette();
    pal.setColor(QPalette::Window, CGroupBox::CaptionColor());
    pal.setColor(QPalette::WindowText, Qt::black);
    pCaption->setPalette(pal);
    pCaption->setMargin(3);
    m_pRows->addWidget(pCaption);

    m_pName = new QLabel(pFrame);
    m_pName->setFont(UiFont(18));
    m_pName->setFrameShape(QFrame::StyledPanel);
    m_pName->setFrameShadow(QFrame::Sunken);
    m_pName->setMargin(2);
    AddRow(QStringLiteral("試験名"), m_pName);

    m_pPolarity = new QLabel(pFrame);
    AddRow(QStringLiteral("極性"), m_pPolarity);

    m_pVolt = new CValueView(pFrame);
    AddRow(QStringLiteral("電圧"), m_pVolt);
    m_pFreq = new CValueView(pFrame);
    AddRow(QStringLiteral("周波数"), m_pFreq);

    auto* pTime = new QWidget(pFrame);
    auto* pTimeRow = new QHBoxLayout(pTime);
    pTimeRow->setContentsMargins(0, 0, 0, 0);
    m_pHour = ValueLabel(pTime, 40);
    m_pMin = ValueLabel(pTime, 40);
    m_pSec = ValueLabel(pTime, 40);
    for (auto [label, unit] : {std::pair{m_pHour, "h"}, {m_pMin, "m"}, {m_pSec, "s"}}) {
        pTimeRow->addWidget(label);
        pTimeRow->addWidget(UnitLabel(QString::fromLatin1(unit), pTime));
    }
    pTimeRow->addStretch(1);
    AddRow(QStringLiteral("試験時間"), pTime);

    auto* pBurst = new QWidget(pFrame);
    auto* pBurstRow = new QHBoxLayout(pBurst);
    pBurstRow->setContentsMargins(0, 0, 0, 0);
    m_pBurstPeriod = ValueLabel(pBurst, 60);
    m_pPulseCount = ValueLabel(pBurst, 60);
    m_pBurstDura = ValueLabel(pBurst, 70);
    pBurstRow->addWidget(m_pBurstPeriod);
    pBurstRow->addWidget(UnitLabel(QStringLiteral("ms"), pBurst));
    pBurstRow->addSpacing(8);
    auto* pPulseCaption = UnitLabel(QStringLiteral("パルス数"), pBurst);
    pBurstRow->addWidget(pPulseCaption);
    pBurstRow->addWidget(m_pPulseCount);
    pBurstRow->addSpacing(8);
    pBurstRow->addWidget(UnitLabel(QStringLiteral("バースト期間"), pBurst));
    pBurstRow->addWidget(m_pBurstDura);
    pBurstRow->addWidget(UnitLabel(QStringLiteral("ms"), pBurst));
    pBurstRow->addStretch(1);
    for (QLabel* l : pBurst->findChildren<QLabel*>())
        if (l->frameShape() == QFrame::NoFrame) l->setFont(UiFont(14));
    AddRow(QStringLiteral("バースト周期"), pBurst);

    auto radioRow = [&](std::initializer_list<std::pair<const char16_t*, int>> items, QButtonGroup*& rpGroup,
                        int nFontPx) {
        auto* pRow = new QWidget(pFrame);
        auto* pLayout = new QHBoxLayout(pRow);
        pLayout->setContentsMargins(0, 0, 0, 0);
        rpGroup = new QButtonGroup(pRow);
        for (const auto& [text, id] : items) {
            auto* b = new QRadioButton(QString::fromUtf16(text), pRow);
            b->setFont(UiFont(nFontPx));
            rpGroup->addButton(b, id);
            pLayout->addWidget(b);
            pLayout->addSpacing(12);
        }
        pLayout->addStretch(1);
        return pRow;
    };
    AddRow(QStringLiteral("出力先"), radioRow({{u"CDN OUT", 0}, {u"PULSE OUT", 1}}, m_pOutput, 16));
    m_pSyncRow = AddRow(QStringLiteral("ライン同期"), radioRow({{u"同期", 1}, {u"非同期", 0}}, m_pSync, 14));
    m_pAngle = new CValueView(pFrame);
    m_pAngleRow = AddRow(QStringLiteral("位相角"), m_pAngle);

    auto* pCoupling = new QWidget(pFrame);
    auto* pCouplingLayout = new QVBoxLayout(pCoupling);
    pCouplingLayout->setContentsMargins(0, 0, 0, 0);
    pCouplingLayout->setSpacing(2);
    pCouplingLayout->addWidget(radioRow({{u"単相", 0}, {u"三相", 1}}, m_pDetail, 14));
    m_pCouplingTabs = DisplayTabs({QStringLiteral("単独"), QStringLiteral("スイープ")}, pCoupling);
    pCouplingLayout->addWidget(m_pCouplingTabs, 0, Qt::AlignLeft);
    auto* pLines = new QHBoxLayout;
    for (QCheckBox*& box : m_apLine) {
        box = new QCheckBox(pCoupling);
        box->setFont(UiFont(14));
        pLines->addWidget(box);
    }
    pLines->addSpacing(12);
    m_pEachLine = new QPushButton(QStringLiteral("1相毎"), pCoupling);
    m_pAllCombinations = new QPushButton(QStringLiteral("全組合せ"), pCoupling);
    for (QPushButton* b : {m_pEachLine, m_pAllCombinations}) {
        b->setCheckable(true);
        b->setFont(UiFont(14));
        pLines->addWidget(b);
    }
    pLines->addStretch(1);
    pCouplingLayout->addLayout(pLines);
    m_pCouplingRow = AddRow(QStringLiteral("CDN   印加相"), pCoupling);

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
    AddRow(QStringLiteral("FUNCTION"), pFunctions);
    m_pRows->addStretch(1);

    MakeDisplayOnly(this);
    setFocusPolicy(Qt::NoFocus);
    ShowEntry(nullptr);
}

QWidget* CSequenceDlg::AddRow(const QString& strCaption, QWidget* pContent) {
    auto* pRow = new QWidget(pContent->parentWidget());
    auto* pLayout = new QHBoxLayout(pRow);
    pLayout->setContentsMargins(0, 0, 0, 0);
    auto* pCaption = new QLabel(strCaption, pRow);
    pCaption->setFont(UiFont(16));
    pCaption->setFixedWidth(kCaptionWidth);
    pCaption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
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
    m_pRows->addWidget(pRow);
    return pRow;
}

void CSequenceDlg::ShowEntry(const CSettingData* pEntry) {
    m_pEntry = pEntry;
    m_shown = MakeSequencePreview(pEntry);
    const SEQUENCE_PREVIEW& p = m_shown;
    m_pName->setText(p.m_strName);
    m_pPolarity->setText(p.m_strPolarity);
    m_pVolt->Show(p.m_volt);
    m_pFreq->Show(p.m_freq);
    m_pAngle->Show(p.m_angle);
    m_pHour->setText(p.m_strHour);
    m_pMin->setText(p.m_strMin);
    m_pSec->setText(p.m_strSec);
    m_pBurstPeriod->setText(p.m_strBurstPeriod);
    m_pPulseCount->setText(p.m_strPulseCount);
    m_pBurstDura->setText(p.m_strBurstDura);
    SetChecked(m_pOutput, p.m_nOutputPort);
    SetChecked(m_pSync, p.m_nSync);
    SetChecked(m_pDetail, p.m_nOutputDetail);

    // The empty state keeps every row in place, only blank.
    m_pSyncRow->setVisible(p.m_bEmpty || p.m_bShowCdn);
    m_pAngleRow->setVisible(p.m_bEmpty || p.m_bShowAngle);
    m_pCouplingRow->setVisible(p.m_bEmpty || p.m_bShowCdn);
    m_pDetail->button(1)->setVisible(p.m_bEmpty || p.m_nOutputDetail == DETAIL_THREE);

    m_pCouplingTabs->setCurrentIndex(int(p.m_uCouplingType));
    const QStringList lines = CouplingLineCaptions(p.m_nOutputDetail < 0 ? DETAIL_SINGLE : p.m_nOutputDetail);
    for (int b = 0; b < 5; ++b) {
        m_apLine[b]->setVisible(b < lines.size() && !p.m_bEmpty);
        if (b < lines.size()) m_apLine[b]->setText(lines[b]);
        m_apLine[b]->setChecked(p.m_ulLines & (1u << b));
    }
    const bool bSweep = !p.m_bEmpty && p.m_uCouplingType == 1;
    m_pEachLine->setEnabled(bSweep);
    m_pAllCombinations->setEnabled(bSweep);
    m_pEachLine->setChecked(bSweep && p.m_uSweepType == 0);
    m_pAllCombinations->setChecked(bSweep && p.m_uSweepType == 1);

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
