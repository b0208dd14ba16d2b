#include "gui/app/TorvexView.h"

#include "config/IniKeys.h"
#include "config/Profile.h"
#include "config/SettingsLogic.h"
#include "config/TestProperty.h"
#include "files/TabCode.h"
#include "files/TabLogic.h"
#include "files/TorvexDoc.h"
#include "gui/config/SettingsDlg.h"
#include "gui/results/ExecListDlg.h"
#include "gui/results/ReportOutput.h"
#include "gui/run/ExecDlg.h"
#include "gui/screens/ManualDlg.h"
#include "gui/screens/SequenceDlg.h"
#include "gui/screens/SequenceListDlg.h"
#include "gui/screens/StandardDlg.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/TooltipSwitch.h"
#include "instrument/TorvexCntl.h"
#include "journal/Journal.h"
#include "journal/JournalRun.h"
#include "journal/RunRecorder.h"
#include "model/StepExpansion.h"
#include "results/ReportWriter.h"
#include "run/RunEngine.h"
#include "run/SequenceListLogic.h"
#include "session/Session.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTabBar>

namespace torvex {

namespace {

// Geometry of the view, in pixels: the condition screens on the left, the run
// panel with the step list (and on SEQUENCE the sequence list) on the right.
const int kMinLeftWidth = 580;
const int kMargin = 5;
const int kSequenceListHeight = 250;
// The least the run panel and the step list are given beside the screens.
const int kMinRightWidth = 200;
const int kMinStepListHeight = 150;

} // namespace

CTorvexView::CTorvexView(CSession& session, QWidget* pParent) : QWidget(pParent), m_session(session) {
    setFont(UiFont(14));
}

CTorvexView::~CTorvexView() {
    // The session outlives the window: it must not show anything here any more.
    m_session.Engine().Close();
    m_session.AttachRunView(nullptr);
    if (m_bBusy) QApplication::restoreOverrideCursor();
}

CRunEngine& CTorvexView::Engine() const {
    return m_session.Engine();
}

bool CTorvexView::ScreensEnabled() const {
    return m_session.Engine().ScreensEnabled();
}

void CTorvexView::BuildShell() {
    if (m_pTabs) return;
    CTorvexDoc& doc = m_session.Doc();
    CRunEngine& engine = m_session.Engine();
    m_pTabs = new QTabBar(this);
    const char* names[] = {"STANDARD", "MANUAL", "SEQUENCE", "SETTINGS"};
    for (int code = TAB_STANDARD; code <= TAB_SETTINGS; ++code) {
        const int i = m_pTabs->addTab(QString::fromLatin1(names[code]));
        m_pTabs->setTabData(i, code); // the code, not the position, says what a tab shows
    }
    m_pTabs->setFont(UiFont(14));
    m_pTabs->installEventFilter(this);

    m_pRunPanel = new CExecDlg(this);
    m_session.AttachRunView(this);
    m_pRunPanel->SetEngine(&engine);

    STEP_LIST_HOST host;
    host.fnScreensEnabled = [this] { return ScreensEnabled(); };
    host.fnJudgmentEntered = [this] { m_bJudgmentEntered = true; };
    host.fnEntryJudgment = [this](int e) { m_session.Sequence().UpdateEntryJudgment(e); };
    host.fnFocusLineSwitch = [this] { m_pRunPanel->FocusLineSwitch(); };
    host.fnReport = [this] { OutputReport(); };
    m_pStepList = new CExecListDlg(doc, engine, m_session.Judgments(), m_session.Dialog(), host, this);
}

void CTorvexView::InitialUpdate() {
    BuildShell();
    CRunEngine& engine = m_session.Engine();

    // MANUAL is the widest screen, which the layout goes by: it is there from
    // the start. The STANDARD condition is set up now, its screen built (like
    // the SEQUENCE and SETTINGS screens) when it is first shown.
    m_session.SetUpStandardCondition();
    m_pManual = new CManualDlg(m_session, *m_pStepList, this);
    m_pManual->hide();
    connect(m_pManual, &CManualDlg::saveAllowedChanged, this, &CTorvexView::commandsChanged);

    engine.Start();
    // The switches of the SETTINGS page, as its controls would set them.
    engine.SetStopEveryStep(LoadFlagDefaultOn(INI_SECTION_INITIAL_STATE, INI_KEY_STOP_EVERY_TIME));
    CTooltipSwitch::Instance().SetOn(LoadFlagDefaultOn(INI_SECTION_INITIAL_STATE, INI_KEY_USE_TIPS));

    // The last tab shown, or SETTINGS at the first start.
    const int nTab = TabFromName(ReadProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "SETTINGS"));
    m_bReady = true;
    connect(m_pTabs, &QTabBar::currentChanged, this, &CTorvexView::OnTabChanged);
    if (m_pTabs->currentIndex() == nTab)
        OnTabChanged();
    else
        m_pTabs->setCurrentIndex(nTab);
}

