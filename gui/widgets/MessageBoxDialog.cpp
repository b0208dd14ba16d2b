#include "gui/widgets/MessageBoxDialog.h"

#include "config/DocumentFolders.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace torvex {

namespace {

const QString& BoxTitle() {
    static const QString title = QStringLiteral("TORVEX_Pilot");
    return title;
}

QMessageBox::StandardButton Ask(QWidget* pParent, QMessageBox::Icon eIcon, const QString& strText,
                                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton eDefault) {
    QMessageBox box(eIcon, BoxTitle(), strText, buttons, pParent);
    box.setDefaultButton(eDefault);
    return QMessageBox::StandardButton(box.exec());
}

} // namespace

void CMessageBoxDialog::Message(const QString& strText) {
    Ask(m_pParent, QMessageBox::Information, strText, QMessageBox::Ok, QMessageBox::Ok);
}

bool CMessageBoxDialog::AskOkCancel(const QString& strText) {
    return Ask(m_pParent, QMessageBox::Question, strText, QMessageBox::Ok | QMessageBox::Cancel,
               QMessageBox::Ok) == QMessageBox::Ok;
}

bool CMessageBoxDialog::AskYesNo(const QString& strText) {
    return Ask(m_pParent, QMessageBox::Question, strText, QMessageBox::Yes | QMessageBox::No,
               QMessageBox::Yes) == QMessageBox::Yes;
}

COperatorDialog::Answer CMessageBoxDialog::AskYesNoCancel(const QString& strText) {
    switch (Ask(m_pParent, QMessageBox::Question, strText,
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return Yes;
    case QMessageBox::No:
        return No;
    default: // Esc and the close box cancel
        return Cancel;
    }
}

QString CMessageBoxDialog::OpenFileName(const QString& strTitle, const QStringList& filters) {
    QFileDialog dialog(m_pParent, strTitle, FileDialogFolder(m_strLastFolder));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    return Chosen(dialog);
}

QString CMessageBoxDialog::SaveFileName(const QString& strTitle, const QString& strProposed,
                                        const QStringList& filters, const QString& strDefaultSuffix) {
    QFileDialog dialog(m_pParent, strTitle);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(strDefaultSuffix);
    // A proposed bare name goes into the folder the dialog opens in; a
    // proposed path (the file the document came from) keeps its folder.
    dialog.setDirectory(FileDialogFolder(m_strLastFolder));
    if (!strProposed.isEmpty()) dialog.selectFile(strProposed);
    return Chosen(dialog);
}

QString CMessageBoxDialog::Chosen(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    const QString path = dialog.selectedFiles().constFirst();
    m_strLastFolder = QFileInfo(path).absolutePath();
    return path;
}

} // namespace torvex
