#pragma once

#include "instrument/InstrumentThread.h"
// moc cannot read the standard coroutine header; it needs none of it.
#ifndef Q_MOC_RUN
#include "instrument/Task.h"
#endif
#include "run/RunView.h"
#include "run/StepCursor.h"

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <functional>

// The instrument cannot be reached: demo mode, or the instrument stopped
// answering. While set, nothing is exchanged with the instrument. Read
// anywhere; written only by the session.
extern int32_t g_bNotConnected;

namespace torvex {

class CTorvexDoc;
class CTestProperty;
class COperatorDialog;

// What the run panel is doing.
enum class RunState : int32_t { Idle = 0, Paused = 1, Running = 2 };

// Why a run handed the panel back.
enum class RunEnd {
    Finished, // every step passed
    Stopped,  // STOP, Esc, a signal, or the instrument's own stop
    Error,    // an instrument error ended the output
    Lost,     // the instrument stopped answering, or a step could not be loaded
    Between,  // one step done, the operator starts the next (stop after every step)
};

// The English word for why a run ended (command-line output, logs).
const char* RunEndName(RunEnd eWhy);

// The instrument's error codes, in the groups the panel treats alike.
enum ErrorCode : int32_t {
    ERROR_EMERGENCY_STOP = 1,
    ERROR_SYSTEM = 2,
    ERROR_SYNC_AT_START = 4,
    ERROR_SYNC_STOPPED = 5,
    ERROR_EUT_FAIL = 6,
    ERROR_PULSE_OUTPUT = 7,
    ERROR_FAN = 8,
    ERROR_EMERGENCY_STOP_2 = 9,
};
// Errors shown by the idle poll, once per code.
bool IsIdleAlarm(int32_t nCode);
// Errors that end a step and are cleared once shown.
bool IsStepEndingError(int32_t nCode);

// The logic of the run panel: runs the steps of the current test on the
// instrument, follows each step by polling its status, and keeps the step list,
// the sequence list and the time read-outs up to date.
//
// Its work happens in tasks on the thread that owns it (the window's), one at
// a time in the order asked; every exchange with the instrument runs on the
// instrument thread, and a task waits for the answer without blocking its
// thread. The order of commands, questions and messages is that of a program
// that waited for each answer.
class CRunEngine : public QObject {
    Q_OBJECT
public:
    CRunEngine(CInstrumentThread& instrument, CTorvexDoc& doc, CTestProperty& property,
               COperatorDialog& dialog, QObject* parent = nullptr);
    ~CRunEngine() override;

    // What the engine changes on the screens; none: nothing is shown.
    void SetView(CRunView* pView);
    CRunView& View() const { return *m_pView; }

    // Start-up of the panel: reads the hour limit and arms the idle poll.
    void Start();
    // The tab view's mode: 0 STANDARD, 1 MANUAL, 2 SEQUENCE.
    void SetMode(int32_t nMode) { m_cursor.m_nMode = nMode; }
    int32_t Mode() const { return m_cursor.m_nMode; }

    // Operator input. Each runs now, or after the work in hand.
    void OnStart();
    void OnStop();
    // Esc anywhere on the panel while STOP is enabled.
    void OnEscape();
    // Left button pressed on START: while running it pauses at once. True when
    // the press was used (and must not reach the button).
    bool OnStartMouseDown();
    void OnLineClick();
    // Program exit: stops the polls, abandons the work in hand and has the
    // output stopped.
    void Close();

    void LockScreens(bool bEnable);
    // False while a run (or a START's exchanges) keeps the screens from changing the test.
    bool ScreensEnabled() const { return m_bScreensEnabled; }

    // The MANUAL screen allows START only while its condition has at most
    // 1000 steps; the idle poll enables START only while allowed.
    void SetStartAllowed(bool bAllowed);

    // The poll period (200 ms); long soak runs in the tests use a shorter one.
    void SetPollInterval(int nMs);

    // Read-outs.
    void ShowConditionTimes(const std::vector<CExecData>& steps);
    void ShowSequenceTimes(int32_t nEntry);
    void ClearTimes(bool bTotal, bool bRemaining);
    QString OverLimitText() const;

    // State.
    RunState State() const { return m_eRunState; }
    bool IsBusy() const { return m_current.Valid() || !m_queue.empty(); }
    bool IsStartPending() const { return m_bStartPending; }
    bool IsStopRequested() const { return m_bStopRequest; }
    bool IsStartEnabled() const { return m_bStartEnabled; }
    bool IsStopEnabled() const { return m_bStopEnabled; }
    bool IsBlinking() const { return m_bBlinking; }
    bool IsLineOn() const { return m_bLineOn; }
    const CStepCursor& Cursor() const { return m_cursor; }
    bool StopEveryStep() const { return m_bStopEveryStep; }
    void SetStopEveryStep(bool b) { m_bStopEveryStep = b; }
    int32_t HourLimit() const { return m_nHourLimit; }
    void SetHourLimit(int32_t n) { m_nHourLimit = n; }
    // A log folder that replaces the settings' one (the command line's).
    QString LogFolderOverride() const { return m_strLogFolderOverride; }
    void SetLogFolderOverride(const QString& s) { m_strLogFolderOverride = s; }

