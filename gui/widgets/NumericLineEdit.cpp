#include "gui/widgets/NumericLineEdit.h"

#include "model/Rules.h"

#include <QSignalBlocker>

namespace torvex {

namespace {

bool NumberBoxFilter(QString& rstrText, int& rnSelStart, int& rnSelEnd) {
    const FILTERED_TEXT filtered = FilterNumericText(rstrText, rnSelStart, rnSelEnd);
    if (!filtered.m_bChanged) return false;
    rstrText = filtered.m_strText;
    rnSelStart = filtered.m_nSelStart;
    rnSelEnd = filtered.m_nSelEnd;
    return true;
}

} // namespace

CNumericLineEdit::CNumericLineEdit(QWidget* pParent) : CNumericLineEdit(NumberBoxFilter, pParent) {}

CNumericLineEdit::CNumericLineEdit(TextFilter filter, QWidget* pParent)
    : CLeaveLineEdit(pParent), m_filter(std::move(filter)) {
    connect(this, &QLineEdit::textEdited, this, &CNumericLineEdit::OnEdited);
}

void CNumericLineEdit::OnEdited(const QString& strText) {
    if (!m_filter) return;
    QString text = strText;
    int nStart = hasSelectedText() ? selectionStart() : cursorPosition();
    int nEnd = cursorPosition();
    if (!m_filter(text, nStart, nEnd)) return;
    const QSignalBlocker blocker(this);
    setText(text);
    if (nStart != nEnd)
        setSelection(nStart, nEnd - nStart);
    else
        setCursorPosition(nEnd);
}

} // namespace torvex
