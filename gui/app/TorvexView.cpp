#include "gui/app/TorvexView.h"

#include "config/IniKeys.h"
#include "config/InstrumentLink.h"
#include "config/Profile.h"
#include "config/TestProperty.h"
#include "config/TorvexCntlLink.h"
#include "files/TabCode.h"
#include "files/TabLogic.h"
#include "files/TorvexDoc.h"
#include "gui/config/SettingsDlg.h"
#include "gui/results/ExecListDlg.h"
#include "gui/run/ExecDlg.h"
#include "gui/screens/ManualDlg.h"
#include "gui/screens/SequenceDlg.h"
#include "gui/screens/SequenceListDlg.h"
#include "gui/screens/StandardDlg.h"
#include "gui/widgets/Fonts.h"
#include "instrument/RsBasicProtocol.h"
#include "instrument/TorvexCntl.h"
#include "journal/Journal.h"
#include "journal/JournalRun.h"
#include "journal/RunRecorder.h"
#include "model/StepExpansion.h"
#include "results/JudgmentStore.h"
#include "results/ReportWriter.h"
#include "run/RunEngine.h"
#include "run/SequenceListLogic.h"

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QTabBar>
#include <QUrl>

namespace {

// Geometry of the view, in pixels: the condition screens on the left, the run
// panel with the step list (and on SEQUENCE the sequence list) on the right.
const int kMinLeftWidth = 580;
const int kMargin = 5;
const int kRunPanelHeight = 84;
const int kSequenceListHeight = 250;

} // namespace

CTorvexView::CTorvexView(const VIEW_CONTEXT& context, QWidget* pParent) : QWidget(pParent), m_ctx(context) {
    setFont(UiFont(14));
}

CTorvexView::~CTorvexView() {
    if (m_pEngine) m_pEngine->Close();
}

