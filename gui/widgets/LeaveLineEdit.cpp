#include "gui/widgets/LeaveLineEdit.h"

namespace torvex {

void CLeaveLineEdit::focusOutEvent(QFocusEvent* pEvent) {
    QLineEdit::focusOutEvent(pEvent);
    emit left();
}

} // namespace torvex
