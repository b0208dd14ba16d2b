#pragma once

#include "gui/screens/NumberField.h"
#include "model/ScreenRules.h"
#include "run/ConditionChange.h"

#include <QWidget>
#include <array>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QPushButton;

namespace torvex {

class CStepListView;
class CSession;
class CConditionGroup;
class CInputGate;
class CSettingData;

// The STANDARD screen: a test from one of four levels and a few choices, on
// the document's STANDARD condition. Voltage and burst duration follow from
// the choices; burst period and pulse count are fixed.
class CStandardDlg : public QWidget {
    Q_OBJECT
public:
    // The screen sets the STANDARD condition up as it is built
    // (CSession::SetUpStandardCondition), unless bSetUp is false: it then shows
    // the condition as it stands.
    CStandardDlg(CSession& session, CStepListView& list, QWidget* pParent = nullptr,
                 bool bSetUp = true);
    ~CStandardDlg() override;

    // Derives voltage and burst duration and shows the condition.
    void Refresh();
    // After every stored change: steps, step list, run panel times.
    int64_t ConditionChanged();

    enum TIME_PART { TIME_HOUR = 0, TIME_MIN, TIME_SEC };
    QPushButton* LevelButton(int n) const { return m_apLevel[n]; }
    QPushButton* PolarityButton(int n) const { return m_apPola[n]; } // 0 ＋, 1 －
    QPushButton* FreqButton(int n) const { return m_apFreq[n]; }     // 0 5 kHz, 1 100 kHz
    QPushButton* OutputButton(int nPort) const { return m_apOutput[nPort]; }
    QPushButton* PhaseButton(int nDetail) const { return m_apPhase[nDetail]; }
    QCheckBox* LineBox(int n) const { return m_apLine[n]; }
    const NUMBER_FIELD& TimeField(TIME_PART e) const { return m_aTime[e]; }
    QLabel* VoltageText() const { return m_pVoltage; }
    QLabel* DurationText() const { return m_pDuration; }
    QWidget* PhaseGroup() const;

private:
    CSettingData& Cond() const;
    bool InputEnabled() const;
    void OnLevel(int32_t nLevel);
    void OnPolarity(uint32_t ulPola);
    void OnFreq(int32_t lFreq);
    void OnOutput(int32_t nPort);
    void OnPhase(int32_t nDetail);
    void OnLine();
    void OnTimeLeft();
    void OnTimeSpin(TIME_PART ePart, bool bUp, bool bCtrl);
    void StoreTime(const int32_t (&alPart)[3]);
    void RefreshTime();
    void RefreshLines();

    CSession& m_session;
    CStepListView& m_list;
    std::array<QPushButton*, 4> m_apLevel{};
    std::array<QPushButton*, 2> m_apPola{};
    std::array<QPushButton*, 2> m_apFreq{};
    std::array<QPushButton*, 2> m_apOutput{};
    std::array<QPushButton*, 2> m_apPhase{};
    std::array<QCheckBox*, 5> m_apLine{};
    std::array<NUMBER_FIELD, 3> m_aTime{};
    QLabel* m_pVoltage = nullptr;
    QLabel* m_pPeriod = nullptr;
    QLabel* m_pPulses = nullptr;
    QLabel* m_pDuration = nullptr;
    CConditionGroup* m_pPhaseGroup = nullptr;
    CInputGate* m_pGate = nullptr;
};

} // namespace torvex
