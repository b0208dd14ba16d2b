#include "gui/run/ExecDlg.h"

#include "gui/widgets/FocusRing.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/Pictures.h"
#include "run/RunEngine.h"

#include <algorithm>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QStyle>
#include <QVBoxLayout>

namespace torvex {

CExecDlg::CExecDlg(QWidget* pParent) : QWidget(pParent) {
    const QFont caption = UiFont(14);
    auto* pTimes = new QVBoxLayout;
    pTimes->setSpacing(0);
    pTimes->addWidget(MakeReadout(tr("試験時間："), m_readout[READOUT_TEST_TIME], false));
    pTimes->addWidget(MakeReadout(tr("トータル時間："), m_readout[READOUT_TOTAL], true));
    pTimes->addWidget(MakeReadout(tr("残り時間(目安)："), m_readout[READOUT_REMAINING], true));

    m_pLine = new QToolButton(this);
    m_pLine->setIcon(LinePicture(false, true));
    m_pLine->setIconSize(QSize(48, 48));
    m_pLine->setAutoRaise(true);
    m_pLine->setFocusPolicy(Qt::StrongFocus);
    m_pLine->installEventFilter(this);
    auto* pLineOn = new QLabel(tr("LINE ON"), this);
    auto* pLineOff = new QLabel(tr("LINE OFF"), this);
    pLineOn->setFont(caption);
    pLineOff->setFont(caption);
    auto* pLineCaptions = new QVBoxLayout;
    pLineCaptions->addWidget(pLineOn, 0, Qt::AlignTop);
    pLineCaptions->addStretch(1);
    pLineCaptions->addWidget(pLineOff, 0, Qt::AlignBottom);

    m_pStart = new QPushButton(this);
    m_pStart->setIcon(StartPlayPicture());
    m_pStart->setIconSize(QSize(32, 32));
    m_pStart->setToolTip(tr("START"));
    m_pStart->installEventFilter(this);
    m_pStop = new QPushButton(this);
    m_pStop->setIcon(StopPicture());
    m_pStop->setIconSize(QSize(32, 32));
    m_pStop->setToolTip(tr("STOP"));
    m_pStop->setEnabled(false);
    m_pStop->installEventFilter(this);
    m_pLamp = new QLabel(this);
    m_pLamp->setPixmap(LampPicture(false));
    m_pLamp->setFixedSize(52, 51);

    // Progress of the current step and of the whole test or sequence: beside
    // the read-outs where the panel is wide, in a row below them where not.
    m_pBarsBox = new QWidget(this);
    m_pBars = new QGridLayout(m_pBarsBox);
    m_pBars->setContentsMargins(8, 0, 8, 0);
    m_pBars->setVerticalSpacing(4);
    const QString captions[2] = {tr("ステップ"), tr("全体")};
    QProgressBar** bars[2] = {&m_pStepBar, &m_pTestBar};
    for (int i = 0; i < 2; ++i) {
        auto* pCaption = m_pBarCaption[i] = new QLabel(captions[i], m_pBarsBox);
        pCaption->setFont(UiFont(12));
        QProgressBar* pBar = *bars[i] = new QProgressBar(m_pBarsBox);
        pBar->setFont(UiFont(11));
        pBar->setRange(0, kProgressScale);
        pBar->setValue(0);
        pBar->setMinimumWidth(kBarMinWidth);
        pCaption->setBuddy(pBar);
    }
    m_pStepBar->setAccessibleName(tr("ステップの進み具合"));
    m_pTestBar->setAccessibleName(tr("試験全体の進み具合"));
    SetProgress(CRunProgress{});

    // Names for screen readers of the controls drawn as pictures.
    m_pStart->setAccessibleName(tr("試験開始"));
    m_pStart->setAccessibleDescription(tr("試験を開始します。試験中に押すと一時停止、もう一度押すと再開します。"));
    m_pStop->setAccessibleName(tr("試験停止"));
    m_pLine->setAccessibleName(tr("EUT電源 LINE"));
    m_pLine->setAccessibleDescription(tr("被試験機器への電源供給を入り切りします。"));
    m_pLamp->setAccessibleName(tr("出力ランプ"));
    m_pLamp->setAccessibleDescription(tr("出力中は点滅します。"));

    m_pTimesBox = new QWidget(this);
    auto* pTimesLayout = new QHBoxLayout(m_pTimesBox);
    pTimesLayout->setContentsMargins(0, 0, 0, 0);
    pTimesLayout->addLayout(pTimes);
    m_pControlsBox = new QWidget(this);
    auto* pControls = new QHBoxLayout(m_pControlsBox);
    pControls->setContentsMargins(0, 0, 0, 0);
    pControls->addWidget(m_pLine);
    pControls->addLayout(pLineCaptions);
    pControls->addSpacing(8);
    pControls->addWidget(m_pStart);
    pControls->addWidget(m_pStop);
    pControls->addSpacing(8);
    pControls->addWidget(m_pLamp);

    auto* pOuter = new QVBoxLayout(this);
    pOuter->setContentsMargins(4, 2, 4, 2);
    pOuter->setSpacing(2);
    m_pRow[0] = new QHBoxLayout;
    m_pRow[1] = new QHBoxLayout;
    pOuter->addLayout(m_pRow[0]);
    pOuter->addLayout(m_pRow[1]);
    Arrange(PanelRows::One);

    connect(m_pStart, &QPushButton::clicked, this, [this] {
        if (m_pEngine) m_pEngine->OnStart();
    });
    connect(m_pStop, &QPushButton::clicked, this, [this] {
        if (m_pEngine) m_pEngine->OnStop();
    });
    connect(m_pLine, &QToolButton::clicked, this, [this] {
        if (m_pEngine) m_pEngine->OnLineClick();
    });
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this); // Esc anywhere on the panel
    // The picture buttons show the keyboard focus as every other control does.
    for (QWidget* w : {static_cast<QWidget*>(m_pStart), static_cast<QWidget*>(m_pStop),
                       static_cast<QWidget*>(m_pLine)})
        CFocusRing::Attach(w);
}

