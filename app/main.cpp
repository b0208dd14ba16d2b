// The desktop program. For now it runs the start-up dialogs in their order; the
// main window joins them when it exists.
#include "app/AboutDlg.h"
#include "app/Fonts.h"
#include "app/Pictures.h"
#include "app/SplashDlg.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TORVEX_Pilot"));
    QApplication::setOrganizationName(QStringLiteral("Kelvora"));
    QApplication::setApplicationVersion(QStringLiteral(TORVEX_VERSION));
    QApplication::setWindowIcon(ProgramIcon());
    InstallFontSubstitutions();

    auto* pSplash = new CSplashDlg;
    QObject::connect(pSplash, &CSplashDlg::closed, [] {
        CAboutDlg about;
        about.exec();
        QApplication::quit();
    });
    pSplash->ShowSplash();
    return app.exec();
}
