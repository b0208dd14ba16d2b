#pragma once

#include "run/RunView.h"

#include <QWidget>

class QTabBar;

namespace torvex {

class CTorvexDoc;
class CTorvexCntl;
class CRunEngine;
class CTestProperty;
class CCalibrationSetting;
class COperatorDialog;
class CExecDlg;
class CExecListDlg;
class CSettingsDlg;
class CStandardDlg;
class CManualDlg;
class CSequenceDlg;
class CSequenceListDlg;
class CSession;

// The tab view: the four tabs and the screens they show, the run panel and
// the step list. It is also what the run engine changes on the screens.
class CTorvexView : public QWidget, public CRunView {
    Q_OBJECT
public:
    explicit CTorvexView(CSession& session, QWidget* pParent = nullptr);
    ~CTorvexView() override;

    // The shown tab at its natural size (the window scrolls below it).
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

    // The parts every tab shows, which neither the instrument nor its model
    // decide: the tab bar, the run panel and the step list. Start-up builds
    // them while the instrument is searched for; InitialUpdate() does when
    // nothing has.
    void BuildShell();
    // Builds the screens, restores the last tab and starts the run panel.
    void InitialUpdate();
    // After New and after every successful data-file open.
    void RefreshManual();

    int Tab() const { return m_nTab; }
    void SelectTab(int nTab);
    bool IsTestRunning() const;
    bool IsJudgmentEntered() const { return m_bJudgmentEntered; }
    bool ScreensEnabled() const;
    bool IsReportEnabled() const;
    bool IsManualSaveEnabled() const;
    // What the output button and the menu command do.
    void OutputReport();
    // Puts a journalled run's test with its judgments and comments onto its
    // tab, ready for a report; false when the run cannot be read back.
    bool RecoverRun(qint64 nRun);

    CRunEngine& Engine() const;
    CSession& Session() const { return m_session; }
    CExecDlg* RunPanel() const { return m_pRunPanel; }
    CExecListDlg* StepList() const { return m_pStepList; }
    // These screens are built when first asked for.
    CSettingsDlg* SettingsPage();
    CSequenceDlg* SequenceScreen();
    CSequenceListDlg* SequenceList();
    QTabBar* TabBar() const { return m_pTabs; }

    // CRunView
    void SetStartEnabled(bool bEnable) override;
    void SetStopEnabled(bool bEnable) override;
    void SetStartFace(bool bPlay) override;
    void SetLamp(bool bLit) override;
    void SetLineIndicator(bool bOn, bool bDimmed) override;
    void SetReadout(Readout which, const CReadout& readout) override;
    void SetProgress(const CRunProgress& progress) override;
    void FocusStart() override;
    void MoveFocusToStop() override;
    void LockScreens(bool bEnable) override;
    void SetBusy(bool bBusy) override;
    void FillList(const std::vector<CExecData>& steps) override;
    void RefreshRow(const CExecData& step, int nRow) override;
    void SelectRow(int nRow) override;
    void ShowNotConnected() override;
    QString WindowTitle() const override;
    void SetWindowTitle(const QString& strTitle) override;
    void RefreshManualScreen() override;

signals:
    // The menu bar follows the screens' lock.
    void screensLocked(bool bLocked);
    // Commands may have changed their enabled state.
    void commandsChanged();

protected:
    void resizeEvent(QResizeEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void OnTabChanged();
    void DoLayout();
    int LeftWidth() const;
    int RightMinWidth() const;
    // The screen of a tab, null while not built.
    QWidget* ScreenOfTab(int nTab) const;
    // Builds the screens of a tab that are not there yet.
    void BuildScreen(int nTab);

    CSession& m_session;
    QTabBar* m_pTabs = nullptr;
    CStandardDlg* m_pStandard = nullptr;
    CManualDlg* m_pManual = nullptr;
    CSequenceDlg* m_pSequence = nullptr;
    CSequenceListDlg* m_pSequenceList = nullptr;
    CSettingsDlg* m_pSettings = nullptr;
    CExecDlg* m_pRunPanel = nullptr;
    CExecListDlg* m_pStepList = nullptr;
    int m_nTab = 3;
    bool m_bReady = false;
    bool m_bJudgmentEntered = false;
    bool m_bBusy = false;
    bool m_bLocked = false;           // the screens are locked (a test runs)
    bool m_bShownNotConnected = false; // the instrument was found gone
};

} // namespace torvex
