#pragma once

#include "model/ExecData.h"

#include <QString>
#include <vector>

namespace torvex {

// The three time read-outs of the run panel.
enum Readout : int { READOUT_TEST_TIME = 0, READOUT_TOTAL = 1, READOUT_REMAINING = 2 };

// What one read-out shows: three number fields, or the "%d時間以上" text when
// the time reaches the hour limit.
struct CReadout {
    bool bOverLimit = false;
    QString strHour = QStringLiteral("00");
    QString strMin = QStringLiteral("00");
    QString strSec = QStringLiteral("00");
    bool operator==(const CReadout&) const = default;
};

// Where a test stands, for the run panel's progress bars: the current step's
// time, and the steps and time of the whole test or sequence. The times are
// those the read-outs show (the whole test's time counts the gaps between
// steps, as the remaining time does).
struct CRunProgress {
    int64_t lStepDone = 0;
    int64_t lStepTime = 0;
    int32_t nStepsDone = 0;
    int32_t nStepsTotal = 0;
    int64_t lTimeDone = 0;
    int64_t lTimeTotal = 0;
    bool operator==(const CRunProgress&) const = default;
};

// What the run engine changes on the screens: the run panel, the step list
// and the main window. The desktop program's widgets implement it; the tests
// and the command line record it. The sequence list is not here: its logic
// follows the engine's signals and changes its own view.
class CRunView {
public:
    virtual ~CRunView() = default;

    // Run panel.
    virtual void SetStartEnabled(bool bEnable) = 0;
    virtual void SetStopEnabled(bool bEnable) = 0;
    virtual void SetStartFace(bool bPlay) = 0;
    virtual void SetLamp(bool bLit) = 0;
    // bDimmed: the instrument cannot be reached; bOn: lever up.
    virtual void SetLineIndicator(bool bOn, bool bDimmed) = 0;
    virtual void SetReadout(Readout which, const CReadout& readout) = 0;
    virtual void SetProgress(const CRunProgress&) {}
    virtual void FocusStart() {}
    // While output runs and START has the focus, STOP becomes the default button.
    virtual void MoveFocusToStop() {}

    // Locks (false) or unlocks (true) every control that could change the test.
    virtual void LockScreens(bool bEnable) = 0;
    // While a START talks to the instrument before its question, the operator's
    // input must not change the test: it is held back, nothing is greyed.
    virtual void SetBusy(bool) {}

    // Step list.
    virtual void FillList(const std::vector<CExecData>& steps) = 0;
    virtual void RefreshRow(const CExecData& step, int nRow) = 0;
    // Selects, focuses and scrolls to a row; the engine has already set the
    // document's current step index.
    virtual void SelectRow(int nRow) = 0;

    // The instrument stopped answering: the settings screen says "未接続" and
    // offers reconnection.
    virtual void ShowNotConnected() = 0;
    virtual QString WindowTitle() const = 0;
    virtual void SetWindowTitle(const QString& strTitle) = 0;
    // The MANUAL screen shows its condition again (its name may have changed).
    virtual void RefreshManualScreen() {}
};

// A run view that shows nothing: the command line and the benchmarks only
// need the window title, which the engine marks when the instrument is lost.
class CSilentRunView : public CRunView {
public:
    void SetStartEnabled(bool) override {}
    void SetStopEnabled(bool) override {}
    void SetStartFace(bool) override {}
    void SetLamp(bool) override {}
    void SetLineIndicator(bool, bool) override {}
    void SetReadout(Readout, const CReadout&) override {}
    void LockScreens(bool) override {}
    void FillList(const std::vector<CExecData>&) override {}
    void RefreshRow(const CExecData&, int) override {}
    void SelectRow(int) override {}
    void ShowNotConnected() override {}
    QString WindowTitle() const override { return m_strTitle; }
    void SetWindowTitle(const QString& s) override { m_strTitle = s; }
    QString m_strTitle = QStringLiteral("TORVEX_Pilot");
};

} // namespace torvex
