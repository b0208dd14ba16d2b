#pragma once

#include <QObject>
#include <functional>
#include <memory>

namespace torvex {

class CTorvexDoc;
class CRunEngine;
class CTestProperty;
class COperatorDialog;
class CStepListView;
class CSequenceListView;
class CSequenceList;

// The sequence list screen's behaviour: adding tests, loading and saving the
// sequence file, moving and deleting entries, which entry the preview and the
// step list show and where a run starts. The panel forwards the operator's
// input here and shows what it is told.
class CSequenceListLogic : public QObject {
    Q_OBJECT
public:
    // While a test runs (the engine's screens are locked), input that would
    // move the run is ignored.
    CSequenceListLogic(CTorvexDoc& doc, CRunEngine& engine, CTestProperty& property, COperatorDialog& dialog,
                       QObject* pParent = nullptr);
    ~CSequenceListLogic() override;

    // The step list and the sequence list panel; null: nothing is shown.
    void SetViews(CStepListView* pSteps, CSequenceListView* pView);

    CSequenceList& List() const;

    // Operator input.
    void SetAddMethod(int nMethod);
    void OnLoad();         // the LOAD button: a data file joins the list
    void OnReadSequence(); // 読み込み
    // The sequence file strPath read as 読み込み reads the one chosen (a
    // file named on the command line); false when it could not be read.
    bool OnReadSequenceFile(const QString& strPath);
    void OnSave();         // 上書き保存
    void OnSaveAs();       // 名前を付けて保存
    void OnUp();
    void OnDown();
    void OnRemove();    // 削除
    void OnRemoveAll(); // 全削除
    // A click or double-click on a row; −1 when it hit no row.
    void OnSelect(int nRow);
    // Up (−1) or Down (+1) in the list.
    void OnArrow(int nDelta);

    // The SEQUENCE tab became active.
    void Activate();

    // Operations the run engine and the step list use.
    void FillSeqList();
    void ShowEntry(int nEntry);
    void ShowEntryTimes(int nEntry);
    void UpdateEntryJudgment(int nEntry);
    void SelectEntry(int nEntry);

    // "<sequence file name> - TORVEX_Pilot", or "無題 - TORVEX_Pilot".
    QString Title() const;

private:
    // Entries were added by the document (a data file opened on this tab).
    void OnDocumentChanged();
    // After an entry joined the list: rows, preview, step list, times.
    void ShowAfterAdd();
    // After a sequence file replaced the list: rows, first entry, title, times.
    void ShowReadSequence();
    bool Locked() const;

    CTorvexDoc& m_doc;
    CRunEngine& m_engine;
    CTestProperty& m_property;
    COperatorDialog& m_dialog;
    std::unique_ptr<CStepListView> m_pNoSteps;
    std::unique_ptr<CSequenceListView> m_pNoView;
    CStepListView* m_pSteps;
    CSequenceListView* m_pView;
    bool m_bInOperation = false; // an operation of ours is changing the list
    bool m_bDocChanged = false;
};

} // namespace torvex
