#include "run/RunEngine.h"

#include "config/SettingsLogic.h"
#include "config/TestProperty.h"
#include "files/TorvexDoc.h"
#include "instrument/TorvexCntl.h"
#include "model/OperatorDialog.h"
#include "run/TestLog.h"

#include <QDateTime>

int32_t g_bNotConnected = 0;
int32_t g_bBlinking = 0;

namespace {

const int kPollMs = 200;
const int kBlinkMs = 500;
// Seconds counted for the change from one step to the next.
const int64_t kStepGap = 5;
const char16_t kTitleSuffix[] = u" - TORVEX_Pilot";

QString Msg(const char16_t* s) {
    return QString::fromUtf16(s);
}

int64_t FirstTestTime(const std::vector<CExecData>& steps) {
    return steps.empty() ? 0 : steps.front().m_lTestTime;
}

} // namespace

CRunEngine::CRunEngine(CTorvexCntl& cntl, CTorvexDoc& doc, CTestProperty& property, COperatorDialog& dialog,
                       CRunView& view, QObject* parent)
    : QObject(parent), m_cntl(cntl), m_doc(doc), m_property(property), m_dialog(dialog), m_view(view) {
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

CRunEngine::~CRunEngine() = default;

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
    m_bStartAllowed = 1;
    m_bStopEveryStep = m_bStartPending = m_bStopRequest = 0;
    m_nHourLimit = LoadHourLimit();
    EnableStop(false);
    m_timerIdle.start();
}

// ---------------------------------------------------------------- indicators

void CRunEngine::EnableStart(bool b) {
    m_bStartEnabled = b;
    m_view.SetStartEnabled(b);
}

void CRunEngine::EnableStop(bool b) {
    m_bStopEnabled = b;
    m_view.SetStopEnabled(b);
}

void CRunEngine::SetLamp(bool bLit) {
    m_bLampLit = bLit;
    m_view.SetLamp(bLit);
}

void CRunEngine::SetStartFace(bool bPlay) {
    if (m_bPlayFace == int32_t(bPlay)) return;
    m_bPlayFace = bPlay;
    m_view.SetStartFace(bPlay);
}

void CRunEngine::SetLineIndicator(bool bOn) {
    if (m_bLineOn == int32_t(bOn) && !m_bLineDimmed) return;
    m_bLineOn = bOn;
    m_bLineDimmed = 0;
    m_view.SetLineIndicator(bOn, false);
}

void CRunEngine::DimLineIndicator() {
    if (m_bLineDimmed) return;
    m_bLineDimmed = 1;
    m_view.SetLineIndicator(m_bLineOn, true);
}

void CRunEngine::StopBlink() {
    if (!g_bBlinking) return;
    m_timerBlink.stop();
    SetLamp(false);
    g_bBlinking = 0;
}

void CRunEngine::BlinkTick() {
    SetLamp(!m_bLampLit);
    m_timerBlink.start();
}

void CRunEngine::LockScreens(bool bEnable) {
    m_view.LockScreens(bEnable);
    m_bStartPending = 0;
}

// ---------------------------------------------------------------- idle poll

void CRunEngine::NotConnectedPath() {
    g_bNotConnected = 1;
    StopBlink();
    EnableStart(false);
    EnableStop(false);
    DimLineIndicator();
    const QString title = m_view.WindowTitle();
    if (title.endsWith(QString::fromUtf16(kTitleSuffix))) {
        m_view.SetWindowTitle(title + Msg(u" 未接続"));
        m_view.ShowNotConnected();
    }
}

