#include "gui/screens/InputGate.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QWidget>

namespace torvex {

CInputGate::CInputGate(std::function<bool()> fnEnabled, std::function<ConfirmResult()> fnConfirm,
                       QObject* pParent)
    : QObject(pParent), m_fnEnabled(std::move(fnEnabled)), m_fnConfirm(std::move(fnConfirm)) {}

void CInputGate::Watch(QWidget* pWidget, Kind eKind) {
    m_kinds.insert(pWidget, eKind);
    pWidget->installEventFilter(this);
    connect(pWidget, &QObject::destroyed, this, [this](QObject* p) { m_kinds.remove(p); });
}

bool CInputGate::eventFilter(QObject* pWatched, QEvent* pEvent) {
    const auto it = m_kinds.constFind(pWatched);
    if (it == m_kinds.constEnd()) return false;
    switch (pEvent->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return FilterClick(pWatched, it.value());
    case QEvent::KeyPress:
        return FilterKey(pWatched, pEvent);
    default:
        return false;
    }
}

bool CInputGate::FilterClick(QObject* pWatched, Kind eKind) {
    if (m_fnEnabled && !m_fnEnabled()) return true;
    switch (m_fnConfirm ? m_fnConfirm() : CONFIRM_PROCEED) {
    case CONFIRM_PROCEED:
        return false;
    case CONFIRM_DISCARD:
        return true;
    case CONFIRM_CONFIRMED:
        break;
    }
    if (eKind == GATE_TAB) return false;
    if (eKind == GATE_BUTTON) {
        // The press that asked is used up by the question; the click it meant
        // happens once, now.
        if (auto* pButton = qobject_cast<QAbstractButton*>(pWatched)) pButton->click();
    }
    return true;
}

bool CInputGate::FilterKey(QObject* pWatched, QEvent* pEvent) {
    auto* pKey = static_cast<QKeyEvent*>(pEvent);
    switch (pKey->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* pWidget = qobject_cast<QWidget*>(pWatched)) {
            // Leaving the box applies what was typed, as Tab would.
            QWidget* pNext = pWidget->nextInFocusChain();
            while (pNext && pNext != pWidget &&
                   !(pNext->isVisible() && pNext->isEnabled() && (pNext->focusPolicy() & Qt::TabFocus)))
                pNext = pNext->nextInFocusChain();
            if (pNext && pNext != pWidget) pNext->setFocus(Qt::TabFocusReason);
        }
        return true;
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        // Moving between controls changes nothing.
        return false;
    default:
        break;
    }
    if (m_fnEnabled && !m_fnEnabled()) return true;
    // A confirmed key press is dropped too: the operator repeats it.
    return (m_fnConfirm ? m_fnConfirm() : CONFIRM_PROCEED) != CONFIRM_PROCEED;
}

} // namespace torvex
