#include "config/Reconnect.h"

#include "config/ModelChoice.h"

#include <QCoreApplication>

namespace torvex {

RECONNECT_OUTCOME Reconnect(CInstrumentLink& rLink, int32_t nMachineType, COperatorDialog& rDialog) {
    if (rLink.IsOpen()) rLink.ClosePort();
    if (!rLink.Connect()) return RECONNECT_NOT_FOUND;
    int32_t nType = 0;
    if (!rLink.GetModelType(nType)) return RECONNECT_QUERY_FAILED;
    if (nType != nMachineType) {
        // Conditions and limits were set up for the start-up model.
        rLink.ClosePort();
        rDialog.Message(QCoreApplication::translate("Reconnect",
                                                    "アプリケーション起動時と機器モデルが異なります。\n"
                                                    "接続する場合はアプリケーションを再起動してください。"));
        return RECONNECT_OTHER_MODEL;
    }
    StoreMachineType(nType);
    return RECONNECT_CONNECTED;
}

QString TitleAfterReconnect(const QString& strTitle) {
    static const QString mark = QCoreApplication::translate("Reconnect", " 未接続");
    if (strTitle.endsWith(mark)) return strTitle.left(strTitle.size() - mark.size());
    return strTitle;
}

} // namespace torvex