void CTorvexView::InitialUpdate() {
    CTorvexDoc& doc = *m_ctx.m_pDoc;
    m_pTabs = new QTabBar(this);
    const char* names[] = {"STANDARD", "MANUAL", "SEQUENCE", "SETTINGS"};
    for (int code = TAB_STANDARD; code <= TAB_SETTINGS; ++code) {
        const int i = m_pTabs->addTab(QString::fromLatin1(names[code]));
        m_pTabs->setTabData(i, code); // the code, not the position, says what a tab shows
    }
    m_pTabs->setFont(UiFont(14));
    m_pTabs->installEventFilter(this);

    m_pRunPanel = new CExecDlg(this);
    m_pEngine =
        std::make_unique<CRunEngine>(*m_ctx.m_pCntl, doc, *m_ctx.m_pProperty, *m_ctx.m_pDialog, *this);
    m_pRunPanel->SetEngine(m_pEngine.get());

    // Journal: the operator's judgments go through the store, and the recorder
    // keeps every run and judgment on disk as it happens.
    m_pJudgments = std::make_unique<CJudgmentStore>(doc);
    if (m_ctx.m_pJournal) {
        m_pRecorder = std::make_unique<CRunRecorder>(*m_ctx.m_pJournal, *m_pEngine, doc, *m_ctx.m_pProperty,
                                                     m_pJudgments.get(), *m_ctx.m_pDialog);
        const bool bConnected = m_ctx.m_pCntl->IsOpen();
        m_pRecorder->SetInstrument(
            uint32_t(m_ctx.m_nMachineType),
            InstrumentIdentity(uint32_t(m_ctx.m_nMachineType), m_ctx.m_pnHWVersion ? *m_ctx.m_pnHWVersion : 0,
                               CRsBasicProtocol::PortPath(m_ctx.m_pCntl->m_protocol.m_nPort), bConnected));
    }

    STEP_LIST_HOST host;
    host.fnScreensEnabled = [this] { return m_bScreensEnabled; };
    host.fnJudgmentEntered = [this] { m_bJudgmentEntered = true; };
    host.fnEntryJudgment = [this](int e) { UpdateEntryJudgment(e); };
    host.fnFocusLineSwitch = [this] { m_pRunPanel->FocusLineSwitch(); };
    host.fnReport = [this] { OutputReport(); };
    m_pStepList = new CExecListDlg(doc, *m_pEngine, *m_pJudgments, *m_ctx.m_pDialog, host, this);

    SCREEN_CONTEXT screen;
    screen.m_pDoc = &doc;
    screen.m_pEngine = m_pEngine.get();
    screen.m_pProperty = m_ctx.m_pProperty;
    screen.m_pList = m_pStepList;
    screen.m_pDialog = m_ctx.m_pDialog;
    screen.m_ulMachineType = uint32_t(m_ctx.m_nMachineType);
    screen.m_fnScreensEnabled = [this] { return m_bScreensEnabled; };
    m_pStandard = new CStandardDlg(screen, this);
    m_pManual = new CManualDlg(screen, this);
    connect(m_pManual, &CManualDlg::saveAllowedChanged, this, &CTorvexView::commandsChanged);
    // SEQUENCE tab: the preview and the sequence list, which drives it and the step list.
    m_pSequence = new CSequenceDlg(this);
    m_pSequenceList = new CSequenceListDlg(
        doc, *m_pEngine, *m_ctx.m_pProperty, *m_ctx.m_pDialog, *m_pStepList, *m_pSequence,
        [this] { return m_bScreensEnabled; }, this);

    m_pLink = std::make_unique<CTorvexCntlLink>(*m_ctx.m_pCntl);
    SETTINGS_PAGE_CONTEXT sc;
    sc.m_pLink = m_pLink.get();
    sc.m_pCalib = m_ctx.m_pCalib;
    sc.m_pTestProperty = m_ctx.m_pProperty;
    sc.m_pDialog = m_ctx.m_pDialog;
    sc.m_nMachineType = m_ctx.m_nMachineType;
    sc.m_pnHWVersion = m_ctx.m_pnHWVersion;
    sc.m_pbNotConnected = &g_bNotConnected;
    sc.m_pbStopEveryStep = &m_pEngine->m_bStopEveryStep;
    m_pSettings = new CSettingsDlg(sc, this);

    for (QWidget* w : {static_cast<QWidget*>(m_pStandard), static_cast<QWidget*>(m_pManual),
                       static_cast<QWidget*>(m_pSequence), static_cast<QWidget*>(m_pSequenceList),
                       static_cast<QWidget*>(m_pSettings)})
        w->hide();

    m_pEngine->Start();
    m_pEngine->m_bStopEveryStep = m_pSettings->StopEveryStep();

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
    CTorvexDoc& doc = *m_ctx.m_pDoc;
    QWidget* pFocus = QApplication::focusWidget();
    const int nNewTab = m_pTabs->tabData(m_pTabs->currentIndex()).toInt();
    if (m_pManual->isVisible() && nNewTab != TAB_MANUAL) {
        m_pManual->CommitTyping(); // a value being typed is taken over first
        pFocus = nullptr;
    }
    m_nTab = nNewTab;
    doc.SetTab(m_nTab);
    if (m_nTab != TAB_SETTINGS) m_pEngine->SetMode(m_nTab);

    const bool bCondition = m_nTab != TAB_SETTINGS;
    for (int t = TAB_STANDARD; t <= TAB_SETTINGS; ++t)
        ScreenOfTab(t)->setVisible(t == m_nTab);
    m_pRunPanel->setVisible(bCondition);
    m_pStepList->setVisible(bCondition);
    m_pSequenceList->setVisible(m_nTab == TAB_SEQUENCE);
    DoLayout();

    switch (m_nTab) {
    case TAB_STANDARD:
        m_pStepList->FillList(doc.m_settingStandard.m_listExec);
        m_pStepList->ShowStepLimit(1);
        m_pEngine->SetStartAllowed(true);
        m_pEngine->ShowConditionTimes(doc.m_settingStandard.m_listExec);
        break;
    case TAB_MANUAL:
        m_pStepList->FillList(doc.m_settingManual.m_listExec);
        m_pStepList->ShowStepLimit(CountSteps(doc.m_settingManual));
        m_pEngine->SetStartAllowed(CountSteps(doc.m_settingManual) <= kMaxSteps);
        m_pEngine->ShowConditionTimes(doc.m_settingManual.m_listExec);
        break;
    case TAB_SEQUENCE:
        m_pStepList->ShowStepLimit(1);
        m_pEngine->SetStartAllowed(true);
        m_pSequenceList->Logic().Activate(); // steps, preview, times and title
        break;
    default:
        break;
    }
    if (m_nTab != TAB_SEQUENCE) SetWindowTitle(TabWindowTitle(m_nTab, doc));
    if (pFocus && pFocus->isVisible()) pFocus->setFocus();
    emit commandsChanged();
}

void CTorvexView::DoLayout() {
    if (!m_pTabs) return;
    const int w = width(), h = height();
    m_pTabs->setGeometry(0, 0, w, m_pTabs->sizeHint().height());
    const int top = m_pTabs->height() + kMargin;
    int leftWidth = kMinLeftWidth;
    for (int t = TAB_STANDARD; t <= TAB_SEQUENCE; ++t)
        leftWidth = std::max(leftWidth, ScreenOfTab(t)->sizeHint().width());
    const int right = leftWidth + 2 * kMargin;
    const int rightWidth = std::max(200, w - right - kMargin);
    m_pRunPanel->setGeometry(right, top, rightWidth, kRunPanelHeight);
    const int belowPanel = top + kRunPanelHeight + kMargin;
    for (int t = TAB_STANDARD; t <= TAB_SEQUENCE; ++t)
        ScreenOfTab(t)->setGeometry(kMargin, top, leftWidth, h - top - kMargin);
    if (m_nTab == TAB_SEQUENCE) {
        m_pSequenceList->setGeometry(right, belowPanel, rightWidth, kSequenceListHeight);
        const int listTop = belowPanel + kSequenceListHeight + kMargin;
        m_pStepList->setGeometry(right, listTop, rightWidth, h - listTop - kMargin);
    } else {
        m_pStepList->setGeometry(right, belowPanel, rightWidth, h - belowPanel - kMargin);
    }
    m_pSettings->setGeometry(kMargin, top, w - 2 * kMargin, h - top - kMargin);
}

