#pragma once

#include "gui/widgets/LeaveLineEdit.h"

#include <functional>

namespace torvex {

// A number box: every edit of the operator passes through a filter that keeps
// only what a number may hold; the value is applied when the box is left.
class CNumericLineEdit : public CLeaveLineEdit {
    Q_OBJECT
public:
    // Given the text and the selection (start, end = caret) after an edit;
    // changes them in place and returns true when it changed anything.
    using TextFilter = std::function<bool(QString& rstrText, int& rnSelStart, int& rnSelEnd)>;

    // By default the number boxes' own rule: digits and one decimal point.
    explicit CNumericLineEdit(QWidget* pParent = nullptr);
    CNumericLineEdit(TextFilter filter, QWidget* pParent);

private:
    void OnEdited(const QString& strText);

    TextFilter m_filter;
};

} // namespace torvex