void CRunEngine::IdleTick() {
    m_timerIdle.stop();
    uint8_t s = 0;
    if (g_bNotConnected || !m_cntl.GetStatus(s)) {
        NotConnectedPath();
        m_timerIdle.start();
        return;
    }
    if (s & STATUS_RUNNING) {
        // A test runs that this panel did not start (from the instrument's own
        // keys, or left over from an earlier session): stop it. The EUT line
        // is left as the operator set it.
        m_cntl.StopOutput();
        m_dialog.Message(Msg(u"エラーが発生したため試験を停止しました。"));
        m_timerIdle.start();
        return;
    }
    m_nRunState = 0;
    StopBlink();
    EnableStop(false);
    if (m_bStartAllowed) EnableStart(true);
    SetLineIndicator(s & STATUS_LINE_ON);
    if (!(s & STATUS_LINE_ON) && m_bLampLit) SetLamp(false);
    SetStartFace(true);

    int32_t code = 0;
    m_cntl.GetErrorCode(code);
    if (s & STATUS_ERROR) {
        if (code != m_nLastError && (code == 1 || code == 2 || code == 8 || code == 9)) {
            m_nLastError = code;
            QString text;
            m_cntl.GetErrorMessage(text);
            if (!text.isEmpty()) m_dialog.Message(text);
        }
    } else {
        m_nLastError = 0;
    }
    m_timerIdle.start();
}

// ---------------------------------------------------------------- START / STOP

void CRunEngine::OnStart() {
    m_timerIdle.stop();
    m_timerRun.stop();
    if (g_bNotConnected) {
        // Demo mode or a lost instrument: nothing to talk to.
        m_timerIdle.start();
        return;
    }
    if (!m_cursor.LoadStep(m_doc.m_nCurStep)) {
        m_dialog.Message(Msg(u"実行する試験データがありません。"));
        m_timerIdle.start();
        return;
    }
    uint8_t s = 0;
    if (!m_cntl.GetStatus(s)) {
        m_timerIdle.start();
        return;
    }
    switch (s & (STATUS_RUNNING | STATUS_DISCHARGING)) {
    case 0x00: {
        const int64_t t = m_cursor.m_step.m_lTestTime;
        CReadout r;
        r.strHour = QString::asprintf("%ld", long(t / 3600));
        r.strMin = QString::asprintf("%ld", long((t % 3600) / 60));
        r.strSec = QString::asprintf("%ld", long(t % 60));
        m_lShownTestTime = t;
        m_view.SetReadout(READOUT_TEST_TIME, r);
        m_view.SelectRow(m_doc.m_nCurStep);
        m_view.FocusStart();

        m_cntl.StopOutput();
        m_cntl.SendStep(m_cursor.m_step);

        if (!m_dialog.AskOkCancel(Msg(u"試験を開始します。"))) {
            uint8_t s2 = 0;
            if (m_cntl.GetStatus(s2)) SetLineIndicator(s2 & STATUS_LINE_ON);
            m_timerIdle.start();
            return;
        }
        const bool bLogged = WriteTestLog();
        if (m_cursor.m_nMode == MODE_STANDARD)
            m_bStandardUnchanged = 0;
        else if (m_cursor.m_nMode == MODE_MANUAL)
            m_bManualUnchanged = 0;
        qint64* pStart = m_cursor.m_nMode == MODE_STANDARD ? &m_property.m_timeStartStandard
                         : m_cursor.m_nMode == MODE_MANUAL ? &m_property.m_timeStartManual
                                                           : &m_property.m_timeStartSequence;
        if (*pStart == 0) *pStart = QDateTime::currentSecsSinceEpoch();
        if (!bLogged) {
            m_timerIdle.start();
            return;
        }
        LockScreens(false);
        m_bStopRequest = 0;
        if (CExecData* step = m_cursor.CurrentStep()) {
            step->m_nJudge = JUDGE_NONE;
            m_view.RefreshRow(*step, m_cursor.m_nStep);
        }
        m_bStartPending = 1;
        m_cntl.StartOutput();
        emit stepStarted(m_cursor.m_nMode == MODE_SEQUENCE ? m_cursor.m_nEntry : -1, m_cursor.m_nStep);
        m_timerRun.start();
        return;
    }
    case STATUS_DISCHARGING:
        if (m_bStartPending) {
            m_timerRun.start();
        } else {
            m_dialog.Message(Msg(u"除電中です。"));
            m_timerIdle.start();
        }
        return;
    case STATUS_RUNNING | STATUS_DISCHARGING:
        m_timerRun.start();
        return;
    default: // running: this press pauses or resumes
        m_cntl.StartOutput();
        m_timerRun.start();
        if (m_nRunState == 2) {
            m_timerBlink.stop();
            SetLamp(true);
        } else {
            m_timerBlink.start();
        }
        return;
    }
}

