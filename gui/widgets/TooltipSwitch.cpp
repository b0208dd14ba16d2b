#include "gui/widgets/TooltipSwitch.h"

#include <QApplication>
#include <QEvent>
#include <QToolTip>
#include <QWidget>

namespace torvex {

namespace {
const char kSwitchable[] = "torvexSwitchableTip";
} // namespace

CTooltipSwitch::CTooltipSwitch() {
    qApp->installEventFilter(this);
}

CTooltipSwitch& CTooltipSwitch::Instance() {
    // Owned by the application object, so it goes with it.
    static CTooltipSwitch* s_pSwitch = nullptr;
    if (!s_pSwitch) {
        s_pSwitch = new CTooltipSwitch;
        s_pSwitch->setParent(qApp);
    }
    return *s_pSwitch;
}

void CTooltipSwitch::MarkSwitchable(QWidget* pWidget) {
    pWidget->setProperty(kSwitchable, true);
}

void CTooltipSwitch::SetOn(bool bOn) {
    m_bOn = bOn;
    if (!bOn) QToolTip::hideText();
}

bool CTooltipSwitch::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (!m_bOn && pEvent->type() == QEvent::ToolTip && pWatched->property(kSwitchable).toBool()) return true;
    return QObject::eventFilter(pWatched, pEvent);
}

} // namespace torvex
