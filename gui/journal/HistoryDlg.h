#pragma once

#include "journal/Journal.h"

#include <QDialog>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace torvex {

class COperatorDialog;

// The history of runs (menu 試験履歴): the journal's runs newest first with
// filters by date, file name and outcome, the steps of the selected run, and
// the report of that run as it would have been written at its end.
class CHistoryDlg : public QDialog {
    Q_OBJECT
public:
    CHistoryDlg(CJournal& journal, COperatorDialog& dialog, QWidget* pParent = nullptr);

    // Lists the runs that pass the filters again.
    void Reload();
    // Selects the run with that id; false when it is not listed.
    bool SelectRun(qint64 nRun);
    // Saves the selected run's report into the report folder and opens it.
    void OutputReport();

    QTableView* Runs() const { return m_pRuns; }
    QTableView* Steps() const { return m_pSteps; }
    QPushButton* ReportButton() const { return m_pReport; }
    QLineEdit* FileFilter() const { return m_pFile; }
    QComboBox* OutcomeFilter() const { return m_pOutcome; }
    QCheckBox* DateFilter() const { return m_pUseDates; }
    QDateEdit* FromDate() const { return m_pFrom; }
    QDateEdit* UntilDate() const { return m_pUntil; }

private:
    void ShowSteps();
    qint64 SelectedRun() const;

    CJournal& m_journal;
    COperatorDialog& m_dialog;
    QCheckBox* m_pUseDates;
    QDateEdit* m_pFrom;
    QDateEdit* m_pUntil;
    QLineEdit* m_pFile;
    QComboBox* m_pOutcome;
    QTableView* m_pRuns;
    QTableView* m_pSteps;
    QPushButton* m_pReport;
    QStandardItemModel* m_pRunModel;
    QStandardItemModel* m_pStepModel;
    std::vector<JOURNAL_RUN> m_runs;
};

} // namespace torvex
