#pragma once

#include <QDateTime>
#include <QDialog>

class QCheckBox;
class QLabel;

namespace torvex {

class CCalibrationSetting;

// The calibration reminder shown at start-up. Closing it in any way with the
// "do not show again" box ticked switches off the reminders that fired.
class CNoticeCalibrationDlg : public QDialog {
    Q_OBJECT
public:
    // rCalib has been checked (IsNoticeDue) at now.
    CNoticeCalibrationDlg(CCalibrationSetting& rCalib, const QDateTime& now, QWidget* pParent = nullptr);

    void done(int nResult) override;

    QLabel* m_pFirstLine = nullptr;
    QLabel* m_pOverdueLine = nullptr;
    QLabel* m_pInstrument = nullptr;
    QLabel* m_pContact = nullptr;
    QCheckBox* m_pDoNotShowAgain = nullptr;

private:
    CCalibrationSetting& m_rCalib;
    bool m_bClosed = false;
};

} // namespace torvex