void CTorvexView::SelectTab(int nTab) {
    for (int i = 0; i < m_pTabs->count(); ++i)
        if (m_pTabs->tabData(i).toInt() == nTab) m_pTabs->setCurrentIndex(i);
}

void CTorvexView::BuildScreen(int nTab) {
    if (nTab == TAB_STANDARD && !m_pStandard) {
        m_pStandard = new CStandardDlg(m_session, *m_pStepList, this, false);
        m_pStandard->hide();
        DoLayout();
    } else if (nTab == TAB_SEQUENCE && !m_pSequence) {
        // The preview and the sequence list, which drives it and the step list.
        m_pSequence = new CSequenceDlg(this);
        m_pSequence->hide();
        m_pSequenceList = new CSequenceListDlg(m_session, *m_pStepList, *m_pSequence, this);
        m_pSequenceList->hide();
        if (m_bLocked) m_pSequenceList->LockControls(false);
        DoLayout();
    } else if (nTab == TAB_SETTINGS && !m_pSettings) {
        m_pSettings = new CSettingsDlg(m_session, this);
        m_pSettings->hide();
        if (m_bShownNotConnected) m_pSettings->ShowNotConnected();
        DoLayout();
    }
}

CSettingsDlg* CTorvexView::SettingsPage() {
    BuildScreen(TAB_SETTINGS);
    return m_pSettings;
}

CSequenceDlg* CTorvexView::SequenceScreen() {
    BuildScreen(TAB_SEQUENCE);
    return m_pSequence;
}

CSequenceListDlg* CTorvexView::SequenceList() {
    BuildScreen(TAB_SEQUENCE);
    return m_pSequenceList;
}

QWidget* CTorvexView::ScreenOfTab(int nTab) const {
    switch (nTab) {
    case TAB_STANDARD:
        return m_pStandard;
    case TAB_MANUAL:
        return m_pManual;
    case TAB_SEQUENCE:
        return m_pSequence;
    default:
        return m_pSettings;
    }
}

