#pragma once

#include "model/OperatorDialog.h"

class QFileDialog;
class QWidget;

namespace torvex {

// The desktop program's answer to the operator dialogue: message boxes and
// file dialogs over the given window.
class CMessageBoxDialog : public COperatorDialog {
public:
    explicit CMessageBoxDialog(QWidget* pParent = nullptr) : m_pParent(pParent) {}

    void SetParent(QWidget* pParent) { m_pParent = pParent; }
    // The folder of the last file chosen; the next file dialog opens there.
    const QString& LastFolder() const { return m_strLastFolder; }

    void Message(const QString& strText) override;
    bool AskOkCancel(const QString& strText) override;
    bool AskYesNo(const QString& strText) override;
    Answer AskYesNoCancel(const QString& strText) override;
    QString OpenFileName(const QString& strTitle, const QStringList& filters) override;
    QString SaveFileName(const QString& strTitle, const QString& strProposed, const QStringList& filters,
                         const QString& strDefaultSuffix) override;

private:
    QString Chosen(QFileDialog& dialog);

    QWidget* m_pParent;
    QString m_strLastFolder;
};

} // namespace torvex
