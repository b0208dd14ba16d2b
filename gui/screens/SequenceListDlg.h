#pragma once

#include "run/SequenceListView.h"

#include <QWidget>
#include <functional>

class QButtonGroup;
class QPushButton;
class QRadioButton;
class QTableView;
class QToolButton;

namespace torvex {

class CTorvexDoc;
class CSession;
class CRunEngine;
class CTestProperty;
class COperatorDialog;
class CStepListView;
class CSequenceDlg;
class CSequenceListLogic;
class CSequenceTableModel;

// The sequence list panel of the SEQUENCE tab: add method, LOAD, the sequence
// file buttons, the list of entries and the buttons that move and delete them.
// What the buttons do is CSequenceListLogic's; this panel shows.
class CSequenceListDlg : public QWidget, public CSequenceListView {
    Q_OBJECT
public:
    // Shows the session's sequence list; clicks are ignored while a test runs.
    CSequenceListDlg(CSession& session, CStepListView& steps, CSequenceDlg& preview,
                     QWidget* pParent = nullptr);
    ~CSequenceListDlg() override;

    CSequenceListLogic& Logic() const { return *m_pLogic; }
    // Controls a running test must not reach.
    void LockControls(bool bEnable);

    QTableView* Table() const { return m_pTable; }
    QRadioButton* AddMethodButton(int nMethod) const;
    QToolButton* LoadButton() const { return m_pLoad; }
    QPushButton* ReadButton() const { return m_pRead; }
    QPushButton* SaveButton() const { return m_pSave; }
    QPushButton* SaveAsButton() const { return m_pSaveAs; }
    QPushButton* UpButton() const { return m_pUp; }
    QPushButton* DownButton() const { return m_pDown; }
    QPushButton* RemoveButton() const { return m_pRemove; }
    QPushButton* RemoveAllButton() const { return m_pRemoveAll; }

    // CSequenceListView
    void RefillRows() override;
    void RefreshJudgment(int nRow) override;
    void SelectRow(int nRow) override;
    void FocusList() override;
    void ShowPreview(const CSettingData* pEntry) override;
    void SetWindowTitle(const QString& strTitle) override;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void FitColumns();

    CSession& m_session;
    CSequenceDlg& m_preview;
    CSequenceListLogic* m_pLogic;
    CSequenceTableModel* m_pModel;
    QTableView* m_pTable;
    QButtonGroup* m_pAddMethod;
    QToolButton* m_pLoad;
    QPushButton* m_pRead;
    QPushButton* m_pSave;
    QPushButton* m_pSaveAs;
    QPushButton* m_pUp;
    QPushButton* m_pDown;
    QPushButton* m_pRemove;
    QPushButton* m_pRemoveAll;
};

} // namespace torvex
