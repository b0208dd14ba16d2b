#pragma once

#include "files/SequencePreview.h"

#include <QWidget>

class QLabel;
class QRadioButton;
class QButtonGroup;
class QCheckBox;
class QPushButton;
class QTabBar;
class QStackedWidget;

// A value editor in display mode: the tab of the value type and its values
// as plain text.
class CValueView : public QWidget {
    Q_OBJECT
public:
    explicit CValueView(QWidget* pParent = nullptr);
    void Show(const PREVIEW_VALUE& value);
    QString Text(int i) const;
    int Type() const;

private:
    QTabBar* m_pTabs;
    QStackedWidget* m_pPages;
    QLabel* m_apRange[3];
    QLabel* m_apRangeUnit[3];
    QCheckBox* m_apUse[5];
    QLabel* m_apValue[5];
    QLabel* m_pVariableUnit;
};

// The SEQUENCE screen ("PREVIEW"): the condition of the selected entry in the
// MANUAL screen's layout, read-only. It takes no click and no key but Enter.
class CSequenceDlg : public QWidget {
    Q_OBJECT
public:
    explicit CSequenceDlg(QWidget* pParent = nullptr);

    // Shows an entry; null: the empty state.
    void ShowEntry(const CSettingData* pEntry);
    const CSettingData* Entry() const { return m_pEntry; }
    const SEQUENCE_PREVIEW& Shown() const { return m_shown; }

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    QWidget* AddRow(const QString& strCaption, QWidget* pContent);

    const CSettingData* m_pEntry = nullptr;
    SEQUENCE_PREVIEW m_shown;
    class QVBoxLayout* m_pRows = nullptr;
    QLabel* m_pName;
    QLabel* m_pPolarity;
    CValueView* m_pVolt;
    CValueView* m_pFreq;
    CValueView* m_pAngle;
    QLabel* m_pHour;
    QLabel* m_pMin;
    QLabel* m_pSec;
    QLabel* m_pBurstPeriod;
    QLabel* m_pPulseCount;
    QLabel* m_pBurstDura;
    QButtonGroup* m_pOutput;
    QButtonGroup* m_pSync;
    QButtonGroup* m_pDetail;
    QTabBar* m_pCouplingTabs;
    QCheckBox* m_apLine[5];
    QPushButton* m_pEachLine;
    QPushButton* m_pAllCombinations;
    QWidget* m_apFunction[4];
    QWidget* m_pSyncRow;
    QWidget* m_pAngleRow;
    QWidget* m_pCouplingRow;
};
