#include "cli/ConsoleDialog.h"

#include "cli/Commands.h"

#include <QTextStream>
#include <cstdio>

namespace torvex {

namespace {
// Messages keep their line breaks as " / " so each stays one line of output.
QString OneLine(const QString& s) {
    return QString(s).replace('\n', " / ");
}
} // namespace

void CConsoleDialog::Print(const QString& strLine) {
    if (m_fnBefore) m_fnBefore();
    if (m_bToStderr)
        Err(strLine + "\n");
    else
        Out(strLine + "\n");
    if (m_fnAfter) m_fnAfter();
}

void CConsoleDialog::Message(const QString& strText) {
    m_messages << strText;
    Print("message: " + OneLine(strText));
}

bool CConsoleDialog::Ask(const QString& strText, const QString& strChoices) {
    if (m_bYes) {
        Print("question: " + OneLine(strText) + " -> OK");
        return true;
    }
    if (m_fnBefore) m_fnBefore();
    Err("question: " + OneLine(strText) + " " + strChoices + " ");
    QTextStream in(stdin);
    const QString answer = in.readLine().trimmed().toLower();
    if (m_fnAfter) m_fnAfter();
    return answer == "y" || answer == "yes" || answer == "ok";
}

bool CConsoleDialog::AskOkCancel(const QString& strText) {
    return Ask(strText, "[ok/cancel]");
}

bool CConsoleDialog::AskYesNo(const QString& strText) {
    return Ask(strText, "[yes/no]");
}

COperatorDialog::Answer CConsoleDialog::AskYesNoCancel(const QString& strText) {
    return Ask(strText, "[yes/no]") ? Yes : No;
}

QString CConsoleDialog::OpenFileName(const QString&, const QStringList&) {
    return {};
}

QString CConsoleDialog::SaveFileName(const QString&, const QString&, const QStringList&, const QString&) {
    return {};
}

} // namespace torvex
