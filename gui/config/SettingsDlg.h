#pragma once

#include "config/LogSetting.h"

#include <QVector>
#include <QWidget>
#include <cstdint>
#include <functional>

class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace torvex {

class CCalibrationSetting;
class CInstrumentLink;
class CLeaveLineEdit;
class CNumericLineEdit;
class CTestProperty;
class COperatorDialog;
class CSession;

// The SETTINGS tab: connection, switches, calibration reminder, test log and
// the test information for reports. Every change is stored at once.
class CSettingsDlg : public QWidget {
    Q_OBJECT
public:
    explicit CSettingsDlg(CSession& session, QWidget* pParent = nullptr);
    // Its controls at their natural size: where the window is smaller, the
    // window scrolls rather than the page squeezing them.
    QSize sizeHint() const override;

    bool TooltipsOn() const;
    bool StopEveryStep() const;

    // Fields that store when they are left store now (before the page goes).
    void CommitEdits();

    // Asks for a folder; empty when cancelled. Replaceable for tests.
    std::function<QString(QWidget* pParent, const QString& strStart)> m_chooseFolder;

    QLabel* m_pModelName = nullptr;
    QLineEdit* m_pConnection = nullptr;
    QLabel* m_pDemoMode = nullptr;
    QPushButton* m_pReconnect = nullptr;
    QCheckBox* m_pUseTips = nullptr;
    QCheckBox* m_pStopEveryStep = nullptr;
    QComboBox* m_pLanguage = nullptr;
    QComboBox* m_pCalibModel = nullptr;
    CLeaveLineEdit* m_pMachineSerial = nullptr;
    QCheckBox* m_pNotice1 = nullptr;
    CNumericLineEdit* m_pDays1 = nullptr;
    QCheckBox* m_pNotice2 = nullptr;
    CNumericLineEdit* m_pDays2 = nullptr;
    QLabel* m_pLastDate = nullptr;
    QPushButton* m_pChangeLast = nullptr;
    QLabel* m_pNextDate = nullptr;
    QPushButton* m_pChangeNext = nullptr;
    QCalendarWidget* m_pCalendar = nullptr;
    QCheckBox* m_pLogOn = nullptr;
    QLabel* m_pLogFolder = nullptr;
    QPushButton* m_pChooseFolder = nullptr;
    QLabel* m_pTesterModel = nullptr;
    // In the order of TestInfoFields().
    QVector<QLineEdit*> m_apTestInfo;

    CLogSetting m_logSetting;
    int m_nCalYear = 0;
    int m_nCalMonth = 0;
    int m_nCalDay = 0;

signals:
    void TooltipsSwitched(bool bOn);
    void StopEveryStepSwitched(bool bOn);

public slots:
    // The instrument was lost.
    void ShowNotConnected();
    void OnReconnect();

protected:
    QWidget* m_pContent = nullptr;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;

private:
    QWidget* MakeConnectionGroup();
    QWidget* MakeFunctionGroup();
    QWidget* MakeCalibrationGroup();
    QWidget* MakeLogGroup();
    QWidget* MakeTestInfoGroup();
    QWidget* MakeLanguageGroup();
    void FillControls();
    void OnPeriodLeft(int nReminder);
    void OnChangeLastDate();
    void OnChangeNextDate();
    void OnChooseFolder();
    void OnUseTips(bool bOn);
    void OnStopEveryStep(bool bOn);
    void ShowConnected(bool bConnected);

    CSession& m_session;
};

} // namespace torvex
