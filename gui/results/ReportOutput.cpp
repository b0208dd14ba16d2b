#include "gui/results/ReportOutput.h"

#include "model/OperatorDialog.h"
#include "results/ReportWriter.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

namespace torvex {

void SaveAndOpenReport(const CReportData& data, COperatorDialog& dialog) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const REPORT_RESULT result = SaveReport(data);
    QApplication::restoreOverrideCursor();
    const bool bOpened =
        result.m_bWritten && QDesktopServices::openUrl(QUrl::fromLocalFile(result.m_strPath));
    const QString message = ReportOutcomeMessage(result, bOpened);
    if (!message.isEmpty()) dialog.Message(message);
}

} // namespace torvex
