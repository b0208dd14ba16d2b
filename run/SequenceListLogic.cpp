#include "run/SequenceListLogic.h"

#include "config/TestProperty.h"
#include "files/SequenceList.h"
#include "files/TabCode.h"
#include "files/TabLogic.h"
#include "files/TorvexDoc.h"
#include "model/OperatorDialog.h"
#include "results/StepListView.h"
#include "run/RunEngine.h"
#include "run/SequenceListView.h"

namespace torvex {

namespace {
// What the step list shows while no entry is shown.
const std::vector<CExecData> kNoSteps;

// Stand-ins while no screen shows the list (the command line).
class CNoStepList : public CStepListView {
public:
    void FillList(const std::vector<CExecData>&) override {}
    void ShowStepLimit(int64_t) override {}
    void SelectRow(int) override {}
};
class CNoSequenceView : public CSequenceListView {
public:
    void RefillRows() override {}
    void RefreshJudgment(int) override {}
    void SelectRow(int) override {}
    void FocusList() override {}
    void ShowPreview(const CSettingData*) override {}
    void SetWindowTitle(const QString&) override {}
};
} // namespace

CSequenceListLogic::CSequenceListLogic(CTorvexDoc& doc, CRunEngine& engine, CTestProperty& property,
                                       COperatorDialog& dialog, QObject* pParent)
    : QObject(pParent), m_doc(doc), m_engine(engine), m_property(property), m_dialog(dialog),
      m_pNoSteps(std::make_unique<CNoStepList>()), m_pNoView(std::make_unique<CNoSequenceView>()),
      m_pSteps(m_pNoSteps.get()), m_pView(m_pNoView.get()) {
    connect(&m_doc, &CTorvexDoc::sequenceChanged, this, &CSequenceListLogic::OnDocumentChanged);
}

CSequenceListLogic::~CSequenceListLogic() = default;

void CSequenceListLogic::SetViews(CStepListView* pSteps, CSequenceListView* pView) {
    m_pSteps = pSteps ? pSteps : m_pNoSteps.get();
    m_pView = pView ? pView : m_pNoView.get();
}

bool CSequenceListLogic::Locked() const {
    return !m_engine.ScreensEnabled();
}

CSequenceList& CSequenceListLogic::List() const {
    return m_doc.m_sequence;
}

QString CSequenceListLogic::Title() const {
    return TabWindowTitle(TAB_SEQUENCE, m_doc);
}

// ---------------------------------------------------------------- shown state

void CSequenceListLogic::FillSeqList() {
    m_pView->RefillRows();
    if (List().m_nCurEntry >= 0) m_pView->SelectRow(List().m_nCurEntry);
    // The report dates a sequence by its first start after the last change.
    m_property.m_timeStartSequence = 0;
}

void CSequenceListLogic::ShowEntry(int nEntry) {
    CSequenceList& seq = List();
    if (seq.Count() == 0) {
        seq.m_nCurEntry = 0;
        m_doc.m_nCurStep = 0;
        m_pView->ShowPreview(nullptr);
        m_pSteps->FillList(kNoSteps);
        return;
    }
    const CSettingData* entry = seq.Entry(nEntry);
    if (!entry) return;
    m_pView->ShowPreview(entry);
    m_pSteps->FillList(entry->m_listExec);
    m_doc.m_nCurStep = 0;
    m_pSteps->SelectRow(0);
    m_pView->FocusList();
}

void CSequenceListLogic::ShowEntryTimes(int nEntry) {
    if (nEntry >= 0 && List().Count() > 0)
        m_engine.ShowSequenceTimes(nEntry);
    else
        m_engine.ClearTimes(true, true);
}

void CSequenceListLogic::UpdateEntryJudgment(int nEntry) {
    m_pView->RefreshJudgment(nEntry);
}

void CSequenceListLogic::SelectEntry(int nEntry) {
    m_pView->SelectRow(nEntry);
}

void CSequenceListLogic::Activate() {
    CSequenceList& seq = List();
    m_pView->RefillRows();
    const CSettingData* entry = seq.CurrentEntry();
    if (entry) {
        m_pView->SelectRow(seq.m_nCurEntry);
        m_pView->ShowPreview(entry);
        m_pSteps->FillList(entry->m_listExec);
        // The step index is shared with the other tabs: START must find a step
        // of this entry where the list shows one.
        if (m_doc.m_nCurStep < 0 || size_t(m_doc.m_nCurStep) >= entry->m_listExec.size())
            m_doc.m_nCurStep = 0;
        m_pSteps->SelectRow(m_doc.m_nCurStep);
    } else {
        m_pView->ShowPreview(nullptr);
        m_pSteps->FillList(kNoSteps);
    }
    ShowEntryTimes(seq.m_nCurEntry);
    m_pView->SetWindowTitle(Title());
}

// ---------------------------------------------------------------- input

void CSequenceListLogic::SetAddMethod(int nMethod) {
    if (nMethod >= ADD_OVERWRITE && nMethod <= ADD_APPEND) List().m_nAddMethod = nMethod;
}

void CSequenceListLogic::OnDocumentChanged() {
    if (m_bInOperation) {
        m_bDocChanged = true;
        return;
    }
    // A data file dropped on the window while this tab is shown.
    if (m_doc.Tab() == TAB_SEQUENCE) ShowAfterAdd();
}

void CSequenceListLogic::ShowAfterAdd() {
    FillSeqList();
    if (List().Count() == 0) return;
    ShowEntry(List().m_nCurEntry);
    ShowEntryTimes(List().m_nCurEntry);
}

void CSequenceListLogic::OnLoad() {
    if (Locked()) return;
    m_bInOperation = true;
    m_bDocChanged = false;
    m_doc.AddEntryFromFile(); // keeps the document's modified flag
    m_bInOperation = false;
    if (m_bDocChanged)
        ShowAfterAdd();
    else
        m_pView->RefillRows(); // nothing joined: the rows as they were, the start time kept
}

void CSequenceListLogic::OnReadSequence() {
    if (Locked()) return;
    bool bApplied = false;
    m_bInOperation = true;
    const bool bRead = m_doc.LoadSequence(&bApplied);
    m_bInOperation = false;
    if (bRead && bApplied) ShowReadSequence();
}

bool CSequenceListLogic::OnReadSequenceFile(const QString& strPath) {
    if (Locked()) return false;
    bool bApplied = false;
    m_bInOperation = true;
    const bool bRead = m_doc.ReadSequenceFile(strPath, &bApplied);
    m_bInOperation = false;
    if (bRead && bApplied) ShowReadSequence();
    return bRead;
}

void CSequenceListLogic::ShowReadSequence() {
    // An empty file over an empty list leaves the screen as after 全削除.
    FillSeqList();
    ShowEntry(0);
    List().Select(0);
    m_pView->SelectRow(0);
    m_pView->FocusList();
    m_pView->SetWindowTitle(Title());
    ShowEntryTimes(0);
    List().m_bLogWritten = 0;
}

void CSequenceListLogic::OnSave() {
    if (Locked() || List().Count() == 0) return;
    if (m_doc.SaveSequence()) m_pView->SetWindowTitle(Title());
}

void CSequenceListLogic::OnSaveAs() {
    if (Locked() || List().Count() == 0) return;
    if (m_doc.SaveSequenceAs()) m_pView->SetWindowTitle(Title());
}

void CSequenceListLogic::OnUp() {
    if (Locked()) return;
    CSequenceList& seq = List();
    if (!seq.MoveUp()) {
        if (seq.Count() > 0) m_pView->SelectRow(seq.m_nCurEntry);
        return;
    }
    FillSeqList();
    ShowEntryTimes(seq.m_nCurEntry);
}

void CSequenceListLogic::OnDown() {
    if (Locked()) return;
    CSequenceList& seq = List();
    if (!seq.MoveDown()) {
        if (seq.Count() > 0) m_pView->SelectRow(seq.m_nCurEntry);
        return;
    }
    FillSeqList();
    ShowEntryTimes(seq.m_nCurEntry);
}

void CSequenceListLogic::OnRemove() {
    if (Locked()) return;
    CSequenceList& seq = List();
    if (!seq.CurrentEntry()) return;
    if (!m_dialog.AskOkCancel(seq.RemoveQuestion())) return;
    // Nothing may show the entry's condition or steps once it is gone.
    m_pView->ShowPreview(nullptr);
    m_pSteps->FillList(kNoSteps);
    seq.Remove();
    FillSeqList();
    ShowEntry(seq.m_nCurEntry);
    ShowEntryTimes(seq.m_nCurEntry);
}

void CSequenceListLogic::OnRemoveAll() {
    if (Locked()) return;
    CSequenceList& seq = List();
    if (seq.Count() == 0) return;
    if (!m_dialog.AskOkCancel(CSequenceList::RemoveAllQuestion())) return;
    m_pView->ShowPreview(nullptr);
    m_pSteps->FillList(kNoSteps);
    seq.RemoveAll();
    FillSeqList();
    ShowEntry(0);
    ShowEntryTimes(0);
}

void CSequenceListLogic::OnSelect(int nRow) {
    if (Locked()) return;
    CSequenceList& seq = List();
    if (nRow < 0 || nRow >= seq.Count()) nRow = 0;
    seq.Select(nRow);
    if (seq.Count() > 0) m_pView->SelectRow(nRow);
    ShowEntry(nRow);
    ShowEntryTimes(nRow);
}

void CSequenceListLogic::OnArrow(int nDelta) {
    // While a test runs the run decides the current entry.
    if (Locked()) return;
    CSequenceList& seq = List();
    if (seq.Count() == 0) return;
    const int nOld = seq.m_nCurEntry;
    seq.Select(nOld + nDelta);
    if (seq.m_nCurEntry == nOld) return;
    m_pView->SelectRow(seq.m_nCurEntry);
    ShowEntry(seq.m_nCurEntry);
    ShowEntryTimes(seq.m_nCurEntry);
}

} // namespace torvex
