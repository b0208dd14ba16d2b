#pragma once

#include "files/SequencePreview.h"

#include <QWidget>

class QButtonGroup;
class QLabel;
class QVBoxLayout;

namespace torvex {

class CCouplingPhaseDlg;
class CValueDlg;

// The SEQUENCE screen ("PREVIEW"): the condition of the selected entry in the
// MANUAL screen's layout, read-only. The value and coupling editors are the
// MANUAL screen's own, in display mode. It takes no click and no key but Enter.
class CSequenceDlg : public QWidget {
    Q_OBJECT
public:
    explicit CSequenceDlg(QWidget* pParent = nullptr);

    // Shows an entry; null: the empty state.
    void ShowEntry(const CSettingData* pEntry);
    const CSettingData* Entry() const { return m_pEntry; }
    const SEQUENCE_PREVIEW& Shown() const { return m_shown; }

    CValueDlg* VoltEditor() const { return m_pVolt; }
    CValueDlg* FreqEditor() const { return m_pFreq; }
    CValueDlg* AngleEditor() const { return m_pAngle; }
    CCouplingPhaseDlg* CouplingEditor() const { return m_pCoupling; }

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    QWidget* AddRow(QVBoxLayout* pColumn, const QString& strCaption, int nCaptionWidth, QWidget* pContent,
                    bool bTall = false);

    const CSettingData* m_pEntry = nullptr;
    SEQUENCE_PREVIEW m_shown;
    QLabel* m_pName;
    QLabel* m_pPolarity;
    CValueDlg* m_pVolt;
    CValueDlg* m_pFreq;
    CValueDlg* m_pAngle;
    CCouplingPhaseDlg* m_pCoupling;
    QLabel* m_pHour;
    QLabel* m_pMin;
    QLabel* m_pSec;
    QLabel* m_pBurstPeriod;
    QLabel* m_pPulseCount;
    QLabel* m_pBurstDura;
    QButtonGroup* m_pOutput;
    QButtonGroup* m_pSync;
    QButtonGroup* m_pDetail;
    QWidget* m_apFunction[4];
    QWidget* m_pSyncRow;
    QWidget* m_pAngleRow;
    QWidget* m_pCouplingRow;
};

} // namespace torvex
