#pragma once

#include <QString>
#include <QStringList>

namespace torvex {

// How logic speaks to the operator. The desktop program answers with message
// boxes and file dialogs, the tests from a script, the command line from its
// options or the terminal.
class COperatorDialog {
public:
    enum Answer { Ok, Cancel, Yes, No };

    virtual ~COperatorDialog() = default;

    // A message with an OK button.
    virtual void Message(const QString& strText) = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool AskOkCancel(const QString& strText) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool AskYesNo(const QString& strText) = 0;
    // A question with Yes, No and Cancel.
    virtual Answer AskYesNoCancel(const QString& strText) = 0;
    // An existing file to open; empty when cancelled. Filters are in Qt's form
    // ("TORVEX Files (*.tvx)").
    virtual QString OpenFileName(const QString& strTitle, const QStringList& filters) = 0;
    // A file to save to; empty when cancelled. A name without extension gets
    // strDefaultSuffix; replacing an existing file has been confirmed.
    virtual QString SaveFileName(const QString& strTitle, const QString& strProposed,
                                 const QStringList& filters, const QString& strDefaultSuffix) = 0;
};

} // namespace torvex