void CExecDlg::Arrange(PanelRows eRows) {
    if (m_eRows == eRows && m_pRow[0]->count() > 0) return;
    m_eRows = eRows;
    // Every item goes, the boxes' too (deleting an item leaves its widget
    // alone); the boxes are placed again below.
    for (QHBoxLayout* pRow : m_pRow)
        while (QLayoutItem* pItem = pRow->takeAt(0))
            delete pItem;
    // The bars one under the other beside the read-outs, or in one row.
    const bool bStacked = eRows != PanelRows::BarsBelow;
    for (int i = 0; i < 2; ++i) {
        QProgressBar* pBar = i == 0 ? m_pStepBar : m_pTestBar;
        m_pBars->removeWidget(m_pBarCaption[i]);
        m_pBars->removeWidget(pBar);
        m_pBars->addWidget(m_pBarCaption[i], bStacked ? i : 0, bStacked ? 0 : 2 * i);
        m_pBars->addWidget(pBar, bStacked ? i : 0, bStacked ? 1 : 2 * i + 1);
    }
    switch (eRows) {
    case PanelRows::One: // read-outs, bars, controls
        m_pRow[0]->addWidget(m_pTimesBox);
        m_pRow[0]->addWidget(m_pBarsBox, 1);
        m_pRow[0]->addWidget(m_pControlsBox);
        break;
    case PanelRows::BarsBelow:
        m_pRow[0]->addWidget(m_pTimesBox);
        m_pRow[0]->addStretch(1);
        m_pRow[0]->addWidget(m_pControlsBox);
        m_pRow[1]->addWidget(m_pBarsBox, 1);
        break;
    case PanelRows::ControlsAbove: // START, STOP and LINE stay in sight first
        m_pRow[0]->addWidget(m_pControlsBox);
        m_pRow[0]->addStretch(1);
        m_pRow[1]->addWidget(m_pTimesBox);
        m_pRow[1]->addWidget(m_pBarsBox, 1);
        break;
    }
}