void CTorvexView::OnTabChanged() {
    CTorvexDoc& doc = m_session.Doc();
    QWidget* pFocus = QApplication::focusWidget();
    const int nNewTab = m_pTabs->tabData(m_pTabs->currentIndex()).toInt();
    BuildScreen(nNewTab);
    if (m_pManual->isVisible() && nNewTab != TAB_MANUAL) {
        m_pManual->CommitTyping(); // a value being typed is taken over first
        pFocus = nullptr;
    }
    m_nTab = nNewTab;
    doc.SetTab(m_nTab);
    if (m_nTab != TAB_SETTINGS) m_session.Engine().SetMode(m_nTab);

    const bool bCondition = m_nTab != TAB_SETTINGS;
    for (int t = TAB_STANDARD; t <= TAB_SETTINGS; ++t)
        if (QWidget* pScreen = ScreenOfTab(t)) pScreen->setVisible(t == m_nTab);
    m_pRunPanel->setVisible(bCondition);
    m_pStepList->setVisible(bCondition);
    if (m_pSequenceList) m_pSequenceList->setVisible(m_nTab == TAB_SEQUENCE);
    updateGeometry(); // each tab scrolls from its own natural size
    DoLayout();

    switch (m_nTab) {
    case TAB_STANDARD:
        m_pStepList->FillList(doc.m_settingStandard.m_listExec);
        m_pStepList->ShowStepLimit(1);
        m_session.Engine().SetStartAllowed(true);
        m_session.Engine().ShowConditionTimes(doc.m_settingStandard.m_listExec);
        break;
    case TAB_MANUAL:
        m_pStepList->FillList(doc.m_settingManual.m_listExec);
        m_pStepList->ShowStepLimit(CountSteps(doc.m_settingManual));
        m_session.Engine().SetStartAllowed(CountSteps(doc.m_settingManual) <= kMaxSteps);
        m_session.Engine().ShowConditionTimes(doc.m_settingManual.m_listExec);
        break;
    case TAB_SEQUENCE:
        m_pStepList->ShowStepLimit(1);
        m_session.Engine().SetStartAllowed(true);
        m_pSequenceList->Logic().Activate(); // steps, preview, times and title
        break;
    default:
        break;
    }
    if (m_nTab != TAB_SEQUENCE) SetWindowTitle(TabWindowTitle(m_nTab, doc));
    if (pFocus && pFocus->isVisible()) pFocus->setFocus();
    emit commandsChanged();
}

int CTorvexView::LeftWidth() const {
    int leftWidth = kMinLeftWidth;
    for (int t = TAB_STANDARD; t <= TAB_SEQUENCE; ++t)
        if (const QWidget* pScreen = ScreenOfTab(t)) leftWidth = std::max(leftWidth, pScreen->sizeHint().width());
    return leftWidth;
}

int CTorvexView::RightMinWidth() const {
    // The run panel at its narrowest, and the buttons above the lists unsqueezed.
    int nWidth = std::max({kMinRightWidth, m_pRunPanel->NarrowWidth(), m_pStepList->minimumSizeHint().width()});
    if (m_nTab == TAB_SEQUENCE && m_pSequenceList)
        nWidth = std::max(nWidth, m_pSequenceList->minimumSizeHint().width());
    return nWidth;
}

QSize CTorvexView::minimumSizeHint() const {
    // What the shown tab needs at its natural size; below it the scroll area
    // around the view scrolls instead of squeezing the screens.
    if (!m_pTabs) return QWidget::minimumSizeHint();
    const int top = m_pTabs->sizeHint().height() + kMargin;
    if (m_nTab == TAB_SETTINGS && m_pSettings) {
        const QSize page = m_pSettings->sizeHint();
        return QSize(page.width() + 2 * kMargin, top + page.height() + kMargin);
    }
    int leftHeight = 0;
    if (const QWidget* pScreen = ScreenOfTab(m_nTab)) leftHeight = pScreen->sizeHint().height();
    // The run panel at its tallest: it takes two rows where little is in sight.
    int rightHeight = m_pRunPanel->PanelHeight(m_pRunPanel->NarrowWidth()) + kMargin + kMinStepListHeight;
    if (m_nTab == TAB_SEQUENCE) rightHeight += kSequenceListHeight + kMargin;
    const int width = LeftWidth() + 2 * kMargin + RightMinWidth() + kMargin;
    return QSize(width, top + std::max(leftHeight, rightHeight) + kMargin);
}

QSize CTorvexView::sizeHint() const {
    return minimumSizeHint();
}

