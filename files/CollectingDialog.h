#pragma once

#include "model/OperatorDialog.h"

namespace torvex {

// An operator that is not there (command line, batch use): keeps every message
// shown, answers every question with No / Cancel and names no file, so nothing
// is overwritten or discarded on its behalf.
class CCollectingDialog : public COperatorDialog {
public:
    void Message(const QString& strText) override { m_listMessages.append(strText); }
    bool AskOkCancel(const QString&) override { return false; }
    bool AskYesNo(const QString&) override { return false; }
    Answer AskYesNoCancel(const QString&) override { return Cancel; }
    QString OpenFileName(const QString&, const QStringList&) override { return QString(); }
    QString SaveFileName(const QString&, const QString&, const QStringList&, const QString&) override {
        return QString();
    }

    QStringList m_listMessages;
};

} // namespace torvex