bool CRunEngine::OnStartMouseDown() {
    if (m_nRunState != 2) return false;
    OnStart();
    return true;
}

void CRunEngine::OnStop() {
    m_timerIdle.stop();
    m_timerRun.stop();
    m_bStopRequest = 1;
    m_cntl.StopOutput();
    m_timerRun.start();
}

void CRunEngine::OnEscape() {
    if (m_bStopEnabled) m_cntl.StopOutput();
}

void CRunEngine::Close() {
    m_timerIdle.stop();
    m_timerRun.stop();
    m_timerBlink.stop();
    if (!g_bNotConnected) m_cntl.StopOutput();
}

// ---------------------------------------------------------------- run poll

void CRunEngine::RunTick() {
    m_timerRun.stop();
    const int32_t nPrevState = m_nRunState;
    m_nRunState = 2;
    m_cursor.LoadStep(m_doc.m_nCurStep);
    const int entryOut = m_cursor.m_nMode == MODE_SEQUENCE ? m_cursor.m_nEntry : -1;

    uint8_t s = 0;
    if (!m_cntl.GetStatus(s)) {
        StopBlink();
        EnableStop(false);
        EnableStart(false);
        m_dialog.Message(Msg(u"TORVEXと通信できません。") + "\n" +
                         Msg(u"試験器本体の画面でエラー内容を確認してください。"));
        LockScreens(true);
        ShowRunTimes(false); // the instrument is gone: no point asking it for the time
        emit stepEnded(entryOut, m_cursor.m_nStep, JUDGE_NONE);
        emit runEnded("lost");
        m_timerIdle.start();
        return;
    }

    if (s & STATUS_RUNNING) {
        if (s & STATUS_ERROR) {
            QString text;
            m_cntl.GetErrorMessage(text);
            while (!text.isEmpty()) {
                m_dialog.Message(text);
                emit runError(text);
                m_cntl.ClearError();
                uint8_t s2 = 0;
                const bool ok = m_cntl.GetStatus(s2);
                if (ok && !(s2 & STATUS_ERROR)) {
                    m_nLastError = 0;
                    break;
                }
                text.clear();
                m_cntl.GetErrorMessage(text);
                if (!ok) break;
            }
            m_timerRun.start();
            return;
        }
        m_nLastError = 0;
        if (!g_bBlinking) {
            m_timerBlink.start();
            g_bBlinking = 1;
        }
        EnableStart(true);
        EnableStop(true);
        m_nRunState = (s & STATUS_PAUSED) ? 1 : 2;
        if ((m_nRunState == 1) != (nPrevState == 1)) emit pauseChanged(m_nRunState == 1);
        SetStartFace(m_nRunState == 1);
        SetLineIndicator(s & STATUS_LINE_ON);
        ShowRunTimes(true);
        if (m_nRunState == 2) m_view.MoveFocusToStop();
        m_timerRun.start();
        return;
    }

    if (s & STATUS_ERROR) {
        StopBlink();
        EnableStop(false);
        EnableStart(false);
        QString text;
        m_cntl.GetErrorMessage(text);
        if (!text.isEmpty()) {
            m_dialog.Message(text);
            emit runError(text);
            int32_t code = 0;
            m_cntl.GetErrorCode(code);
            if (code >= 4 && code <= 7) m_cntl.ClearError();
            m_nLastError = code;
        }
        LockScreens(true);
        ShowRunTimes(true);
        emit stepEnded(entryOut, m_cursor.m_nStep, JUDGE_NONE);
        emit runEnded("error");
        m_timerIdle.start();
        return;
    }

    m_nLastError = 0;
    if ((s & STATUS_COMPLETE) && !m_bStopRequest) {
        if (CExecData* step = m_cursor.CurrentStep()) {
            step->m_nJudge = JUDGE_PASS;
            m_view.RefreshRow(*step, m_cursor.m_nStep);
        }
        if (m_cursor.m_nMode == MODE_SEQUENCE) m_view.UpdateEntryJudgment(m_cursor.m_nEntry);
        ClearTimes(false, false);
        if (s & STATUS_DISCHARGING) {
            EnableStart(false);
            m_timerRun.start();
            return;
        }
        const int32_t finishedStep = m_doc.m_nCurStep;
        const int32_t finishedEntry = m_cursor.m_nEntry;
        emit stepEnded(entryOut, finishedStep, JUDGE_PASS);

        bool bEntryChanged = false;
        if (!m_cursor.NextStep(bEntryChanged)) {
            StopBlink();
            ClearTimes(false, true);
            m_doc.m_nCurStep = 0;
            EnableStop(false);
            LockScreens(true);
            m_dialog.Message(Msg(u"試験が終了しました。"));
            if (m_cursor.m_nMode == MODE_SEQUENCE) {
                m_cursor.m_nEntry = 0;
                m_doc.m_sequence.m_nCurEntry = 0;
                m_view.SelectEntry(0);
                m_view.ShowEntry(0);
                ShowSequenceTimes(0);
            } else if (m_cursor.m_pSteps) {
                m_view.FillList(*m_cursor.m_pSteps);
                m_view.SelectRow(0);
                ShowConditionTimes(*m_cursor.m_pSteps);
            }
            emit runEnded("finished");
            m_timerIdle.start();
            return;
        }
        if (bEntryChanged) m_view.ShowEntry(m_cursor.m_nEntry);

        if (!m_bStopEveryStep) {
            m_cntl.StopOutput();
            m_cntl.SendStep(m_cursor.m_step);
            m_cntl.StartOutput();
            if (m_doc.m_nCurStep >= 0) {
                if (CExecData* step = m_cursor.CurrentStep()) {
                    step->m_nJudge = JUDGE_NONE;
                    m_view.RefreshRow(*step, m_cursor.m_nStep);
                }
            }
            if (m_cursor.m_nMode == MODE_SEQUENCE) m_view.SelectEntry(m_cursor.m_nEntry);
            m_view.FillList(*m_cursor.m_pSteps);
            m_view.SelectRow(m_cursor.m_nStep);
            emit stepStarted(m_cursor.m_nMode == MODE_SEQUENCE ? m_cursor.m_nEntry : -1, m_cursor.m_nStep);
            m_timerRun.start();
            return;
        }

        StopBlink();
        EnableStop(false);
        LockScreens(true);
        if (m_cursor.m_nMode == MODE_SEQUENCE)
            ShowSequenceTimes(m_cursor.m_nEntry);
        else
            ShowConditionTimes(*m_cursor.m_pSteps);
        if (m_cursor.m_nMode == MODE_SEQUENCE) m_view.SelectEntry(m_cursor.m_nEntry);
        m_view.FillList(*m_cursor.m_pSteps);
        m_view.SelectRow(m_cursor.m_nStep);
        const QString tail =
            Msg(u"が終了しました。\n次のステップを実行する場合は試験開始ボタンをクリックしてください。"
                u"また、リストをクリックすることで実行するステップを変更できます。");
        if (m_cursor.m_nMode == MODE_SEQUENCE)
            m_dialog.Message(Msg(u"No.") + QString::number(finishedEntry + 1) + Msg(u"のステップ") +
                             QString::number(finishedStep + 1) + tail);
        else
            m_dialog.Message(Msg(u"ステップ") + QString::number(finishedStep + 1) + tail);
        emit runEnded("between");
        m_timerIdle.start();
        return;
    }

    // Output ended without completing: STOP, Esc, or the instrument's own stop.
    StopBlink();
    EnableStop(false);
    EnableStart(false);
    LockScreens(true);
    ShowRunTimes(true);
    m_dialog.Message(Msg(u"試験を停止しました。"));
    emit stepEnded(entryOut, m_cursor.m_nStep, JUDGE_NONE);
    emit runEnded("stopped");
    m_timerIdle.start();
}