int CExecDlg::RowsWidth(PanelRows eRows) const {
    const QMargins m = layout()->contentsMargins();
    const int sp = m_pRow[0]->spacing() >= 0 ? m_pRow[0]->spacing() : style()->layoutSpacing(
        QSizePolicy::DefaultType, QSizePolicy::DefaultType, Qt::Horizontal);
    const int t = m_pTimesBox->minimumSizeHint().width();
    const int c = m_pControlsBox->minimumSizeHint().width();
    // The bars need their captions and kBarMinWidth pixels each, stacked or in a row.
    const int caption = std::max(m_pBarCaption[0]->minimumSizeHint().width(),
                                 m_pBarCaption[1]->minimumSizeHint().width());
    const QMargins bm = m_pBars->contentsMargins();
    const int stacked = bm.left() + bm.right() + caption + sp + kBarMinWidth;
    const int inRow = bm.left() + bm.right() + 2 * (caption + kBarMinWidth) + 3 * sp;
    switch (eRows) {
    case PanelRows::One:
        return m.left() + m.right() + t + stacked + c + 2 * sp;
    case PanelRows::BarsBelow:
        return m.left() + m.right() + std::max(t + c + sp, inRow);
    default:
        return m.left() + m.right() + std::max(c, t + stacked + sp);
    }
}

CExecDlg::PanelRows CExecDlg::RowsFor(int nWidth) const {
    if (nWidth >= RowsWidth(PanelRows::One)) return PanelRows::One;
    if (nWidth >= RowsWidth(PanelRows::BarsBelow)) return PanelRows::BarsBelow;
    return PanelRows::ControlsAbove;
}

int CExecDlg::NarrowWidth() const {
    return RowsWidth(PanelRows::ControlsAbove);
}

int CExecDlg::PanelHeight(int nWidth) const {
    switch (RowsFor(nWidth)) {
    case PanelRows::One:
        return kOneRowHeight;
    case PanelRows::BarsBelow:
        return kOneRowHeight + kBarsRowHeight;
    default:
        return 2 * kOneRowHeight;
    }
}

void CExecDlg::SetVisibleWidth(int nWidth) {
    m_nVisibleWidth = nWidth;
    Arrange(RowsFor(std::min(width(), m_nVisibleWidth)));
}

void CExecDlg::resizeEvent(QResizeEvent* pEvent) {
    Arrange(RowsFor(std::min(width(), m_nVisibleWidth)));
    QWidget::resizeEvent(pEvent);
}

namespace {

QString DurationText(int64_t t) {
    return QStringLiteral("%1h %2m %3s").arg(t / 3600).arg((t % 3600) / 60).arg(t % 60);
}

int Scaled(int64_t lDone, int64_t lTotal, int nScale) {
    return lTotal > 0 ? int(std::clamp<int64_t>(lDone, 0, lTotal) * nScale / lTotal) : 0;
}

} // namespace

void CExecDlg::SetProgress(const CRunProgress& p) {
    m_pStepBar->setValue(Scaled(p.lStepDone, p.lStepTime, kProgressScale));
    m_pStepBar->setFormat(QStringLiteral("%p%"));
    m_pStepBar->setToolTip(tr("経過 %1 / %2").arg(DurationText(p.lStepDone), DurationText(p.lStepTime)));
    m_pTestBar->setValue(Scaled(p.lTimeDone, p.lTimeTotal, kProgressScale));
    m_pTestBar->setFormat(tr("%1 / %2 ステップ").arg(p.nStepsDone).arg(p.nStepsTotal));
    m_pTestBar->setToolTip(tr("%1 / %2 ステップ完了\n経過 %3 / %4")
                               .arg(p.nStepsDone)
                               .arg(p.nStepsTotal)
                               .arg(DurationText(p.lTimeDone), DurationText(p.lTimeTotal)));
    m_pStepBar->setAccessibleDescription(m_pStepBar->toolTip());
    m_pTestBar->setAccessibleDescription(m_pTestBar->toolTip());
}

