#pragma once

#include "model/OperatorDialog.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

namespace torvex {

// The operator of the tests: answers from a script and records every text
// shown or asked, in order, so a test can compare them exactly.
class CScriptedDialog : public COperatorDialog {
public:
    struct Entry {
        QString kind; // "message", "okcancel", "yesno", "yesnocancel", "open", "save"
        QString text;
    };

    // Answers are taken in order; when none is queued, questions get OK / Yes
    // and file prompts get an empty name (cancel).
    void QueueAnswer(Answer a) { m_answers.push_back(a); }
    void QueueFile(const QString& path) { m_files.push_back(path); }

    void Message(const QString& strText) override;
    bool AskOkCancel(const QString& strText) override;
    bool AskYesNo(const QString& strText) override;
    Answer AskYesNoCancel(const QString& strText) override;
    QString OpenFileName(const QString& strTitle, const QStringList& filters) override;
    QString SaveFileName(const QString& strTitle, const QString& strProposed, const QStringList& filters,
                         const QString& strDefaultSuffix) override;

    // Texts of every kind, in the order they came.
    QStringList Texts() const;
    // Only the texts of message boxes.
    QStringList Messages() const;
    void Clear() { m_log.clear(); }

    std::deque<Entry> m_log;
    // Called as each message box would show: what the screens show behind it.
    std::function<void(const QString&)> m_fnOnMessage;

private:
    Answer Next(Answer fallback);
    std::deque<Answer> m_answers;
    std::deque<QString> m_files;
};

} // namespace torvex
