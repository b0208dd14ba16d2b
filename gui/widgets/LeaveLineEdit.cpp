#include "gui/widgets/LeaveLineEdit.h"

void CLeaveLineEdit::focusOutEvent(QFocusEvent* pEvent) {
    QLineEdit::focusOutEvent(pEvent);
    emit left();
}