void CTorvexView::DoLayout() {
    if (!m_pTabs) return;
    const int w = width(), h = height();
    m_pTabs->setGeometry(0, 0, w, m_pTabs->sizeHint().height());
    const int top = m_pTabs->height() + kMargin;
    const int leftWidth = LeftWidth();
    const int right = leftWidth + 2 * kMargin;
    const int rightWidth = std::max(RightMinWidth(), w - right - kMargin);
    // In a window narrower than the view, what of the right column is in sight.
    const QWidget* pPort = parentWidget();
    const int visibleRight =
        pPort ? std::max(m_pRunPanel->NarrowWidth(), pPort->width() - right - kMargin) : rightWidth;
    m_pRunPanel->SetVisibleWidth(visibleRight);
    const int panelHeight = m_pRunPanel->PanelHeight(std::min(rightWidth, visibleRight));
    m_pRunPanel->setGeometry(right, top, rightWidth, panelHeight);
    const int belowPanel = top + panelHeight + kMargin;
    for (int t = TAB_STANDARD; t <= TAB_SEQUENCE; ++t)
        if (QWidget* pScreen = ScreenOfTab(t)) pScreen->setGeometry(kMargin, top, leftWidth, h - top - kMargin);
    if (m_nTab == TAB_SEQUENCE && m_pSequenceList) {
        m_pSequenceList->setGeometry(right, belowPanel, rightWidth, kSequenceListHeight);
        const int listTop = belowPanel + kSequenceListHeight + kMargin;
        m_pStepList->setGeometry(right, listTop, rightWidth, h - listTop - kMargin);
    } else {
        m_pStepList->setGeometry(right, belowPanel, rightWidth, h - belowPanel - kMargin);
    }
    if (m_pSettings) m_pSettings->setGeometry(kMargin, top, w - 2 * kMargin, h - top - kMargin);
}

void CTorvexView::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    DoLayout();
}

bool CTorvexView::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (m_bBusy) {
        switch (pEvent->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
            if (auto* w = qobject_cast<QWidget*>(pWatched); w && w->window() == window()) return true;
            break;
        default:
            break;
        }
    }
    if (pWatched == m_pTabs && pEvent->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(pEvent);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            focusNextChild(); // no default button to press here
            return true;
        }
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void CTorvexView::RefreshManual() {
    CTorvexDoc& doc = m_session.Doc();
    doc.SetModifiedFlag(false);
    const int64_t total = ExpandSteps(doc.m_settingManual);
    doc.m_nCurStep = 0;
    if (m_nTab == TAB_MANUAL) {
        m_pStepList->ShowStepLimit(total);
        if (total <= kMaxSteps) m_pStepList->FillList(doc.m_settingManual.m_listExec);
        m_session.Engine().SetStartAllowed(total <= kMaxSteps);
        m_session.Engine().ShowConditionTimes(doc.m_settingManual.m_listExec);
        SetWindowTitle(TabWindowTitle(m_nTab, doc));
    }
    RefreshManualScreen();
    emit commandsChanged();
}

bool CTorvexView::IsTestRunning() const {
    return m_session.Engine().State() != RunState::Idle || !ScreensEnabled();
}

bool CTorvexView::IsReportEnabled() const {
    return m_nTab != TAB_SETTINGS && m_pStepList->IsReportEnabled();
}

bool CTorvexView::IsManualSaveEnabled() const {
    return m_nTab == TAB_MANUAL && CountSteps(m_session.Doc().m_settingManual) <= kMaxSteps &&
           ScreensEnabled();
}

void CTorvexView::OutputReport() {
    if (!ScreensEnabled()) return;
    const std::optional<CReportData> data =
        CollectReport(m_session.Doc(), m_nTab, m_session.Property(), uint32_t(m_session.MachineType()));
    if (!data) return; // SETTINGS, or an empty sequence list: nothing to report
    SaveAndOpenReport(*data, m_session.Dialog());
}