QWidget* CExecDlg::MakeReadout(const QString& strCaption, READOUT& r, bool bWithLimit) {
    auto* pRow = new QWidget(this);
    auto* pLayout = new QHBoxLayout(pRow);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(2);
    auto* pCaption = new QLabel(strCaption, pRow);
    pCaption->setFont(UiFont(14));
    pCaption->setMinimumWidth(QFontMetrics(pCaption->font()).horizontalAdvance(tr("残り時間(目安)：")));
    pLayout->addWidget(pCaption);
    const char* units[3] = {"h", "m", "s"};
    for (int i = 0; i < 3; ++i) {
        r.pNumber[i] = new QLabel(QStringLiteral("00"), pRow);
        r.pNumber[i]->setFont(UiFont(14));
        r.pNumber[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        r.pNumber[i]->setMinimumWidth(
            QFontMetrics(r.pNumber[i]->font()).horizontalAdvance(QStringLiteral("000")));
        r.pUnit[i] = new QLabel(QString::fromLatin1(units[i]), pRow);
        r.pUnit[i]->setFont(UiFont(14));
        pLayout->addWidget(r.pNumber[i]);
        pLayout->addWidget(r.pUnit[i]);
    }
    r.pOver = new QLabel(pRow);
    r.pOver->setFont(UiFont(14));
    r.pOver->hide();
    pLayout->addWidget(r.pOver);
    pLayout->addStretch(1);
    if (!bWithLimit) r.pOver->setEnabled(false);
    return pRow;
}

void CExecDlg::SetEngine(CRunEngine* pEngine) {
    m_pEngine = pEngine;
    if (!pEngine) return;
    const QString over = pEngine->OverLimitText();
    m_readout[READOUT_TOTAL].pOver->setText(over);
    m_readout[READOUT_REMAINING].pOver->setText(over);
}

void CExecDlg::SetStartEnabled(bool bEnable) {
    m_pStart->setEnabled(bEnable);
}

void CExecDlg::SetStopEnabled(bool bEnable) {
    m_pStop->setEnabled(bEnable);
}

void CExecDlg::SetStartFace(bool bPlay) {
    m_pStart->setIcon(bPlay ? StartPlayPicture() : StartPausePicture());
}

void CExecDlg::SetLamp(bool bLit) {
    m_pLamp->setPixmap(LampPicture(bLit));
}

void CExecDlg::SetLineIndicator(bool bOn, bool bDimmed) {
    m_bLineOn = bOn;
    m_bLineDimmed = bDimmed;
    m_pLine->setIcon(LinePicture(bOn, !bDimmed));
}

void CExecDlg::SetReadout(Readout which, const CReadout& readout) {
    READOUT& r = m_readout[which];
    const QString texts[3] = {readout.strHour, readout.strMin, readout.strSec};
    for (int i = 0; i < 3; ++i) {
        r.pNumber[i]->setText(texts[i]);
        r.pNumber[i]->setVisible(!readout.bOverLimit);
        r.pUnit[i]->setVisible(!readout.bOverLimit);
    }
    r.pOver->setVisible(readout.bOverLimit);
}

QString CExecDlg::ReadoutText(Readout which) const {
    const READOUT& r = m_readout[which];
    if (r.pOver->isVisibleTo(this)) return r.pOver->text();
    return QString("%1h %2m %3s")
        .arg(r.pNumber[0]->text().trimmed(), r.pNumber[1]->text().trimmed(), r.pNumber[2]->text().trimmed());
}

void CExecDlg::FocusStart() {
    m_pStart->setFocus();
}

void CExecDlg::MoveFocusToStop() {
    if (m_pStart->hasFocus()) {
        m_pStart->setDefault(false);
        m_pStop->setDefault(true);
        m_pStop->setFocus();
    }
}

void CExecDlg::FocusLineSwitch() {
    m_pLine->setFocus();
}

bool CExecDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    const QEvent::Type t = pEvent->type();
    if (t == QEvent::MouseButtonPress && pWatched == m_pStart && m_pEngine) {
        // While output runs the press pauses at once, without waiting for the release.
        if (static_cast<QMouseEvent*>(pEvent)->button() == Qt::LeftButton && m_pStart->isEnabled() &&
            m_pEngine->OnStartMouseDown())
            return true;
    }
    if (t != QEvent::KeyPress) return QWidget::eventFilter(pWatched, pEvent);
    auto* k = static_cast<QKeyEvent*>(pEvent);
    const bool bEnter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
    const bool bSpace = k->key() == Qt::Key_Space;
    if (k->key() == Qt::Key_Escape) {
        if (m_pEngine && m_pStop->isEnabled()) m_pEngine->OnEscape();
        return true;
    }
    // Neither a start nor switching the EUT line on may come from the keyboard.
    if (pWatched == m_pStart && (bEnter || bSpace)) return true;
    if (pWatched == m_pLine && (bEnter || bSpace) && !m_bLineOn) return true;
    if (pWatched == m_pStop && bEnter) {
        if (m_pEngine && m_pStop->isEnabled()) m_pEngine->OnStop();
        return true;
    }
    if (bEnter) {
        focusNextChild();
        return true;
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

} // namespace torvex
