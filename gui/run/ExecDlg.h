#pragma once

#include "run/RunView.h"

#include <QWidget>

class CRunEngine;
class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;

// The run panel: START, STOP, the output lamp, the EUT LINE switch and the
// three time read-outs. It only shows what the run engine tells it and hands
// the operator's clicks and keys to the engine.
class CExecDlg : public QWidget {
    Q_OBJECT
public:
    explicit CExecDlg(QWidget* pParent = nullptr);

    void SetEngine(CRunEngine* pEngine);

    void SetStartEnabled(bool bEnable);
    void SetStopEnabled(bool bEnable);
    void SetStartFace(bool bPlay);
    void SetLamp(bool bLit);
    void SetLineIndicator(bool bOn, bool bDimmed);
    void SetReadout(Readout which, const CReadout& readout);
    void SetProgress(const CRunProgress& progress);
    void FocusStart();
    void MoveFocusToStop();
    void FocusLineSwitch();

    QPushButton* StartButton() const { return m_pStart; }
    QPushButton* StopButton() const { return m_pStop; }
    QToolButton* LineSwitch() const { return m_pLine; }
    QProgressBar* StepProgress() const { return m_pStepBar; }
    QProgressBar* TestProgress() const { return m_pTestBar; }
    // The text a read-out shows, for the tests ("0h 1m 0s" or "24時間以上").
    QString ReadoutText(Readout which) const;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    struct READOUT {
        QLabel* pNumber[3];
        QLabel* pUnit[3];
        QLabel* pOver;
    };
    QWidget* MakeReadout(const QString& strCaption, READOUT& r, bool bWithLimit);

    CRunEngine* m_pEngine = nullptr;
    READOUT m_readout[3];
    QPushButton* m_pStart;
    QPushButton* m_pStop;
    QToolButton* m_pLine;
    QLabel* m_pLamp;
    QProgressBar* m_pStepBar;
    QProgressBar* m_pTestBar;
    static constexpr int kProgressScale = 1000;
    bool m_bLineOn = false;
    bool m_bLineDimmed = false;
};