bool CTorvexView::RecoverRun(qint64 nRun) {
    CJournal& journal = m_session.Journal();
    if (!ScreensEnabled()) return false;
    const std::optional<JOURNAL_RUN> run = journal.Run(nRun);
    if (!run || run->m_nTab < TAB_STANDARD || run->m_nTab > TAB_SEQUENCE) return false;
    SelectTab(run->m_nTab);
    CTorvexDoc& doc = m_session.Doc();
    if (!RestoreRun(*run, journal.Steps(nRun), doc, m_session.Property())) return false;
    // The test has been run: a change of its condition asks first, as after a START.
    if (run->m_nTab != TAB_SEQUENCE) m_session.Engine().MarkConditionRun(run->m_nTab);
    if (run->m_nTab == TAB_SEQUENCE) {
        SequenceList(); // its screen shows what the logic does next
        CSequenceListLogic& sequence = m_session.Sequence();
        for (int e = 0; e < doc.m_sequence.Count(); ++e)
            sequence.UpdateEntryJudgment(e);
        sequence.ShowEntry(0);
    } else {
        m_pStepList->FillList(run->m_nTab == TAB_STANDARD ? doc.m_settingStandard.m_listExec
                                                          : doc.m_settingManual.m_listExec);
    }
    if (CRunRecorder* pRecorder = m_session.Recorder()) pRecorder->Adopt(run->m_nTab, nRun);
    emit commandsChanged();
    return true;
}

// ---------------------------------------------------------------- CRunView

void CTorvexView::SetStartEnabled(bool b) {
    m_pRunPanel->SetStartEnabled(b);
}
void CTorvexView::SetStopEnabled(bool b) {
    m_pRunPanel->SetStopEnabled(b);
}
void CTorvexView::SetStartFace(bool bPlay) {
    m_pRunPanel->SetStartFace(bPlay);
}
void CTorvexView::SetLamp(bool bLit) {
    m_pRunPanel->SetLamp(bLit);
}
void CTorvexView::SetLineIndicator(bool bOn, bool bDimmed) {
    m_pRunPanel->SetLineIndicator(bOn, bDimmed);
}
void CTorvexView::SetReadout(Readout which, const CReadout& r) {
    m_pRunPanel->SetReadout(which, r);
}
void CTorvexView::SetProgress(const CRunProgress& progress) {
    m_pRunPanel->SetProgress(progress);
}
void CTorvexView::FocusStart() {
    m_pRunPanel->FocusStart();
}
void CTorvexView::MoveFocusToStop() {
    m_pRunPanel->MoveFocusToStop();
}

void CTorvexView::LockScreens(bool bEnable) {
    m_bLocked = !bEnable;
    m_pTabs->setEnabled(bEnable);
    m_pStepList->LockControls(bEnable);
    m_pManual->LockFileButtons(!bEnable);
    if (m_pSequenceList) m_pSequenceList->LockControls(bEnable);
    emit screensLocked(!bEnable);
    emit commandsChanged();
}

void CTorvexView::SetBusy(bool bBusy) {
    if (m_bBusy == bBusy) return;
    m_bBusy = bBusy;
    // The window keeps painting and answering; only the operator's input to
    // the screens waits until the instrument has answered.
    if (bBusy) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        qApp->installEventFilter(this);
    } else {
        qApp->removeEventFilter(this);
        QApplication::restoreOverrideCursor();
    }
}

void CTorvexView::FillList(const std::vector<CExecData>& steps) {
    m_pStepList->FillList(steps);
}
void CTorvexView::RefreshRow(const CExecData&, int nRow) {
    m_pStepList->RefreshRow(nRow);
}
void CTorvexView::SelectRow(int nRow) {
    m_pStepList->SelectRow(nRow);
}

void CTorvexView::ShowNotConnected() {
    // A SETTINGS page built later shows it too.
    m_bShownNotConnected = true;
    if (m_pSettings) m_pSettings->ShowNotConnected();
}

QString CTorvexView::WindowTitle() const {
    return window()->windowTitle();
}

void CTorvexView::SetWindowTitle(const QString& strTitle) {
    window()->setWindowTitle(strTitle);
}

void CTorvexView::RefreshManualScreen() {
    m_pManual->Refresh();
}

} // namespace torvex