// ---------------------------------------------------------------- EUT LINE

void CRunEngine::OnLineClick() {
    if (g_bNotConnected) return;
    if (m_bLineOn) {
        m_cntl.StopOutput();
        m_cntl.SetLine(false);
        SetLineIndicator(false);
        return;
    }
    uint8_t s = 0;
    if (!m_cntl.GetStatus(s)) return;
    if (s & STATUS_ERROR) {
        QString text;
        m_cntl.GetErrorMessage(text);
        if (!text.isEmpty()) m_dialog.Message(text);
        return;
    }
    if ((s & STATUS_RUNNING) || (s & STATUS_LINE_ON) || m_bStartPending) return;
    m_timerIdle.stop();
    if (m_dialog.AskOkCancel(Msg(u"EUT LINE を ON にします。\nよろしいですか？"))) {
        m_cntl.StopOutput();
        if (m_cntl.SetLine(true)) {
            uint8_t s2 = 0;
            if (m_cntl.GetStatus(s2)) SetLineIndicator(s2 & STATUS_LINE_ON);
        }
    }
    m_timerIdle.start();
}

// ---------------------------------------------------------------- read-outs

QString CRunEngine::OverLimitText() const {
    return QString::number(m_nHourLimit) + Msg(u"時間以上");
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
    m_view.SetReadout(which, r);
}

