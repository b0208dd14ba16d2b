#include "ScriptedDialog.h"

namespace torvex {

COperatorDialog::Answer CScriptedDialog::Next(Answer fallback) {
    if (m_answers.empty()) return fallback;
    Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

void CScriptedDialog::Message(const QString& strText) {
    m_log.push_back({"message", strText});
    if (m_fnOnMessage) m_fnOnMessage(strText);
}

bool CScriptedDialog::AskOkCancel(const QString& strText) {
    m_log.push_back({"okcancel", strText});
    return Next(Ok) == Ok;
}

bool CScriptedDialog::AskYesNo(const QString& strText) {
    m_log.push_back({"yesno", strText});
    Answer a = Next(Yes);
    return a == Yes || a == Ok;
}

COperatorDialog::Answer CScriptedDialog::AskYesNoCancel(const QString& strText) {
    m_log.push_back({"yesnocancel", strText});
    return Next(Yes);
}

QString CScriptedDialog::OpenFileName(const QString& strTitle, const QStringList&) {
    m_log.push_back({"open", strTitle});
    if (m_files.empty()) return {};
    QString s = m_files.front();
    m_files.pop_front();
    return s;
}

QString CScriptedDialog::SaveFileName(const QString& strTitle, const QString&, const QStringList&,
                                      const QString&) {
    m_log.push_back({"save", strTitle});
    if (m_files.empty()) return {};
    QString s = m_files.front();
    m_files.pop_front();
    return s;
}

QStringList CScriptedDialog::Texts() const {
    QStringList out;
    for (const auto& e : m_log)
        out << e.text;
    return out;
}

QStringList CScriptedDialog::Messages() const {
    QStringList out;
    for (const auto& e : m_log)
        if (e.kind == "message") out << e.text;
    return out;
}

} // namespace torvex
