#pragma once

#include "gui/screens/ConditionHost.h"
#include "gui/screens/NumberField.h"
#include "model/ScreenRules.h"
#include "model/Tooltips.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace torvex {

class CStepListView;
class CSession;
class CCouplingPhaseDlg;
class CConditionGroup;
class CInputGate;
class CSettingData;
class CValueDlg;

// The MANUAL screen: every parameter of the document's MANUAL condition, the
// data file buttons, and the value and coupling line editors. Each stored
// change runs the rules, expands the steps and shows them.
class CManualDlg : public QWidget, public CConditionHost {
    Q_OBJECT
public:
    CManualDlg(CSession& session, CStepListView& list, QWidget* pParent = nullptr);
    ~CManualDlg() override;

    // Every control from the condition.
    void Refresh();
    // After every stored change: steps, step list, run panel times, save
    // buttons, function boxes and tooltips. Returns the number of steps.
    int64_t ConditionChanged();
    // The three file buttons while a run locks the screens.
    void LockFileButtons(bool bLocked);
    // Whether saving is possible (at most 1000 steps); the menu's Save and
    // Save As follow it.
    bool IsSaveAllowed() const { return m_bSaveAllowed; }
    // Moves the focus off the boxes, so that a typed value is taken over
    // before the screen is hidden.
    void CommitTyping();

    // CConditionHost
    bool InputEnabled() const override;
    ConfirmResult ConfirmEdit() override;
    void EditorChanged(uint32_t uChanged) override;
    void EditorUnchanged() override;

    // The controls, for the view's focus handling and for tests.
    enum TIME_PART { TIME_HOUR = 0, TIME_MIN, TIME_SEC };
    enum BURST_BOX { BURST_PERIOD = 0, BURST_PULSES, BURST_DURA };
    QLineEdit* NameField() const { return m_pName; }
    QPushButton* LoadButton() const { return m_pLoad; }
    QPushButton* SaveButton() const { return m_pSave; }
    QPushButton* SaveAsButton() const { return m_pSaveAs; }
    QRadioButton* PolarityButton(int n) const { return m_apPola[n]; } // 0 ＋, 1 －, 2 ＋ ⇒ －
    QCheckBox* FunctionBox(SPECIAL_FUNCTION e) const { return m_apFunc[e]; }
    const NUMBER_FIELD& TimeField(TIME_PART e) const { return m_aTime[e]; }
    const NUMBER_FIELD& BurstField(BURST_BOX e) const { return m_aBurst[e]; }
    CValueDlg* VoltEditor() const { return m_pVolt; }
    CValueDlg* FreqEditor() const { return m_pFreq; }
    CValueDlg* AngleEditor() const { return m_pAngle; }
    CCouplingPhaseDlg* CouplingEditor() const { return m_pCoupling; }
    QRadioButton* OutputButton(int nPort) const { return nPort == PORT_CDN ? m_pCdn : m_pPulse; }
    QRadioButton* SyncButton(bool bSync) const { return bSync ? m_pSync : m_pAsync; }
    QRadioButton* PhaseButton(int nDetail) const { return nDetail == DETAIL_THREE ? m_pThree : m_pSingle; }
    QWidget* SyncGroup() const;
    QWidget* AngleGroup() const;
    QWidget* PhaseGroup() const;

signals:
    void saveAllowedChanged(bool bAllowed);

private:
    void BuildHeader(QVBoxLayout* pLayout);
    QWidget* BuildLeftColumn();
    QWidget* BuildRightColumn();
    void Connect();
    CSettingData& Cond() const;

    void OnPolarity(uint32_t ulPola);
    void OnFunction(SPECIAL_FUNCTION eFunc, bool bChecked);
    void OnTimeLeft();
    void OnTimeSpin(TIME_PART ePart, bool bUp, bool bCtrl);
    void OnBurstLeft(BURST_BOX eBox);
    void OnBurstSpin(BURST_BOX eBox, bool bUp, bool bCtrl, bool bShift);
    void OnOutput(int32_t nPort);
    void OnSync(bool bSync);
    void OnPhase(int32_t nDetail);
    void OnLoad();
    void OnConditionReplaced();

    void RefreshName();
    void RefreshTime();
    void RefreshBurst();
    void RefreshFunctions();
    void RefreshVisibility();
    void UpdateTooltips();
    void SetSaveAllowed(bool bAllowed);

    CSession& m_session;
    CStepListView& m_list;
    bool m_bSaveAllowed = true;
    bool m_bFileLocked = false;

    QLineEdit* m_pName = nullptr;
    QPushButton* m_pLoad = nullptr;
    QPushButton* m_pSave = nullptr;
    QPushButton* m_pSaveAs = nullptr;
    std::array<QRadioButton*, 3> m_apPola{};
    std::array<QCheckBox*, FUNC_COUNT> m_apFunc{};
    std::array<NUMBER_FIELD, 3> m_aTime{};
    std::array<NUMBER_FIELD, 3> m_aBurst{};
    CValueDlg* m_pVolt = nullptr;
    CValueDlg* m_pFreq = nullptr;
    CValueDlg* m_pAngle = nullptr;
    CCouplingPhaseDlg* m_pCoupling = nullptr;
    QRadioButton* m_pCdn = nullptr;
    QRadioButton* m_pPulse = nullptr;
    QRadioButton* m_pSync = nullptr;
    QRadioButton* m_pAsync = nullptr;
    QRadioButton* m_pSingle = nullptr;
    QRadioButton* m_pThree = nullptr;
    CConditionGroup* m_pSyncGroup = nullptr;
    CConditionGroup* m_pAngleGroup = nullptr;
    CConditionGroup* m_pPhaseGroup = nullptr;
    CInputGate* m_pGate = nullptr;
};

} // namespace torvex
