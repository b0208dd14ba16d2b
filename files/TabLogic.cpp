#include "files/TabLogic.h"

#include "config/IniKeys.h"
#include "config/Profile.h"
#include "files/TabCode.h"
#include "files/TorvexDoc.h"
#include "model/OperatorDialog.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace torvex {

namespace {
const char* const kNames[] = {"STANDARD", "MANUAL", "SEQUENCE", "SETTINGS"};
const QString kSuffix = QStringLiteral(" - TORVEX_Pilot");
QString Untitled() {
    return QCoreApplication::translate("TorvexDoc", "無題");
}
} // namespace

QString TabName(int nTab) {
    return QString::fromLatin1(kNames[(nTab >= TAB_STANDARD && nTab <= TAB_SETTINGS) ? nTab : TAB_SETTINGS]);
}

int TabFromName(const QString& strName) {
    for (int i = TAB_STANDARD; i <= TAB_SETTINGS; ++i)
        if (strName == QLatin1String(kNames[i])) return i;
    return TAB_SETTINGS;
}

QString TabWindowTitle(int nTab, const CTorvexDoc& doc) {
    switch (nTab) {
    case TAB_MANUAL:
        return (doc.PathName().isEmpty() ? Untitled() : QFileInfo(doc.PathName()).fileName()) + kSuffix;
    case TAB_SEQUENCE: {
        const QString path = doc.m_sequence.m_strSeqPath;
        return (path.isEmpty() ? Untitled() : QFileInfo(path).fileName()) + kSuffix;
    }
    default:
        return TabName(nTab) + kSuffix;
    }
}

bool UnsavedChanges(int nTab, const CTorvexDoc& doc) {
    switch (nTab) {
    case TAB_MANUAL:
        return doc.IsModified();
    case TAB_SEQUENCE: // as the sequence save-changes prompt sees it
        return doc.m_bSequenceModified && doc.m_sequence.Count() > 0;
    default:
        return false;
    }
}

bool ConfirmClose(CTorvexDoc& doc, int nTab, bool bTestRunning, bool bJudgmentEntered,
                  COperatorDialog& dialog) {
    if (bTestRunning) return false;
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, TabName(nTab));
    if (bJudgmentEntered && !dialog.AskOkCancel(QCoreApplication::translate(
                                "TabLogic", "判定やコメントは設定の保存機能では保存されません。\n"
                                            "記録には試験データ出力機能をご利用ください。\n"
                                            "アプリケーションを終了してもよろしいですか？")))
        return false;
    if (!doc.SaveSequenceModified()) return false;
    return doc.SaveModified();
}

} // namespace torvex
