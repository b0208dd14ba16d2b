#pragma once

#include "results/StepListView.h"

#include "files/ListTableModel.h"
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace torvex {

class CTorvexDoc;
class CRunEngine;
class CJudgmentStore;
class COperatorDialog;
class CPlanChartWidget;

// The rows of the step list: one step each, its texts by column.
class CStepTableModel : public CListTableModel {
    Q_OBJECT
public:
    explicit CStepTableModel(QObject* pParent = nullptr) : CListTableModel(kColumns, pParent) {}

    // Shows a list (kept by reference: the owner keeps it alive and calls
    // SetSteps again after it changes); rows are added or removed at the end
    // so the selection stays.
    void SetSteps(std::vector<CExecData>* pSteps);
    void RefreshRow(int nRow);
    std::vector<CExecData>* Steps() const { return m_pSteps; }
    // The first column's text of step nStep (from 1).
    static QString StepLabel(int nStep);

    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static const int kColumns = 9;

private:
    std::vector<CExecData>* m_pSteps = nullptr;
};

// What the step list needs of the rest of the window.
struct STEP_LIST_HOST {
    std::function<bool()> fnScreensEnabled;   // false while a test runs
    std::function<void()> fnJudgmentEntered;  // the operator entered a judgment or comment
    std::function<void(int)> fnEntryJudgment; // the sequence list recomputes an entry's judgment
    std::function<void()> fnFocusLineSwitch;  // Tab / Enter during a run
    std::function<void()> fnReport;           // "試験データ出力"
};

// The step list: the steps of the current test with their judgments and
// comments, where the operator picks the step to start from.
class CExecListDlg : public QWidget, public CStepListView {
    Q_OBJECT
public:
    CExecListDlg(CTorvexDoc& doc, CRunEngine& engine, CJudgmentStore& judgments, COperatorDialog& dialog,
                 STEP_LIST_HOST host, QWidget* pParent = nullptr);

    // CStepListView
    void FillList(const std::vector<CExecData>& steps) override;
    void ShowStepLimit(int64_t nCount) override;
    void SelectRow(int nRow) override;

    void RefreshRow(int nRow);
    // Controls a running test must not reach.
    void LockControls(bool bEnable);
    bool IsReportEnabled() const;
    QTableView* Table() const { return m_pTable; }
    CPlanChartWidget* Chart() const { return m_pChart; }
    CStepTableModel* Model() const { return m_pModel; }

    // The steps of the active tab: STANDARD, the current sequence entry, or
    // MANUAL; null when there are none (an empty sequence list).
    std::vector<CExecData>* ActiveSteps() const;

    void OnBatchJudge();
    void OnDeleteComments();
    void OpenJudgeDialog(int nRow);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void OnCurrentRowChanged(int nRow);
    void RefreshTimes();
    void FitColumns();
    void UpdateReportButton();

    CTorvexDoc& m_doc;
    CRunEngine& m_engine;
    CJudgmentStore& m_judgments;
    COperatorDialog& m_dialog;
    STEP_LIST_HOST m_host;
    CStepTableModel* m_pModel;
    QTableView* m_pTable;
    CPlanChartWidget* m_pChart;
    QLabel* m_pLimit;
    QPushButton* m_pReport;
    QComboBox* m_pJudge;
    QPushButton* m_pBatch;
    QPushButton* m_pDeleteComments;
    bool m_bWithinLimit = true;
    bool m_bUnlocked = true;
};

} // namespace torvex
