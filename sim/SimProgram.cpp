#include "sim/SimProgram.h"

#include "sim/TorvexSimulator.h"

#include "cmdline/CommandLine.h"

#include <QFile>
#include <csignal>
#include <cstdio>
#include <ctime>

namespace torvex {

namespace {

void Print(FILE* pFile, const QString& strText) {
    const QByteArray b = strText.toUtf8();
    fwrite(b.constData(), 1, size_t(b.size()), pFile);
    fflush(pFile);
}

} // namespace

bool AppendCommandLog(QFile& file, const CTorvexSimulator& sim, qsizetype& nWritten) {
    if (!file.isOpen()) return true;
    for (const QString& strCommand : sim.CommandLog(nWritten)) {
        if (file.write(strCommand.toLatin1() + '\n') < 0) return false;
        ++nWritten;
    }
    return file.flush();
}

int RunSimProgram(const QStringList& args, const QString& strProgram) {
    QCommandLineParser parser;
    const QList<QCommandLineOption> options = SimCommandLineOptions();
    parser.addOptions(options);
    SimOptions opt;
    QString strError;
    switch (ParseCommandLine(parser, args, strError)) {
    case ParseOutcome::Help:
        Print(stdout,
              QStringLiteral("Usage: %1 [OPTIONS]\n\n"
                             "Simulates a TORVEX on a new pseudo-terminal. The first line printed is\n"
                             "the device to open; it serves until it is interrupted (Ctrl+C, SIGTERM).\n\n"
                             "Options:\n")
                      .arg(strProgram) +
                  SimOptionsHelp() +
                  QStringLiteral("  --version                the program's version\n"
                                 "  --lang ja|en             the language of its messages\n\n"
                                 "Exit: 0 interrupted; 1 no pseudo-terminal or the log file cannot be\n"
                                 "written; 2 wrong usage.\n"));
        return 0;
    case ParseOutcome::Version:
        Print(stdout, VersionLine(strProgram.section(u' ', 0, 0)));
        return 0;
    case ParseOutcome::Usage:
        break;
    case ParseOutcome::Go:
        if (!parser.positionalArguments().isEmpty())
            strError = QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first());
        else
            ReadSimOptions(parser, options, opt, strError);
        break;
    }
    if (!strError.isEmpty()) {
        Print(stderr, QStringLiteral("%1: %2 (see `%1 --help`)\n").arg(strProgram, strError));
        return 2;
    }
    QFile logFile(opt.strLogFile);
    if (!opt.strLogFile.isEmpty() && !logFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        Print(stderr, QStringLiteral("%1: cannot write the log file %2\n").arg(strProgram, opt.strLogFile));
        return 1;
    }

    // Signals are taken synchronously below; block them before the serving thread
    // starts so that it inherits the mask.
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);

    CTorvexSimulator sim(opt);
    if (!sim.Start()) {
        Print(stderr, QStringLiteral("%1: cannot create a pseudo-terminal\n").arg(strProgram));
        return 1;
    }
    Print(stdout, sim.DevicePath() + '\n');

    qsizetype nWritten = 0;
    bool bHangupTold = false;
    int nExit = 0;
    const timespec tick{0, 200 * 1000 * 1000};
    for (;;) {
        const int nSignal = sigtimedwait(&set, nullptr, &tick);
        if (!AppendCommandLog(logFile, sim, nWritten)) {
            Print(stderr,
                  QStringLiteral("%1: cannot write the log file %2\n").arg(strProgram, opt.strLogFile));
            nExit = 1;
            break;
        }
        if (!bHangupTold && sim.IsHungUp()) {
            Print(
                stderr,
                QStringLiteral("%1: the line was dropped as asked; serving nothing more\n").arg(strProgram));
            bHangupTold = true;
        }
        if (nSignal > 0) break;
    }
    sim.Stop();
    AppendCommandLog(logFile, sim, nWritten);
    return nExit;
}

} // namespace torvex
