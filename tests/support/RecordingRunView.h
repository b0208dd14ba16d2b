#pragma once

#include "results/StepListView.h"
#include "run/RunView.h"
#include "run/SequenceListView.h"

#include <QStringList>
#include <map>

namespace torvex {

// A run view for the tests: keeps what the panel shows and a log of the calls
// that matter, one line each.
class CRecordingRunView : public CRunView {
public:
    void SetStartEnabled(bool b) override { bStartEnabled = b; }
    void SetStopEnabled(bool b) override { bStopEnabled = b; }
    void SetStartFace(bool bPlay) override {
        bPlayFace = bPlay;
        log << (bPlay ? "face play" : "face pause");
    }
    void SetLamp(bool bLit) override { bLampLit = bLit; }
    void SetLineIndicator(bool bOn, bool bDimmed) override {
        bLineOn = bOn;
        bLineDimmed = bDimmed;
    }
    void SetReadout(Readout which, const CReadout& r) override { readouts[which] = r; }
    void LockScreens(bool bEnable) override {
        bUnlocked = bEnable;
        log << (bEnable ? "unlock" : "lock");
    }
    void FillList(const std::vector<CExecData>& steps) override {
        nFilledRows = int(steps.size());
        log << QString("fill %1").arg(steps.size());
    }
    void RefreshRow(const CExecData&, int nRow) override { log << QString("row %1").arg(nRow); }
    void SelectRow(int nRow) override {
        nSelectedRow = nRow;
        log << QString("select %1").arg(nRow);
    }
    void ShowNotConnected() override { ++nNotConnectedShown; }
    QString WindowTitle() const override { return strTitle; }
    void SetWindowTitle(const QString& s) override { strTitle = s; }
    void RefreshManualScreen() override { ++nManualRefreshed; }

    bool bStartEnabled = false;
    bool bStopEnabled = false;
    bool bPlayFace = true;
    bool bLampLit = false;
    bool bLineOn = false;
    bool bLineDimmed = false;
    bool bUnlocked = true;
    int nFilledRows = 0;
    int nSelectedRow = -1;
    int nNotConnectedShown = 0;
    int nManualRefreshed = 0;
    QString strTitle = QStringLiteral("無題 - TORVEX_Pilot");
    std::map<int, CReadout> readouts;
    QStringList log;
};

// A sequence list panel for the tests: the row selected and the entry the
// preview shows last.
class CRecordingSequenceView : public CSequenceListView {
public:
    void RefillRows() override {}
    void RefreshJudgment(int nRow) override { judgedRows << nRow; }
    void SelectRow(int nRow) override { nSelectedRow = nRow; }
    void FocusList() override {}
    void ShowPreview(const CSettingData* pEntry) override { pPreview = pEntry; }
    void SetWindowTitle(const QString&) override {}
    int nSelectedRow = -1;
    const CSettingData* pPreview = nullptr;
    QList<int> judgedRows;
};

// A step list for the tests of the condition screens: what it was told last.
class CRecordingList : public CStepListView {
public:
    void FillList(const std::vector<CExecData>& steps) override { nRows = int(steps.size()); }
    void ShowStepLimit(int64_t n) override { nLimitShown = n; }
    void SelectRow(int r) override { nSelected = r; }
    int nRows = -1;
    int64_t nLimitShown = -1;
    int nSelected = -1;
};

} // namespace torvex
