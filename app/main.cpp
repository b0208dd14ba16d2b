// The desktop program. Until the main window exists it runs the start-up
// dialogs in their order and then shows the SETTINGS page as its window.
#include "app/Fonts.h"
#include "app/MessageBoxDialog.h"
#include "app/Pictures.h"
#include "app/SplashDlg.h"
#include "app/TypeSelectDlg.h"
#include "config/CalibrationSetting.h"
#include "config/ContactDefaults.h"
#include "config/NoticeCalibrationDlg.h"
#include "config/SettingsDlg.h"
#include "config/TestProperty.h"
#include "config/TorvexCntlLink.h"
#include "instrument/TorvexCntl.h"
#include "run/RunEngine.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TORVEX_Pilot"));
    QApplication::setOrganizationName(QStringLiteral("Kelvora"));
    QApplication::setApplicationVersion(QStringLiteral(TORVEX_VERSION));
    QApplication::setWindowIcon(ProgramIcon());
    InstallFontSubstitutions();

    CTorvexCntl cntl; // searches the ports
    WriteContactDefaults();
    CCalibrationSetting calib;
    calib.Load();
    const QDateTime now = QDateTime::currentDateTime();
    if (calib.IsNoticeDue(now)) CNoticeCalibrationDlg(calib, now).exec();

    g_bNotConnected = 0;
    int32_t nMachineType = 0;
    int32_t nHWVersion = cntl.m_nHWVersion;
    while (!cntl.IsOpen()) {
        CTypeSelectDlg dialog(g_bNotConnected);
        const int nResult = dialog.exec();
        if (nResult == CTypeSelectDlg::RESULT_DEMO) {
            nMachineType = dialog.SelectedModelType();
            break;
        }
        if (nResult != CTypeSelectDlg::RESULT_RETRY) return 0;
        cntl.Connect();
    }
    if (cntl.IsOpen() && !cntl.GetModelType(nMachineType)) nMachineType = 0;

    CTorvexCntlLink link(cntl);
    CTestProperty property;
    property.LoadFromProfile();
    CMessageBoxDialog operatorDialog;
    int32_t bStopEveryStep = 1;
    SETTINGS_PAGE_CONTEXT context;
    context.m_pLink = &link;
    context.m_pCalib = &calib;
    context.m_pTestProperty = &property;
    context.m_pDialog = &operatorDialog;
    context.m_nMachineType = nMachineType;
    context.m_pnHWVersion = &nHWVersion;
    context.m_pbNotConnected = &g_bNotConnected;
    context.m_pbStopEveryStep = &bStopEveryStep;
    CSettingsDlg window(context);
    operatorDialog.SetParent(&window);
    window.setWindowTitle(QStringLiteral("SETTINGS - TORVEX_Pilot") +
                          (g_bNotConnected ? QStringLiteral(" 未接続") : QString()));
    window.resize(1366, 700);

    auto* pSplash = new CSplashDlg;
    QObject::connect(pSplash, &CSplashDlg::closed, &window, qOverload<>(&QWidget::update));
    pSplash->ShowSplash();
    window.show();
    return app.exec();
}
