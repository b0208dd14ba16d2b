#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace torvex {

// What reading a command line came to.
enum class ParseOutcome {
    Go,      // the options are in the parser
    Help,    // --help or -h: print the usage text, exit 0
    Version, // --version: print the version, exit 0
    Usage,   // wrong usage: a one-line reason, exit 2
};

// Reads args (the words after the program's or command's name) with a parser
// that knows the options and positional words; --help, -h and --version are
// added here. Options may stand anywhere, as "--name value" or "--name=value".
// Needs no application object, so --help and --version work without a display.
ParseOutcome ParseCommandLine(QCommandLineParser& parser, const QStringList& args, QString& strError);

// "NAME VERSION\n", what --version prints.
QString VersionLine(const QString& strProgram);

// Every option given, in the order given, as "--name" followed by its value
// for options that take one (repeated options appear as often as given).
QStringList GivenOptions(const QCommandLineParser& parser, const QList<QCommandLineOption>& options);

} // namespace torvex
