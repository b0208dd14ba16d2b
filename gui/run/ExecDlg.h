#pragma once

#include "run/RunView.h"

#include <QWidget>

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace torvex {

class CRunEngine;

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

    // The panel in one row where it is wide enough; narrower, the progress
    // bars go to a row below; narrower still, START, STOP, LINE and the lamp
    // take the first row and the read-outs with the bars the second.
    enum class PanelRows { One, BarsBelow, ControlsAbove };
    int NarrowWidth() const;
    int PanelHeight(int nWidth) const;
    // How much of the panel's width is in sight where the window scrolls: the
    // rows are arranged for that, so START and STOP stay on the screen.
    void SetVisibleWidth(int nWidth);
    PanelRows Rows() const { return m_eRows; }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    struct READOUT {
        QLabel* pNumber[3];
        QLabel* pUnit[3];
        QLabel* pOver;
    };
    void Arrange(PanelRows eRows);
    int RowsWidth(PanelRows eRows) const;
    PanelRows RowsFor(int nWidth) const;
    QWidget* MakeReadout(const QString& strCaption, READOUT& r, bool bWithLimit);

    CRunEngine* m_pEngine = nullptr;
    READOUT m_readout[3];
    QPushButton* m_pStart;
    QPushButton* m_pStop;
    QToolButton* m_pLine;
    QLabel* m_pLamp;
    QProgressBar* m_pStepBar;
    QProgressBar* m_pTestBar;
    QLabel* m_pBarCaption[2];
    QWidget* m_pBarsBox;
    QWidget* m_pTimesBox;
    QWidget* m_pControlsBox;
    QGridLayout* m_pBars;
    QHBoxLayout* m_pRow[2];
    PanelRows m_eRows = PanelRows::One;
    int m_nVisibleWidth = 1 << 20;
    static constexpr int kOneRowHeight = 84;
    static constexpr int kBarMinWidth = 80;
    static constexpr int kBarsRowHeight = 30;
    static constexpr int kProgressScale = 1000;
    bool m_bLineOn = false;
    bool m_bLineDimmed = false;
};

} // namespace torvex
