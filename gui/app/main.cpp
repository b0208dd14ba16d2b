// The desktop program.
#include "gui/widgets/Pictures.h"
#include "gui/app/TorvexApp.h"
#include "gui/app/WarmUp.h"
#include "config/Language.h"

#include <QApplication>
#include <cstdio>
#include <memory>

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

    // The platform plugin and fontconfig's configuration are loaded on a helper
    // thread while the search starts and the application object is made.
    const CWarmUp warmUp;
    QCoreApplication::setApplicationName(QStringLiteral("TORVEX_Pilot"));
    QCoreApplication::setOrganizationName(QStringLiteral("Kelvora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TORVEX_VERSION));
    // The search for the instrument needs no display: it starts before the
    // application object, whose making then overlaps the line's time.
    auto pTorvex = std::make_unique<CTorvexApp>(options);
    pTorvex->BeginInstance();

    QApplication app(argc, argv);
    QApplication::setWindowIcon(ProgramIcon());
    InstallLanguage(lang);
    const int nCode = [&pTorvex] {
        if (!pTorvex->InitInstance()) return pTorvex->ExitCode();
        if (pTorvex->IsEnding()) return 0; // a stop signal came during start-up
        return QApplication::exec();
    }();
    pTorvex.reset(); // its windows go before the application object
    return nCode;
}
