#pragma once

#include "run/ConditionChange.h"

#include <QHash>
#include <QObject>
#include <functional>

class QWidget;

namespace torvex {

// Stands between the operator and the editing controls of a screen: while the
// screens are locked every click is dropped; otherwise the first change after a
// run asks for confirmation, and the answer decides what becomes of the input.
// Return moves the focus on, Escape is swallowed.
class CInputGate : public QObject {
    Q_OBJECT
public:
    enum Kind {
        GATE_BUTTON, // buttons and check boxes: a confirmed click is replayed once
        GATE_TAB,    // tab bars: a confirmed click goes through
        GATE_BOX,    // boxes, spins, the load button: a confirmed input is dropped
    };

    CInputGate(std::function<bool()> fnEnabled, std::function<ConfirmResult()> fnConfirm,
               QObject* pParent = nullptr);

    void Watch(QWidget* pWidget, Kind eKind);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    bool FilterClick(QObject* pWatched, Kind eKind);
    bool FilterKey(QObject* pWatched, QEvent* pEvent);

    std::function<bool()> m_fnEnabled;
    std::function<ConfirmResult()> m_fnConfirm;
    QHash<QObject*, Kind> m_kinds;
};

} // namespace torvex
