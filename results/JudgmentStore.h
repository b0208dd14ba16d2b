#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <vector>

namespace torvex {

class CTorvexDoc;
class CExecData;

// The operator's judgments and comments: the judgment dialog, the batch change
// and the comment deletion of the step list change the steps only through
// here, so whatever keeps a record of them hears of every change.
class CJudgmentStore : public QObject {
    Q_OBJECT
public:
    explicit CJudgmentStore(CTorvexDoc& doc, QObject* pParent = nullptr) : QObject(pParent), m_doc(doc) {}

    // The steps the step list shows for a tab: STANDARD, the current sequence
    // entry (its index in *pnEntry), otherwise MANUAL; null for an empty
    // sequence list.
    std::vector<CExecData>* Steps(int nTab, int* pnEntry = nullptr) const;

    // One step's judgment and comment; true when either changed (nothing is
    // stored, and nothing told, when both are as they were).
    bool SetStep(int nTab, int nStep, int32_t nJudge, const QString& strComment);
    // Every step's judgment; false when the tab has no steps.
    bool SetAllJudgments(int nTab, int32_t nJudge);
    // Every step's comment emptied; false when the tab has no steps.
    bool DeleteAllComments(int nTab);

signals:
    // Steps nFirst..nLast of a tab's list changed (nEntry: the sequence entry,
    // 0 outside a sequence); kind: "judgment", "batch" or "comments".
    void stepsChanged(int nTab, int nEntry, int nFirst, int nLast, const QString& strKind);

private:
    CTorvexDoc& m_doc;
};

} // namespace torvex