void CTorvexView::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    DoLayout();
}

bool CTorvexView::eventFilter(QObject* pWatched, QEvent* pEvent) {
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
    CTorvexDoc& doc = *m_ctx.m_pDoc;
    doc.SetModifiedFlag(false);
    const int64_t total = ExpandSteps(doc.m_settingManual);
    doc.m_nCurStep = 0;
    if (m_nTab == TAB_MANUAL) {
        m_pStepList->ShowStepLimit(total);
        if (total <= kMaxSteps) m_pStepList->FillList(doc.m_settingManual.m_listExec);
        m_pEngine->SetStartAllowed(total <= kMaxSteps);
        m_pEngine->ShowConditionTimes(doc.m_settingManual.m_listExec);
        SetWindowTitle(TabWindowTitle(m_nTab, doc));
    }
    RefreshManualScreen();
    emit commandsChanged();
}

bool CTorvexView::IsTestRunning() const {
    return m_pEngine && (m_pEngine->m_nRunState != 0 || !m_bScreensEnabled);
}

bool CTorvexView::IsReportEnabled() const {
    return m_nTab != TAB_SETTINGS && m_pStepList->IsReportEnabled();
}

bool CTorvexView::IsManualSaveEnabled() const {
    return m_nTab == TAB_MANUAL && CountSteps(m_ctx.m_pDoc->m_settingManual) <= kMaxSteps &&
           m_bScreensEnabled;
}

void CTorvexView::OutputReport() {
    if (!m_bScreensEnabled) return;
    const std::optional<CReportData> data =
        CollectReport(*m_ctx.m_pDoc, m_nTab, *m_ctx.m_pProperty, uint32_t(m_ctx.m_nMachineType));
    if (!data) return; // SETTINGS, or an empty sequence list: nothing to report
    // The workbook is saved first, so nothing is lost, then opened.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const REPORT_RESULT result = SaveReport(*data);
    QApplication::restoreOverrideCursor();
    const bool bOpened =
        result.m_bWritten && QDesktopServices::openUrl(QUrl::fromLocalFile(result.m_strPath));
    const QString message = ReportOutcomeMessage(result, bOpened);
    if (!message.isEmpty()) m_ctx.m_pDialog->Message(message);
}

bool CTorvexView::RecoverRun(qint64 nRun) {
    if (!m_ctx.m_pJournal || !m_bScreensEnabled) return false;
    const std::optional<JOURNAL_RUN> run = m_ctx.m_pJournal->Run(nRun);
    if (!run || run->m_nTab < TAB_STANDARD || run->m_nTab > TAB_SEQUENCE) return false;
    SelectTab(run->m_nTab);
    CTorvexDoc& doc = *m_ctx.m_pDoc;
    if (!RestoreRun(*run, m_ctx.m_pJournal->Steps(nRun), doc, *m_ctx.m_pProperty)) return false;
    // The test has been run: a change of its condition asks first, as after a START.
    if (run->m_nTab == TAB_STANDARD) m_pEngine->m_bStandardUnchanged = 0;
    if (run->m_nTab == TAB_MANUAL) m_pEngine->m_bManualUnchanged = 0;
    if (run->m_nTab == TAB_SEQUENCE) {
        for (int e = 0; e < doc.m_sequence.Count(); ++e)
            UpdateEntryJudgment(e);
        ShowEntry(0);
    } else {
        m_pStepList->FillList(run->m_nTab == TAB_STANDARD ? doc.m_settingStandard.m_listExec
                                                          : doc.m_settingManual.m_listExec);
    }
    if (m_pRecorder) m_pRecorder->Adopt(run->m_nTab, nRun);
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
void CTorvexView::FocusStart() {
    m_pRunPanel->FocusStart();
}
void CTorvexView::MoveFocusToStop() {
    m_pRunPanel->MoveFocusToStop();
}

void CTorvexView::LockScreens(bool bEnable) {
    m_bScreensEnabled = bEnable;
    m_pTabs->setEnabled(bEnable);
    m_pStepList->LockControls(bEnable);
    m_pManual->LockFileButtons(!bEnable);
    m_pSequenceList->LockControls(bEnable);
    emit screensLocked(!bEnable);
    emit commandsChanged();
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

// The sequence list follows the run.
void CTorvexView::SelectEntry(int nEntry) {
    m_pSequenceList->Logic().SelectEntry(nEntry);
}
void CTorvexView::ShowEntry(int nEntry) {
    m_pSequenceList->Logic().ShowEntry(nEntry);
}
void CTorvexView::UpdateEntryJudgment(int nEntry) {
    m_pSequenceList->Logic().UpdateEntryJudgment(nEntry);
}

void CTorvexView::ShowNotConnected() {
    m_pSettings->ShowNotConnected();
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
