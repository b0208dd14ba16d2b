#pragma once

#include <QLineEdit>

namespace torvex {

// A text field that reports each time the input focus leaves it, changed or
// not: settings typed into it are applied then.
class CLeaveLineEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

signals:
    void left();

protected:
    void focusOutEvent(QFocusEvent* pEvent) override;
};

} // namespace torvex
