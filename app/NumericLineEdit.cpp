#include "app/NumericLineEdit.h"

#include <QSignalBlocker>

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

bool KeepDigitsAndOnePoint(QString& rstrText, int& rnSelStart, int& rnSelEnd) {
    QString kept;
    bool bPoint = false;
    int nStart = rnSelStart;
    int nEnd = rnSelEnd;
    for (int i = 0; i < rstrText.size(); ++i) {
        const QChar c = rstrText.at(i);
        const bool bDigit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const bool bKeep = bDigit || (c == QLatin1Char('.') && !bPoint);
        if (bKeep) {
            bPoint = bPoint || c == QLatin1Char('.');
            kept += c;
        } else {
            // Positions after a dropped character move one place left.
            if (i < rnSelStart) --nStart;
            if (i < rnSelEnd) --nEnd;
        }
    }
    if (kept == rstrText) return false;
    rstrText = kept;
    rnSelStart = nStart;
    rnSelEnd = nEnd;
    return true;
}
