#pragma once

#include "run/RunView.h"

#include <QWidget>
#include <memory>

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
class CInstrumentLink;
class CJournal;
class CJudgmentStore;
class CRunRecorder;
class QTabBar;

// What the view works on; all of it belongs to the application.
struct VIEW_CONTEXT {
    CTorvexDoc* m_pDoc = nullptr;
    CTorvexCntl* m_pCntl = nullptr;
    CTestProperty* m_pProperty = nullptr;
    CCalibrationSetting* m_pCalib = nullptr;
    COperatorDialog* m_pDialog = nullptr;
    int32_t m_nMachineType = 0;
    int32_t* m_pnHWVersion = nullptr;
    CJournal* m_pJournal = nullptr; // the run journal (none: runs are not journalled)
};

// The tab view: the four tabs and the screens they show, the run panel and
// the step list. It is also what the run engine changes on the screens.
class CTorvexView : public QWidget, public CRunView {
    Q_OBJECT
public:
    explicit CTorvexView(const VIEW_CONTEXT& context, QWidget* pParent = nullptr);
    ~CTorvexView() override;

    // Builds the screens, restores the last tab and starts the run panel.
    void InitialUpdate();
    // After New and after every successful data-file open.
    void RefreshManual();

    int Tab() const { return m_nTab; }
    void SelectTab(int nTab);
    bool IsTestRunning() const;
    bool IsJudgmentEntered() const { return m_bJudgmentEntered; }
    bool ScreensEnabled() const { return m_bScreensEnabled; }
    bool IsReportEnabled() const;
    bool IsManualSaveEnabled() const;
    // What the output button and the menu command do.
    void OutputReport();
    // Puts a journalled run's test with its judgments and comments onto its
    // tab, ready for a report; false when the run cannot be read back.
    bool RecoverRun(qint64 nRun);

    CRunEngine& Engine() const { return *m_pEngine; }
    CRunRecorder* Recorder() const { return m_pRecorder.get(); }
    CExecDlg* RunPanel() const { return m_pRunPanel; }
    CExecListDlg* StepList() const { return m_pStepList; }
    CSettingsDlg* SettingsPage() const { return m_pSettings; }
    CSequenceDlg* SequenceScreen() const { return m_pSequence; }
    CSequenceListDlg* SequenceList() const { return m_pSequenceList; }
    QTabBar* TabBar() const { return m_pTabs; }

    // CRunView
    void SetStartEnabled(bool bEnable) override;
    void SetStopEnabled(bool bEnable) override;
    void SetStartFace(bool bPlay) override;
    void SetLamp(bool bLit) override;
    void SetLineIndicator(bool bOn, bool bDimmed) override;
    void SetReadout(Readout which, const CReadout& readout) override;
    void FocusStart() override;
    void MoveFocusToStop() override;
    void LockScreens(bool bEnable) override;
    void FillList(const std::vector<CExecData>& steps) override;
    void RefreshRow(const CExecData& step, int nRow) override;
    void SelectRow(int nRow) override;
    void SelectEntry(int nEntry) override;
    void ShowEntry(int nEntry) override;
    void UpdateEntryJudgment(int nEntry) override;
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
    QWidget* ScreenOfTab(int nTab) const;

    VIEW_CONTEXT m_ctx;
    std::unique_ptr<CInstrumentLink> m_pLink;
    std::unique_ptr<CRunEngine> m_pEngine;
    std::unique_ptr<CJudgmentStore> m_pJudgments;
    std::unique_ptr<CRunRecorder> m_pRecorder; // after the engine: gone before it
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
    bool m_bScreensEnabled = true;
};
