#pragma once

#include <QString>

namespace torvex {

class CTorvexDoc;
class COperatorDialog;

// The tab names stored in the settings file and shown in titles.
QString TabName(int nTab);
// The tab of a stored name; any other text selects SETTINGS.
int TabFromName(const QString& strName);
// The main window's title for a tab.
QString TabWindowTitle(int nTab, const CTorvexDoc& doc);
// Whether the tab shows a document with changes a save-changes prompt would
// ask about: the MANUAL document, the sequence list; never STANDARD or SETTINGS.
bool UnsavedChanges(int nTab, const CTorvexDoc& doc);

// The operator closes the main window. Ignored while a test runs; otherwise
// the tab shown is stored (even if the close is then cancelled), entered
// judgments are warned about, and the sequence and document are offered for
// saving. True when the window may close.
bool ConfirmClose(CTorvexDoc& doc, int nTab, bool bTestRunning, bool bJudgmentEntered,
                  COperatorDialog& dialog);

} // namespace torvex
