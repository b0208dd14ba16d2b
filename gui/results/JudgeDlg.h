#pragma once

#include <QDialog>

class QComboBox;
class QPlainTextEdit;

namespace torvex {

// The judgment and comment of one step.
class CJudgeDlg : public QDialog {
    Q_OBJECT
public:
    CJudgeDlg(int32_t nJudge, const QString& strComment, QWidget* pParent = nullptr);

    int32_t Judge() const;
    QString Comment() const;

private:
    QComboBox* m_pJudge;
    QPlainTextEdit* m_pComment;
};

} // namespace torvex