    // The STANDARD and MANUAL screens' unchanged-since-run flags: cleared at
    // every confirmed START of their mode, set again when the operator confirms
    // a change. A MANUAL test log still owed is kept apart from them, so a
    // START whose log could not be written tries it again.
    bool StandardUnchanged() const { return m_bStandardUnchanged; }
    bool ManualUnchanged() const { return m_bManualUnchanged; }
    bool ManualLogOwed() const { return m_bManualLogOwed; }
    void ConfirmConditionChange(int32_t nMode);
    // A test of the mode's condition has been run (a run brought back from the journal).
    void MarkConditionRun(int32_t nMode);

    // Last values shown, in seconds (for the command line and the tests).
    int64_t ShownTestTime() const { return m_lShownTestTime; }
    int64_t ShownTotal() const { return m_lShownTotal; }
    int64_t ShownRemaining() const { return m_lShownRemaining; }
    const CRunProgress& Progress() const { return m_progress; }

signals:
    // A step was sent and its output started (entry −1 outside a sequence).
    void stepStarted(int nEntry, int nStep);
    // A step ended with its judgment (2 pass, 0 not judged).
    void stepEnded(int nEntry, int nStep, int nJudge);
    // The run is over and the panel is idle again.
    void runEnded(RunEnd eWhy);
    // The running step was paused (true) or goes on again (false).
    void pauseChanged(bool bPaused);
    // The instrument reported an error during a run; its message.
    void runError(const QString& strText);
    // The instrument stopped answering at the idle poll.
    void instrumentLost();
    // The sequence list follows the run: select an entry's row and scroll to
    // it; show an entry (preview, step list, current step index 0); an
    // entry's overall judgment changed.
    void entrySelected(int nEntry);
    void entryShown(int nEntry);
    void entryJudgmentChanged(int nEntry);

private:
    // Tests put the engine into a state without running the instrument there.
    friend class CRunEngineProbe;
    using Task = torvex::Task<>;

    // Runs the work of fn now when nothing else is in hand, else after it.
    void Enqueue(std::function<Task()> fn);
    void RunNext();

    void IdleTick();
    void RunTick();
    Task IdleTask();
    Task StartTask();
    Task StopTask();
    Task EscapeTask();
    Task RunTask();
    Task LineTask();
    Task ShowRunTimes(bool bQueryInstrument);
    // The run ends because the instrument cannot be reached; bStepStarted: the
    // step in hand ran (else its load or start failed).
    Task EndLost(bool bStepStarted);

    void BlinkTick();
    void StopBlink();
    void SetLamp(bool bLit);
    void SetStartFace(bool bPlay);
    void SetLineIndicator(bool bOn);
    void DimLineIndicator();
    void EnableStart(bool b);
    void EnableStop(bool b);
    void ShowTime(Readout which, int64_t lSeconds, bool bAgainstLimit);
    bool WriteTestLog();
    void NotConnectedPath();
    std::vector<CExecData>* StepsOfMode();
    // Works out and shows the progress of the test whose current list is
    // steps (entry nEntry of the sequence, or -1 for a condition), with the
    // current step's time done and the remaining time the read-out shows.
    void ShowProgress(const std::vector<CExecData>& steps, int32_t nEntry, int64_t lStepDone, int64_t lRemaining);
    CRunProgress ProgressOf(const std::vector<CExecData>& steps, int32_t nEntry, int64_t lStepDone,
                            int64_t lRemaining) const;
    int EntryOut() const;
    // The judgment of the step in hand, for stepEnded.
    int CurrentJudge();

    // Exchanges with the instrument, awaited by tasks.
    struct Status {
        bool bOk = false;
        uint8_t ucStatus = 0;
    };
    Pending<Status> GetStatus();
    Pending<bool> Command(std::function<bool(CTorvexCntl&)> fn);
    Pending<bool> StopOutput();
    Pending<std::pair<bool, QString>> GetErrorMessage();
    Pending<std::pair<bool, int32_t>> GetErrorCode();

    CInstrumentThread& m_instrument;
    CTorvexDoc& m_doc;
    CTestProperty& m_property;
    COperatorDialog& m_dialog;
    CSilentRunView m_silentView;
    CRunView* m_pView = &m_silentView;
    QTimer m_timerIdle;
    QTimer m_timerRun;
    QTimer m_timerBlink;

    Task m_current;
    std::deque<std::function<Task()>> m_queue;
    bool m_bNextScheduled = false;
    bool m_bClosed = false;

    CStepCursor m_cursor;
    RunState m_eRunState = RunState::Idle;
    bool m_bScreensEnabled = true;
    bool m_bBlinking = false;
    bool m_bStopEveryStep = false;
    bool m_bStartPending = false;
    bool m_bStopRequest = false;
    bool m_bStartAllowed = true;
    int32_t m_nLastError = 0;
    int32_t m_nHourLimit = 24;
    bool m_bLineOn = false;
    bool m_bLineDimmed = false;
    bool m_bLampLit = false;
    bool m_bPlayFace = true;
    bool m_bStartEnabled = false;
    bool m_bStopEnabled = false;
    bool m_bStandardUnchanged = true;
    bool m_bManualUnchanged = true;
    bool m_bManualLogOwed = true;
    QString m_strLogFolderOverride;
    int64_t m_lShownTestTime = 0;
    int64_t m_lShownTotal = 0;
    int64_t m_lShownRemaining = 0;
    CRunProgress m_progress;
};

} // namespace torvex
