#pragma once

#include "model/OperatorDialog.h"

#include <QStringList>
#include <functional>

namespace torvex {

// The operator dialogue of the command line: messages go to a stream, and
// questions are answered by an option or at the terminal.
class CConsoleDialog : public COperatorDialog {
public:
    // bYes: answer every question with OK / Yes without asking. bToStderr:
    // messages go to stderr (the commands whose stdout is data).
    CConsoleDialog(bool bYes, bool bToStderr) : m_bYes(bYes), m_bToStderr(bToStderr) {}

    void Message(const QString& strText) override;
    bool AskOkCancel(const QString& strText) override;
    bool AskYesNo(const QString& strText) override;
    Answer AskYesNoCancel(const QString& strText) override;
    QString OpenFileName(const QString& strTitle, const QStringList& filters) override;
    QString SaveFileName(const QString& strTitle, const QString& strProposed, const QStringList& filters,
                         const QString& strDefaultSuffix) override;

    // Called before and after every line this dialogue prints (a progress
    // line on the terminal makes room for it).
    void SetAround(std::function<void()> fnBefore, std::function<void()> fnAfter) {
        m_fnBefore = std::move(fnBefore);
        m_fnAfter = std::move(fnAfter);
    }

    // Every message shown so far.
    QStringList m_messages;

private:
    bool Ask(const QString& strText, const QString& strChoices);
    void Print(const QString& strLine);
    bool m_bYes;
    bool m_bToStderr;
    std::function<void()> m_fnBefore, m_fnAfter;
};

} // namespace torvex
