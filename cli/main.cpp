#include "cli/Commands.h"
#include "config/Language.h"

#include "cmdline/CommandLine.h"
#include "model/ExecData.h"

#include <QCoreApplication>
#include <cstdio>

using namespace torvex;

namespace {

const char* kUsage = "Usage: torvex COMMAND [ARGS...]\n"
                     "\n"
                     "Headless companion of TORVEX_Pilot: works on the same data and sequence\n"
                     "files, runs tests on a TORVEX (or the built-in simulator) and writes reports.\n"
                     "\n"
                     "Commands:\n";

int PrintHelp() {
    QString text = QString::fromUtf8(kUsage);
    for (int i = 0; i < CliCommandCount(); ++i)
        text += QString("  %1%2\n")
                    .arg(QString::fromUtf8(CliCommands()[i].name), -10)
                    .arg(QString::fromUtf8(CliCommands()[i].summary));
    text += "\nOptions:\n  --help     this text (or `torvex COMMAND --help`)\n"
            "  --version  the program's version\n"
            "  --lang ja|en  the language of texts meant for people (default: the SETTINGS\n"
            "             tab's choice, else the system's language)\n";
    Out(text);
    return EXIT_OK;
}

} // namespace

namespace torvex {

void Out(const QString& text) {
    QByteArray b = text.toUtf8();
    fwrite(b.constData(), 1, size_t(b.size()), stdout);
    fflush(stdout);
}

void Err(const QString& text) {
    QByteArray b = text.toUtf8();
    fwrite(b.constData(), 1, size_t(b.size()), stderr);
    fflush(stderr);
}

int UsageError(const QString& command, const QString& message) {
    Err(QString("torvex %1: %2 (see `torvex %1 --help`)\n").arg(command, message));
    return EXIT_USAGE;
}

int ParseCommand(const QString& command, QCommandLineParser& parser, const QStringList& args,
                 const char* pszUsage) {
    QString error;
    switch (ParseCommandLine(parser, args, error)) {
    case ParseOutcome::Help:
        Out(QString::fromUtf8(pszUsage));
        return EXIT_OK;
    case ParseOutcome::Version:
        Out(VersionLine("torvex"));
        return EXIT_OK;
    case ParseOutcome::Usage:
        return UsageError(command, error);
    case ParseOutcome::Go:
        break;
    }
    return kGoOn;
}

bool ModelFromName(const QString& strName, uint32_t& ulModel) {
    if (strName.compare("K2", Qt::CaseInsensitive) == 0)
        ulModel = MODEL_K2;
    else if (strName.compare("K1", Qt::CaseInsensitive) == 0)
        ulModel = MODEL_K1;
    else
        return false;
    return true;
}

} // namespace torvex

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("torvex");
    QCoreApplication::setApplicationVersion(TORVEX_VERSION);

    QStringList args = app.arguments().mid(1);
    QString lang, error;
    if (!TakeLanguageOption(args, lang, error)) {
        Err(QString("torvex: %1 (see `torvex --help`)\n").arg(error));
        return EXIT_USAGE;
    }
    InstallLanguage(lang);
    if (args.isEmpty()) {
        PrintHelp();
        return EXIT_USAGE;
    }
    const QString first = args.takeFirst();
    if (first == "--help" || first == "-h" || first == "help") return PrintHelp();
    if (first == "--version") {
        Out(VersionLine("torvex"));
        return EXIT_OK;
    }
    // Each command reads the rest with its own parser (--help and --version included).
    for (int i = 0; i < CliCommandCount(); ++i)
        if (first == QString::fromUtf8(CliCommands()[i].name)) return CliCommands()[i].run(args);
    Err(QString("torvex: unknown command '%1' (see `torvex --help`)\n").arg(first));
    return EXIT_USAGE;
}
