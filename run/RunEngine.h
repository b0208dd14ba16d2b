#pragma once

#include "instrument/TorvexCntl.h"
#include "run/RunView.h"
#include "run/StepCursor.h"

#include <QObject>
#include <QTimer>
#include <cstdint>

class CTorvexDoc;
class CTestProperty;
class COperatorDialog;

// The instrument cannot be reached: demo mode, or the instrument stopped
// answering. While set, nothing is exchanged with the instrument.
extern int32_t g_bNotConnected;
// The output lamp blinks (or its blink is suspended by a pause).
extern int32_t g_bBlinking;

// The logic of the run panel: runs the steps of the current test on the
// instrument, follows each step by polling its status, and keeps the step list,
// the sequence list and the time read-outs up to date. Everything happens on
// the one thread, driven by three timers.
class CRunEngine : public QObject {
    Q_OBJECT
public:
    CRunEngine(CTorvexCntl& cntl, CTorvexDoc& doc, CTestProperty& property, COperatorDialog& dialog,
               CRunView& view, QObject* parent = nullptr);
    ~CRunEngine() override;

    // Start-up of the panel: reads the hour limit and arms the idle poll.
    void Start();
    // The tab view's mode: 0 STANDARD, 1 MANUAL, 2 SEQUENCE.
    void SetMode(int32_t nMode) { m_cursor.m_nMode = nMode; }
    int32_t Mode() const { return m_cursor.m_nMode; }

    // Operator input.
    void OnStart();
    void OnStop();
    // Esc anywhere on the panel while STOP is enabled.
    void OnEscape();
    // Left button pressed on START: while running it pauses at once. True when
    // the press was used (and must not reach the button).
    bool OnStartMouseDown();
    void OnLineClick();
    // Program exit: stops the polls and the output.
    void Close();

    void LockScreens(bool bEnable);

    // The MANUAL screen allows START only while its condition has at most
    // 1000 steps; the idle poll enables START only while allowed.
    void SetStartAllowed(bool bAllowed);

    // The poll period (200 ms); long soak runs in the tests use a shorter one.
    void SetPollInterval(int nMs);

    // Read-outs.
    void ShowConditionTimes(const std::vector<CExecData>& steps);
    void ShowSequenceTimes(int32_t nEntry);
    void ShowRunTimes();
    void ClearTimes(bool bTotal, bool bRemaining);
    QString OverLimitText() const;

    // State read and written by the other screens.
    CStepCursor m_cursor;
    int32_t m_nRunState = 0; // 0 idle, 1 paused, 2 running
    int32_t m_bStopEveryStep = 0;
    int32_t m_bStartPending = 0;
    int32_t m_bStopRequest = 0;
    int32_t m_bStartAllowed = 1;
    int32_t m_nLastError = 0;
    int32_t m_nHourLimit = 24;
    int32_t m_bLineOn = 0;
    int32_t m_bLampLit = 0;
    int32_t m_bPlayFace = 1;
    int32_t m_bStartEnabled = 0;
    int32_t m_bStopEnabled = 0;

    // The STANDARD and MANUAL screens' unchanged-since-run flags: cleared at
    // every confirmed START of their mode, set again when the operator confirms
    // a change.
    int32_t m_bStandardUnchanged = 1;
    int32_t m_bManualUnchanged = 1;
    // A test log of the MANUAL condition is still owed: kept apart from the
    // flag above, so a START whose log could not be written tries it again.
    int32_t m_bManualLogOwed = 1;

    // A log folder that replaces the settings' one (the command line's).
    QString m_strLogFolderOverride;

    // Last values shown, in seconds (for the command line and the tests).
    int64_t m_lShownTestTime = 0;
    int64_t m_lShownTotal = 0;
    int64_t m_lShownRemaining = 0;

signals:
    // A step was sent and its output started (entry −1 outside a sequence).
    void stepStarted(int nEntry, int nStep);
    // A step ended with its judgment (2 pass, 0 stopped or ended by an error).
    void stepEnded(int nEntry, int nStep, int nJudge);
    // The run is over and the panel is idle again; why: "finished", "stopped",
    // "error", "lost", "between".
    void runEnded(const QString& strWhy);
    // The running step was paused (true) or goes on again (false).
    void pauseChanged(bool bPaused);
    // The instrument reported an error during a run; its message.
    void runError(const QString& strText);

private:
    void IdleTick();
    void RunTick();
    void BlinkTick();
    void StopBlink();
    void SetLamp(bool bLit);
    void SetStartFace(bool bPlay);
    void SetLineIndicator(bool bOn);
    void DimLineIndicator();
    void EnableStart(bool b);
    void EnableStop(bool b);
    void ShowTime(Readout which, int64_t lSeconds, bool bAgainstLimit);
    void ShowRunTimes(bool bQueryInstrument);
    bool WriteTestLog();
    void NotConnectedPath();
    std::vector<CExecData>* StepsOfMode();

    CTorvexCntl& m_cntl;
    CTorvexDoc& m_doc;
    CTestProperty& m_property;
    COperatorDialog& m_dialog;
    CRunView& m_view;
    QTimer m_timerIdle;
    QTimer m_timerRun;
    QTimer m_timerBlink;
    int32_t m_bLineDimmed = 0;
};
