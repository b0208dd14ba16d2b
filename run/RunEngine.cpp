#include "run/RunEngine.h"

#include "config/SettingsLogic.h"
#include "config/TestProperty.h"
#include "files/TorvexDoc.h"
#include "instrument/TorvexCntl.h"
#include "model/OperatorDialog.h"
#include "run/TestLog.h"

#include <QCoreApplication>
#include <QDateTime>

int32_t g_bNotConnected = 0;

namespace torvex {

const char* RunEndName(RunEnd eWhy) {
    switch (eWhy) {
    case RunEnd::Finished:
        return "finished";
    case RunEnd::Stopped:
        return "stopped";
    case RunEnd::Error:
        return "error";
    case RunEnd::Lost:
        return "lost";
    case RunEnd::Between:
        break;
    }
    return "between";
}

bool IsIdleAlarm(int32_t nCode) {
    return nCode == ERROR_EMERGENCY_STOP || nCode == ERROR_SYSTEM || nCode == ERROR_FAN ||
           nCode == ERROR_EMERGENCY_STOP_2;
}

bool IsStepEndingError(int32_t nCode) {
    return nCode >= ERROR_SYNC_AT_START && nCode <= ERROR_PULSE_OUTPUT;
}

namespace {

const int kPollMs = 200;
const int kBlinkMs = 500;
// Seconds counted for the change from one step to the next.
const int64_t kStepGap = 5;
const char16_t kTitleSuffix[] = u" - TORVEX_Pilot";

int64_t FirstTestTime(const std::vector<CExecData>& steps) {
    return steps.empty() ? 0 : steps.front().m_lTestTime;
}

} // namespace

CRunEngine::CRunEngine(CInstrumentThread& instrument, CTorvexDoc& doc, CTestProperty& property,
                       COperatorDialog& dialog, QObject* parent)
    : QObject(parent), m_instrument(instrument), m_doc(doc), m_property(property), m_dialog(dialog) {
    m_cursor.m_pDoc = &doc;
    m_timerIdle.setSingleShot(true);
    m_timerIdle.setInterval(kPollMs);
    m_timerRun.setSingleShot(true);
    m_timerRun.setInterval(kPollMs);
    m_timerBlink.setSingleShot(true);
    m_timerBlink.setInterval(kBlinkMs);
    connect(&m_timerIdle, &QTimer::timeout, this, &CRunEngine::IdleTick);
    connect(&m_timerRun, &QTimer::timeout, this, &CRunEngine::RunTick);
    connect(&m_timerBlink, &QTimer::timeout, this, &CRunEngine::BlinkTick);
}

CRunEngine::~CRunEngine() {
    // Abandoned tasks never resume: their late answers are dropped.
    m_queue.clear();
    m_current.Reset();
}

void CRunEngine::SetView(CRunView* pView) {
    m_pView = pView ? pView : &m_silentView;
}

void CRunEngine::SetStartAllowed(bool bAllowed) {
    m_bStartAllowed = bAllowed;
    EnableStart(bAllowed && !g_bNotConnected);
}

void CRunEngine::SetPollInterval(int nMs) {
    m_timerIdle.setInterval(nMs);
    m_timerRun.setInterval(nMs);
}

void CRunEngine::Start() {
    m_cursor.m_nMode = MODE_MANUAL;
    m_cursor.m_nEntry = 0;
    m_cursor.m_nStep = 0;
    m_cursor.m_pSteps = nullptr;
    m_bStartAllowed = true;
    m_bStopEveryStep = m_bStartPending = m_bStopRequest = false;
    m_nHourLimit = LoadHourLimit();
    m_bClosed = false;
    EnableStop(false);
    m_timerIdle.start();
}

void CRunEngine::ConfirmConditionChange(int32_t nMode) {
    if (nMode == MODE_STANDARD) {
        m_bStandardUnchanged = true;
    } else {
        m_bManualUnchanged = true;
        m_bManualLogOwed = true; // a changed condition is a new version to log
    }
}

void CRunEngine::MarkConditionRun(int32_t nMode) {
    if (nMode == MODE_STANDARD)
        m_bStandardUnchanged = false;
    else if (nMode == MODE_MANUAL)
        m_bManualUnchanged = false;
}

// ---------------------------------------------------------------- tasks

void CRunEngine::Enqueue(std::function<Task()> fn) {
    m_queue.push_back(std::move(fn));
    if (!m_current.Valid() && !m_bNextScheduled) RunNext();
}

void CRunEngine::RunNext() {
    m_bNextScheduled = false;
    if (m_current.Valid() || m_queue.empty()) return;
    std::function<Task()> fn = std::move(m_queue.front());
    m_queue.pop_front();
    m_current = fn();
    m_current.Start([this] {
        // The finished task's frame is suspended for good: drop it, and go on
        // with the next from the event loop rather than on top of this one.
        m_current.Reset();
        if (!m_queue.empty() && !m_bNextScheduled) {
            m_bNextScheduled = true;
            QMetaObject::invokeMethod(this, &CRunEngine::RunNext, Qt::QueuedConnection);
        }
    });
}

Pending<CRunEngine::Status> CRunEngine::GetStatus() {
    return m_instrument.Call<Status>(this, [](CTorvexCntl& c) {
        Status s;
        s.bOk = c.GetStatus(s.ucStatus);
        return s;
    });
}

Pending<bool> CRunEngine::Command(std::function<bool(CTorvexCntl&)> fn) {
    return m_instrument.Call<bool>(this, std::move(fn));
}

Pending<bool> CRunEngine::StopOutput() {
    return Command([](CTorvexCntl& c) { return c.StopOutput(); });
}

Pending<std::pair<bool, QString>> CRunEngine::GetErrorMessage() {
    return m_instrument.Call<std::pair<bool, QString>>(this, [](CTorvexCntl& c) {
        QString text;
        const bool bOk = c.GetErrorMessage(text);
        return std::make_pair(bOk, text);
    });
}

Pending<std::pair<bool, int32_t>> CRunEngine::GetErrorCode() {
    return m_instrument.Call<std::pair<bool, int32_t>>(this, [](CTorvexCntl& c) {
        int32_t code = 0;
        const bool bOk = c.GetErrorCode(code);
        return std::make_pair(bOk, code);
    });
}

// ---------------------------------------------------------------- indicators

void CRunEngine::EnableStart(bool b) {
    m_bStartEnabled = b;
    m_pView->SetStartEnabled(b);
}

void CRunEngine::EnableStop(bool b) {
    m_bStopEnabled = b;
    m_pView->SetStopEnabled(b);
}

void CRunEngine::SetLamp(bool bLit) {
    m_bLampLit = bLit;
    m_pView->SetLamp(bLit);
}

void CRunEngine::SetStartFace(bool bPlay) {
    if (m_bPlayFace == bPlay) return;
    m_bPlayFace = bPlay;
    m_pView->SetStartFace(bPlay);
}

void CRunEngine::SetLineIndicator(bool bOn) {
    if (m_bLineOn == bOn && !m_bLineDimmed) return;
    m_bLineOn = bOn;
    m_bLineDimmed = false;
    m_pView->SetLineIndicator(bOn, false);
}

void CRunEngine::DimLineIndicator() {
    if (m_bLineDimmed) return;
    m_bLineDimmed = true;
    m_pView->SetLineIndicator(m_bLineOn, true);
}

void CRunEngine::StopBlink() {
    if (!m_bBlinking) return;
    m_timerBlink.stop();
    SetLamp(false);
    m_bBlinking = false;
}

void CRunEngine::BlinkTick() {
    SetLamp(!m_bLampLit);
    m_timerBlink.start();
}

void CRunEngine::LockScreens(bool bEnable) {
    m_bScreensEnabled = bEnable;
    m_pView->LockScreens(bEnable);
    m_bStartPending = false;
}

int CRunEngine::EntryOut() const {
    return m_cursor.m_nMode == MODE_SEQUENCE ? m_cursor.m_nEntry : -1;
}

int CRunEngine::CurrentJudge() {
    const CExecData* step = m_cursor.CurrentStep();
    return step ? step->m_nJudge : JUDGE_NONE;
}

// ---------------------------------------------------------------- idle poll

void CRunEngine::NotConnectedPath() {
    if (!g_bNotConnected) emit instrumentLost();
    StopBlink();
    EnableStart(false);
    EnableStop(false);
    DimLineIndicator();
    const QString title = m_pView->WindowTitle();
    if (title.endsWith(QString::fromUtf16(kTitleSuffix))) {
        m_pView->SetWindowTitle(title + QCoreApplication::translate("RunEngine", " 未接続"));
        m_pView->ShowNotConnected();
    }
}

void CRunEngine::IdleTick() {
    // Work in hand (a START, the EUT line) comes first; poll again later.
    if (IsBusy()) {
        m_timerIdle.start();
        return;
    }
    Enqueue([this] { return IdleTask(); });
}

CRunEngine::Task CRunEngine::IdleTask() {
    m_timerIdle.stop();
    if (g_bNotConnected) {
        NotConnectedPath();
        m_timerIdle.start();
        co_return;
    }
    const Status st = co_await GetStatus();
    if (!st.bOk) {
        NotConnectedPath();
        m_timerIdle.start();
        co_return;
    }
    const uint8_t s = st.ucStatus;
    if (s & STATUS_RUNNING) {
        // A test runs that this panel did not start (from the instrument's own
        // keys, or left over from an earlier session): stop it. The EUT line
        // is left as the operator set it.
        co_await StopOutput();
        m_dialog.Message(
            QCoreApplication::translate("RunEngine", "エラーが発生したため試験を停止しました。"));
        m_timerIdle.start();
        co_return;
    }
    m_eRunState = RunState::Idle;
    StopBlink();
    EnableStop(false);
    if (m_bStartAllowed) EnableStart(true);
    SetLineIndicator(s & STATUS_LINE_ON);
    if (!(s & STATUS_LINE_ON) && m_bLampLit) SetLamp(false);
    SetStartFace(true);

    const auto [bCodeOk, code] = co_await GetErrorCode();
    (void)bCodeOk;
    if (s & STATUS_ERROR) {
        if (code != m_nLastError && IsIdleAlarm(code)) {
            m_nLastError = code;
            const auto [bOk, text] = co_await GetErrorMessage();
            (void)bOk;
            if (!text.isEmpty()) m_dialog.Message(text);
        }
    } else {
        m_nLastError = 0;
    }
    m_timerIdle.start();
}

// ---------------------------------------------------------------- START / STOP

void CRunEngine::OnStart() {
    Enqueue([this] { return StartTask(); });
}

CRunEngine::Task CRunEngine::StartTask() {
    m_timerIdle.stop();
    m_timerRun.stop();
    if (g_bNotConnected) {
        // Demo mode or a lost instrument: nothing to talk to.
        m_timerIdle.start();
        co_return;
    }
    if (!m_cursor.LoadStep(m_doc.m_nCurStep)) {
        m_dialog.Message(QCoreApplication::translate("RunEngine", "実行する試験データがありません。"));
        m_timerIdle.start();
        co_return;
    }
    // The screens must not change the test between the status and the question.
    m_pView->SetBusy(true);
    const Status st = co_await GetStatus();
    if (!st.bOk) {
        m_pView->SetBusy(false);
        m_timerIdle.start();
        co_return;
    }
    const uint8_t s = st.ucStatus;
    switch (s & (STATUS_RUNNING | STATUS_DISCHARGING)) {
    case 0x00: {
        const int64_t t = m_cursor.m_step.m_lTestTime;
        CReadout r;
        r.strHour = QString::asprintf("%ld", long(t / 3600));
        r.strMin = QString::asprintf("%ld", long((t % 3600) / 60));
        r.strSec = QString::asprintf("%ld", long(t % 60));
        m_lShownTestTime = t;
        m_pView->SetReadout(READOUT_TEST_TIME, r);
        m_pView->SelectRow(m_doc.m_nCurStep);
        m_pView->FocusStart();

        co_await StopOutput();
        const CExecData step = m_cursor.m_step;
        const bool bLoaded = co_await Command([step](CTorvexCntl& c) { return c.SendStep(step); });
        m_pView->SetBusy(false);
        if (!bLoaded) {
            // Part of the step never reached the instrument: starting now would
            // run the previous step's parameters.
            co_await EndLost(false);
            co_return;
        }

        if (!m_dialog.AskOkCancel(QCoreApplication::translate("RunEngine", "試験を開始します。"))) {
            const Status st2 = co_await GetStatus();
            if (st2.bOk) SetLineIndicator(st2.ucStatus & STATUS_LINE_ON);
            m_timerIdle.start();
            co_return;
        }
        const bool bLogged = WriteTestLog();
        if (m_cursor.m_nMode == MODE_STANDARD)
            m_bStandardUnchanged = false;
        else if (m_cursor.m_nMode == MODE_MANUAL)
            m_bManualUnchanged = false;
        qint64* pStart = m_cursor.m_nMode == MODE_STANDARD ? &m_property.m_timeStartStandard
                         : m_cursor.m_nMode == MODE_MANUAL ? &m_property.m_timeStartManual
                                                           : &m_property.m_timeStartSequence;
        if (*pStart == 0) *pStart = QDateTime::currentSecsSinceEpoch();
        if (!bLogged) {
            m_timerIdle.start();
            co_return;
        }
        LockScreens(false);
        m_bStopRequest = false;
        if (CExecData* pStep = m_cursor.CurrentStep()) {
            pStep->m_nJudge = JUDGE_NONE;
            m_pView->RefreshRow(*pStep, m_cursor.m_nStep);
        }
        m_bStartPending = true;
        if (!co_await Command([](CTorvexCntl& c) { return c.StartOutput(0); })) {
            co_await EndLost(false);
            co_return;
        }
        emit stepStarted(EntryOut(), m_cursor.m_nStep);
        m_timerRun.start();
        co_return;
    }
    case STATUS_DISCHARGING:
        m_pView->SetBusy(false);
        if (m_bStartPending) {
            m_timerRun.start();
        } else {
            m_dialog.Message(QCoreApplication::translate("RunEngine", "除電中です。"));
            m_timerIdle.start();
        }
        co_return;
    case STATUS_RUNNING | STATUS_DISCHARGING:
        m_pView->SetBusy(false);
        m_timerRun.start();
        co_return;
    default: // running: this press pauses or resumes
        m_pView->SetBusy(false);
        co_await Command([s](CTorvexCntl& c) { return c.StartOutput(s); });
        m_timerRun.start();
        if (m_eRunState == RunState::Running) {
            m_timerBlink.stop();
            SetLamp(true);
        } else {
            m_timerBlink.start();
        }
        co_return;
    }
}

bool CRunEngine::OnStartMouseDown() {
    if (m_eRunState != RunState::Running) return false;
    OnStart();
    return true;
}

void CRunEngine::OnStop() {
    Enqueue([this] { return StopTask(); });
}

CRunEngine::Task CRunEngine::StopTask() {
    m_timerIdle.stop();
    m_timerRun.stop();
    m_bStopRequest = true;
    co_await StopOutput();
    m_timerRun.start();
}

void CRunEngine::OnEscape() {
    if (m_bStopEnabled) Enqueue([this] { return EscapeTask(); });
}

CRunEngine::Task CRunEngine::EscapeTask() {
    co_await StopOutput();
}

void CRunEngine::Close() {
    if (m_bClosed) return;
    m_bClosed = true;
    m_timerIdle.stop();
    m_timerRun.stop();
    m_timerBlink.stop();
    m_queue.clear();
    m_current.Reset();
    if (!g_bNotConnected) m_instrument.Send([](CTorvexCntl& c) { c.StopOutput(); });
}

// ---------------------------------------------------------------- run poll

void CRunEngine::RunTick() {
    if (IsBusy()) {
        m_timerRun.start();
        return;
    }
    Enqueue([this] { return RunTask(); });
}

// The run ends because the instrument cannot be reached. A step that was never
// started (its load or its start failed) keeps its judgment and is not ended;
// a later START tries it again. Where the line still answers after such a
// failure, the output is stopped first, so nothing goes on running.
CRunEngine::Task CRunEngine::EndLost(bool bStepStarted) {
    StopBlink();
    SetStartFace(true); // every way a run ends shows play again before its message
    EnableStop(false);
    EnableStart(false);
    if (!bStepStarted) co_await StopOutput();
    m_dialog.Message(
        QCoreApplication::translate("RunEngine", "TORVEXと通信できません。") + "\n" +
        QCoreApplication::translate("RunEngine", "試験器本体の画面でエラー内容を確認してください。"));
    LockScreens(true);
    co_await ShowRunTimes(false); // the instrument is gone: no point asking it for the time
    if (bStepStarted) emit stepEnded(EntryOut(), m_cursor.m_nStep, CurrentJudge());
    emit runEnded(RunEnd::Lost);
    m_timerIdle.start();
}

CRunEngine::Task CRunEngine::RunTask() {
    m_timerRun.stop();
    const RunState ePrevious = m_eRunState;
    m_eRunState = RunState::Running;
    m_cursor.LoadStep(m_doc.m_nCurStep);
    const int entryOut = EntryOut();

    const Status st = co_await GetStatus();
    if (!st.bOk) {
        co_await EndLost(true);
        co_return;
    }
    const uint8_t s = st.ucStatus;

    if (s & STATUS_RUNNING) {
        if (s & STATUS_ERROR) {
            auto [bMsgOk, text] = co_await GetErrorMessage();
            (void)bMsgOk;
            while (!text.isEmpty()) {
                m_dialog.Message(text);
                emit runError(text);
                co_await Command([](CTorvexCntl& c) { return c.ClearError(); });
                const Status st2 = co_await GetStatus();
                if (st2.bOk && !(st2.ucStatus & STATUS_ERROR)) {
                    m_nLastError = 0;
                    break;
                }
                text.clear();
                const auto [bOk2, text2] = co_await GetErrorMessage();
                (void)bOk2;
                text = text2;
                if (!st2.bOk) break;
            }
            m_timerRun.start();
            co_return;
        }
        m_nLastError = 0;
        if (!m_bBlinking) {
            m_timerBlink.start();
            m_bBlinking = true;
        }
        EnableStart(true);
        EnableStop(true);
        m_eRunState = (s & STATUS_PAUSED) ? RunState::Paused : RunState::Running;
        if ((m_eRunState == RunState::Paused) != (ePrevious == RunState::Paused))
            emit pauseChanged(m_eRunState == RunState::Paused);
        SetStartFace(m_eRunState == RunState::Paused);
        SetLineIndicator(s & STATUS_LINE_ON);
        co_await ShowRunTimes(true);
        if (m_eRunState == RunState::Running) m_pView->MoveFocusToStop();
        m_timerRun.start();
        co_return;
    }

    if (s & STATUS_ERROR) {
        StopBlink();
        SetStartFace(true);
        EnableStop(false);
        EnableStart(false);
        const auto [bMsgOk, text] = co_await GetErrorMessage();
        (void)bMsgOk;
        if (!text.isEmpty()) {
            m_dialog.Message(text);
            emit runError(text);
            const auto [bCodeOk, code] = co_await GetErrorCode();
            (void)bCodeOk;
            if (IsStepEndingError(code)) co_await Command([](CTorvexCntl& c) { return c.ClearError(); });
            m_nLastError = code;
        }
        LockScreens(true);
        co_await ShowRunTimes(true);
        emit stepEnded(entryOut, m_cursor.m_nStep, CurrentJudge());
        emit runEnded(RunEnd::Error);
        m_timerIdle.start();
        co_return;
    }

    m_nLastError = 0;
    if ((s & STATUS_COMPLETE) && !m_bStopRequest) {
        if (CExecData* step = m_cursor.CurrentStep()) {
            step->m_nJudge = JUDGE_PASS;
            m_pView->RefreshRow(*step, m_cursor.m_nStep);
        }
        if (m_cursor.m_nMode == MODE_SEQUENCE) emit entryJudgmentChanged(m_cursor.m_nEntry);
        ClearTimes(false, false);
        if (s & STATUS_DISCHARGING) {
            EnableStart(false);
            m_timerRun.start();
            co_return;
        }
        const int32_t finishedStep = m_doc.m_nCurStep;
        const int32_t finishedEntry = m_cursor.m_nEntry;
        emit stepEnded(entryOut, finishedStep, JUDGE_PASS);

        bool bEntryChanged = false;
        if (!m_cursor.NextStep(bEntryChanged)) {
            StopBlink();
            SetStartFace(true);
            ClearTimes(false, true);
            // Every step done: the bars stand full behind the message, also
            // when no time tick came during the run (steps shorter than a poll).
            if (std::vector<CExecData>* steps = StepsOfMode())
                m_progress = ProgressOf(*steps, m_cursor.m_nMode == MODE_SEQUENCE ? m_doc.m_sequence.m_nCurEntry : -1,
                                        0, 0);
            m_progress.lStepDone = m_progress.lStepTime;
            m_progress.nStepsDone = m_progress.nStepsTotal;
            m_progress.lTimeDone = m_progress.lTimeTotal;
            m_pView->SetProgress(m_progress);
            m_doc.m_nCurStep = 0;
            EnableStop(false);
            LockScreens(true);
            m_dialog.Message(QCoreApplication::translate("RunEngine", "試験が終了しました。"));
            if (m_cursor.m_nMode == MODE_SEQUENCE) {
                m_cursor.m_nEntry = 0;
                m_doc.m_sequence.m_nCurEntry = 0;
                emit entrySelected(0);
                emit entryShown(0);
                ShowSequenceTimes(0);
            } else if (m_cursor.m_pSteps) {
                m_pView->FillList(*m_cursor.m_pSteps);
                m_pView->SelectRow(0);
                ShowConditionTimes(*m_cursor.m_pSteps);
            }
            emit runEnded(RunEnd::Finished);
            m_timerIdle.start();
            co_return;
        }
        if (bEntryChanged) emit entryShown(m_cursor.m_nEntry);

        if (!m_bStopEveryStep) {
            co_await StopOutput();
            const CExecData next = m_cursor.m_step;
            // A step whose load failed is never started.
            bool bStarted = co_await Command([next](CTorvexCntl& c) { return c.SendStep(next); });
            if (bStarted) bStarted = co_await Command([](CTorvexCntl& c) { return c.StartOutput(0); });
            if (!bStarted) {
                co_await EndLost(false);
                co_return;
            }
            if (m_doc.m_nCurStep >= 0) {
                if (CExecData* step = m_cursor.CurrentStep()) {
                    step->m_nJudge = JUDGE_NONE;
                    m_pView->RefreshRow(*step, m_cursor.m_nStep);
                }
            }
            if (m_cursor.m_nMode == MODE_SEQUENCE) emit entrySelected(m_cursor.m_nEntry);
            m_pView->FillList(*m_cursor.m_pSteps);
            m_pView->SelectRow(m_cursor.m_nStep);
            emit stepStarted(EntryOut(), m_cursor.m_nStep);
            m_timerRun.start();
            co_return;
        }

        StopBlink();
        SetStartFace(true);
        EnableStop(false);
        LockScreens(true);
        if (m_cursor.m_nMode == MODE_SEQUENCE)
            ShowSequenceTimes(m_cursor.m_nEntry);
        else
            ShowConditionTimes(*m_cursor.m_pSteps);
        if (m_cursor.m_nMode == MODE_SEQUENCE) emit entrySelected(m_cursor.m_nEntry);
        m_pView->FillList(*m_cursor.m_pSteps);
        m_pView->SelectRow(m_cursor.m_nStep);
        const QString tail = QCoreApplication::translate(
            "RunEngine", "次のステップを実行する場合は試験開始ボタンをクリックしてください。"
                         "また、リストをクリックすることで実行するステップを変更できます。");
        if (m_cursor.m_nMode == MODE_SEQUENCE)
            m_dialog.Message(QCoreApplication::translate("RunEngine", "No.%1のステップ%2が終了しました。\n%3")
                                 .arg(finishedEntry + 1)
                                 .arg(finishedStep + 1)
                                 .arg(tail));
        else
            m_dialog.Message(QCoreApplication::translate("RunEngine", "ステップ%1が終了しました。\n%2")
                                 .arg(finishedStep + 1)
                                 .arg(tail));
        emit runEnded(RunEnd::Between);
        m_timerIdle.start();
        co_return;
    }

    // Output ended without completing: STOP, Esc, or the instrument's own stop.
    StopBlink();
    SetStartFace(true);
    EnableStop(false);
    EnableStart(false);
    LockScreens(true);
    co_await ShowRunTimes(true);
    m_dialog.Message(QCoreApplication::translate("RunEngine", "試験を停止しました。"));
    emit stepEnded(entryOut, m_cursor.m_nStep, CurrentJudge());
    emit runEnded(RunEnd::Stopped);
    m_timerIdle.start();
}

// ---------------------------------------------------------------- EUT LINE

void CRunEngine::OnLineClick() {
    Enqueue([this] { return LineTask(); });
}

CRunEngine::Task CRunEngine::LineTask() {
    if (g_bNotConnected) co_return;
    if (m_bLineOn) {
        co_await StopOutput();
        co_await Command([](CTorvexCntl& c) { return c.SetLine(false); });
        SetLineIndicator(false);
        co_return;
    }
    const Status st = co_await GetStatus();
    if (!st.bOk) co_return;
    const uint8_t s = st.ucStatus;
    if (s & STATUS_ERROR) {
        const auto [bOk, text] = co_await GetErrorMessage();
        (void)bOk;
        if (!text.isEmpty()) m_dialog.Message(text);
        co_return;
    }
    if ((s & STATUS_RUNNING) || (s & STATUS_LINE_ON) || m_bStartPending) co_return;
    m_timerIdle.stop();
    if (m_dialog.AskOkCancel(
            QCoreApplication::translate("RunEngine", "EUT LINE を ON にします。\nよろしいですか？"))) {
        co_await StopOutput();
        if (co_await Command([](CTorvexCntl& c) { return c.SetLine(true); })) {
            const Status st2 = co_await GetStatus();
            if (st2.bOk) SetLineIndicator(st2.ucStatus & STATUS_LINE_ON);
        }
    }
    m_timerIdle.start();
}

// ---------------------------------------------------------------- read-outs

QString CRunEngine::OverLimitText() const {
    return QString::number(m_nHourLimit) + QCoreApplication::translate("RunEngine", "時間以上");
}

void CRunEngine::ShowTime(Readout which, int64_t t, bool bAgainstLimit) {
    if (t < 0) t = 0;
    CReadout r;
    r.bOverLimit = bAgainstLimit && t >= int64_t(m_nHourLimit) * 3600;
    r.strHour = QString::asprintf("%1ld", long(t / 3600));
    r.strMin = QString::asprintf("%2ld", long((t % 3600) / 60));
    r.strSec = QString::asprintf("%2ld", long(t % 60));
    (which == READOUT_TEST_TIME ? m_lShownTestTime
     : which == READOUT_TOTAL   ? m_lShownTotal
                                : m_lShownRemaining) = t;
    m_pView->SetReadout(which, r);
}

void CRunEngine::ShowConditionTimes(const std::vector<CExecData>& steps) {
    const int64_t T = FirstTestTime(steps);
    ShowTime(READOUT_TEST_TIME, T, false);
    int64_t n = int64_t(steps.size()) - m_doc.m_nCurStep;
    if (n < 0) n = 0;
    ShowTime(READOUT_TOTAL, n * T, true);
    ShowTime(READOUT_REMAINING, (T + kStepGap) * n - kStepGap, true);
    ShowProgress(steps, -1, 0, (T + kStepGap) * n - kStepGap);
}

void CRunEngine::ShowSequenceTimes(int32_t e) {
    CSequenceList& seq = m_doc.m_sequence;
    if (e < 0 || e >= seq.Count()) {
        ClearTimes(true, true);
        return;
    }
    ShowTime(READOUT_TEST_TIME, FirstTestTime(seq.Entry(e)->m_listExec), false);
    int64_t sums[2] = {0, 0};
    const int64_t gaps[2] = {0, kStepGap};
    for (int g = 0; g < 2; ++g) {
        const std::vector<CExecData>& cur = seq.Entry(e)->m_listExec;
        const int64_t Te = FirstTestTime(cur);
        int64_t n = int64_t(cur.size()) - m_doc.m_nCurStep;
        if (n < 0) n = 0;
        int64_t v = n * (Te + gaps[g]) - (n > 0 ? gaps[g] : 0);
        for (int k = e + 1; k < seq.Count(); ++k) {
            const std::vector<CExecData>& later = seq.Entry(k)->m_listExec;
            v += int64_t(later.size()) * (FirstTestTime(later) + gaps[g]);
        }
        sums[g] = v;
    }
    ShowTime(READOUT_TOTAL, sums[0], true);
    ShowTime(READOUT_REMAINING, sums[1], true);
    ShowProgress(seq.Entry(e)->m_listExec, e, 0, sums[1]);
}

void CRunEngine::ShowProgress(const std::vector<CExecData>& steps, int32_t nEntry, int64_t lStepDone,
                              int64_t lRemaining) {
    m_progress = ProgressOf(steps, nEntry, lStepDone, lRemaining);
    m_pView->SetProgress(m_progress);
}

CRunProgress CRunEngine::ProgressOf(const std::vector<CExecData>& steps, int32_t nEntry, int64_t lStepDone,
                                    int64_t lRemaining) const {
    CRunProgress p;
    p.lStepTime = FirstTestTime(steps);
    p.lStepDone = std::clamp<int64_t>(lStepDone, 0, p.lStepTime);
    auto add = [&](const std::vector<CExecData>& list, bool bBefore) {
        const int64_t n = int64_t(list.size());
        p.nStepsTotal += int32_t(n);
        if (bBefore) p.nStepsDone += int32_t(n);
        p.lTimeTotal += n * (FirstTestTime(list) + kStepGap);
    };
    if (nEntry < 0) {
        add(steps, false);
    } else {
        CSequenceList& seq = m_doc.m_sequence;
        for (int k = 0; k < seq.Count(); ++k)
            add(seq.Entry(k)->m_listExec, k < nEntry);
    }
    // No gap after the last step.
    if (p.nStepsTotal > 0) p.lTimeTotal -= kStepGap;
    p.nStepsDone = std::clamp<int32_t>(p.nStepsDone + m_doc.m_nCurStep, 0, p.nStepsTotal);
    p.lTimeDone = std::clamp<int64_t>(p.lTimeTotal - std::max<int64_t>(0, lRemaining), 0, p.lTimeTotal);
    return p;
}

std::vector<CExecData>* CRunEngine::StepsOfMode() {
    switch (m_cursor.m_nMode) {
    case MODE_STANDARD:
        return &m_doc.m_settingStandard.m_listExec;
    case MODE_MANUAL:
        return &m_doc.m_settingManual.m_listExec;
    default: {
        CSequenceList& seq = m_doc.m_sequence;
        const int e = seq.m_nCurEntry;
        if (e < 0 || e >= seq.Count()) return nullptr;
        return &seq.Entry(e)->m_listExec;
    }
    }
}

CRunEngine::Task CRunEngine::ShowRunTimes(bool bQueryInstrument) {
    int32_t q = 0;
    if (bQueryInstrument && !g_bNotConnected) {
        const auto [bOk, seconds] =
            co_await m_instrument.Call<std::pair<bool, int32_t>>(this, [](CTorvexCntl& c) {
                int32_t n = 0;
                const bool b = c.GetTestTime(n);
                return std::make_pair(b, n);
            });
        q = bOk ? seconds : 0;
    }
    ShowTime(READOUT_TEST_TIME, q, false);

    int64_t remaining = 0;
    if (std::vector<CExecData>* steps = StepsOfMode()) {
        const int64_t T = FirstTestTime(*steps);
        const int64_t N = int64_t(steps->size());
        const int64_t i = m_doc.m_nCurStep;
        remaining = (N - i >= 1) ? (N - i - 1) * (T + kStepGap) : N * T;
        if (m_cursor.m_nMode == MODE_SEQUENCE) {
            CSequenceList& seq = m_doc.m_sequence;
            for (int k = seq.m_nCurEntry + 1; k < seq.Count(); ++k) {
                const std::vector<CExecData>& later = seq.Entry(k)->m_listExec;
                remaining += int64_t(later.size()) * (FirstTestTime(later) + kStepGap);
            }
        }
        if (q <= T) remaining += q;
    }
    ShowTime(READOUT_REMAINING, remaining, true);
    if (std::vector<CExecData>* steps = StepsOfMode()) {
        const int64_t T = FirstTestTime(*steps);
        ShowProgress(*steps, m_cursor.m_nMode == MODE_SEQUENCE ? m_doc.m_sequence.m_nCurEntry : -1,
                     q <= T ? T - q : 0, remaining);
    }
}

void CRunEngine::ClearTimes(bool bTotal, bool bRemaining) {
    CReadout zero;
    zero.strHour = "0";
    zero.strMin = " 0";
    zero.strSec = " 0";
    m_lShownTestTime = 0;
    m_pView->SetReadout(READOUT_TEST_TIME, zero);
    if (bTotal) {
        m_lShownTotal = 0;
        m_pView->SetReadout(READOUT_TOTAL, zero);
    }
    if (bRemaining) {
        m_lShownRemaining = 0;
        m_pView->SetReadout(READOUT_REMAINING, zero);
    }
}

// ---------------------------------------------------------------- test log

bool CRunEngine::WriteTestLog() {
    CTestLog log(m_doc, m_dialog, m_strLogFolderOverride);
    const bool bManualOwed = m_bManualLogOwed;
    const CTestLog::Result r = log.Write(m_cursor.m_nMode, bManualOwed);
    if (r == CTestLog::Written && m_cursor.m_nMode == MODE_MANUAL) {
        m_bManualLogOwed = false;
        m_pView->RefreshManualScreen();
    }
    return r != CTestLog::Refused;
}

} // namespace torvex
