// The desktop program.
#include "gui/widgets/Pictures.h"
#include "gui/app/TorvexApp.h"
#include "config/Language.h"

#include <QApplication>
#include <cstdio>

using namespace torvex;

int main(int argc, char** argv) {
    // The command line is read before anything needs a display: --help,
    // --version and usage errors work on a console without one.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QString lang, error;
    if (!TakeLanguageOption(args, lang, error)) {
        std::fprintf(stderr, "torvex_pilot: %s (see --help)\n", error.toUtf8().constData());
        return 2;
    }
    APP_OPTIONS options;
    switch (ParseAppOptions(args, options, error)) {
    case ParseOutcome::Help:
        std::fputs(AppUsage().toUtf8().constData(), stdout);
        return 0;
    case ParseOutcome::Version:
        std::fputs(VersionLine(QStringLiteral("torvex_pilot")).toUtf8().constData(), stdout);
        return 0;
    case ParseOutcome::Usage:
        std::fprintf(stderr, "torvex_pilot: %s (see --help)\n", error.toUtf8().constData());
        return 2;
    case ParseOutcome::Go:
        break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TORVEX_Pilot"));
    QApplication::setOrganizationName(QStringLiteral("Kelvora"));
    QApplication::setApplicationVersion(QStringLiteral(TORVEX_VERSION));
    QApplication::setWindowIcon(ProgramIcon());
    InstallLanguage(lang);

    CTorvexApp torvex(options);
    if (!torvex.InitInstance()) return torvex.ExitCode();
    if (torvex.IsEnding()) return 0; // a stop signal came during start-up
    return app.exec();
}