void CRunEngine::ShowConditionTimes(const std::vector<CExecData>& steps) {
    const int64_t T = FirstTestTime(steps);
    ShowTime(READOUT_TEST_TIME, T, false);
    int64_t n = int64_t(steps.size()) - m_doc.m_nCurStep;
    if (n < 0) n = 0;
    ShowTime(READOUT_TOTAL, n * T, true);
    ShowTime(READOUT_REMAINING, (T + kStepGap) * n - kStepGap, true);
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

void CRunEngine::ShowRunTimes() {
    ShowRunTimes(true);
}

void CRunEngine::ShowRunTimes(bool bQueryInstrument) {
    int32_t q = 0;
    if (bQueryInstrument && !g_bNotConnected && !m_cntl.GetTestTime(q)) q = 0;
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
}

void CRunEngine::ClearTimes(bool bTotal, bool bRemaining) {
    CReadout zero;
    zero.strHour = "0";
    zero.strMin = " 0";
    zero.strSec = " 0";
    m_lShownTestTime = 0;
    m_view.SetReadout(READOUT_TEST_TIME, zero);
    if (bTotal) {
        m_lShownTotal = 0;
        m_view.SetReadout(READOUT_TOTAL, zero);
    }
    if (bRemaining) {
        m_lShownRemaining = 0;
        m_view.SetReadout(READOUT_REMAINING, zero);
    }
}

// ---------------------------------------------------------------- test log

bool CRunEngine::WriteTestLog() {
    CTestLog log(m_doc, m_dialog, m_strLogFolderOverride);
    const bool bManualOwed = m_bManualLogOwed;
    const CTestLog::Result r = log.Write(m_cursor.m_nMode, bManualOwed);
    if (r == CTestLog::Written && m_cursor.m_nMode == MODE_MANUAL) {
        m_bManualLogOwed = 0;
        m_view.RefreshManualScreen();
    }
    return r != CTestLog::Refused;
}
