// The desktop program.
#include "config/Language.h"
#include "gui/app/TorvexApp.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/Pictures.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TORVEX_Pilot"));
    QApplication::setOrganizationName(QStringLiteral("Kelvora"));
    QApplication::setApplicationVersion(QStringLiteral(TORVEX_VERSION));
    QApplication::setWindowIcon(ProgramIcon());
    InstallFontSubstitutions();

    QStringList args = app.arguments().mid(1);
    QString lang, error;
    if (!TakeLanguageOption(args, lang, error)) {
        std::fprintf(stderr, "torvex_pilot: %s (see --help)\n", error.toUtf8().constData());
        return 2;
    }
    InstallLanguage(lang);
    if (args.contains("--help") || args.contains("-h")) {
        std::fputs(AppUsage().toUtf8().constData(), stdout);
        return 0;
    }
    if (args.contains("--version")) {
        std::printf("torvex_pilot %s\n", TORVEX_VERSION);
        return 0;
    }
    APP_OPTIONS options;
    if (!ParseAppOptions(args, options, error)) {
        std::fprintf(stderr, "torvex_pilot: %s (see --help)\n", error.toUtf8().constData());
        return 2;
    }

    CTorvexApp torvex(options);
    if (!torvex.InitInstance()) return 0;
    return app.exec();
}
