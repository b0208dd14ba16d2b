#include "cmdline/CommandLine.h"

#include <QHash>

namespace torvex {

ParseOutcome ParseCommandLine(QCommandLineParser& parser, const QStringList& args, QString& strError) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOption(help);
    parser.addOption(version);
    if (!parser.parse(QStringList{QStringLiteral("program")} + args)) {
        // Help wins over a mistake elsewhere on the line.
        if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h")))
            return ParseOutcome::Help;
        strError = parser.errorText();
        if (strError.endsWith(u'.')) strError.chop(1); // one clause of our own line
        return ParseOutcome::Usage;
    }
    if (parser.isSet(help)) return ParseOutcome::Help;
    if (parser.isSet(version)) return ParseOutcome::Version;
    return ParseOutcome::Go;
}

QString VersionLine(const QString& strProgram) {
    return QStringLiteral("%1 %2\n").arg(strProgram, QStringLiteral(TORVEX_VERSION));
}

QStringList GivenOptions(const QCommandLineParser& parser, const QList<QCommandLineOption>& options) {
    QHash<QString, const QCommandLineOption*> byName;
    for (const QCommandLineOption& option : options)
        for (const QString& name : option.names())
            byName.insert(name, &option);
    QHash<const QCommandLineOption*, int> used;
    QStringList out;
    for (const QString& name : parser.optionNames()) {
        const QCommandLineOption* pOption = byName.value(name);
        if (!pOption) continue;
        out << QStringLiteral("--") + pOption->names().constLast();
        if (pOption->valueName().isEmpty()) continue;
        const QStringList values = parser.values(*pOption);
        const int n = used[pOption]++;
        if (n < values.size()) out << values[n];
    }
    return out;
}

} // namespace torvex
