// The three programs read their command lines alike: --help and --version
// everywhere and without a display, usage errors as one line on standard
// error with exit 2, options as "--name value" or "--name=value" anywhere.
#include "sim/SimOptions.h"
#include "support/TorvexProcess.h"

#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace torvex {

namespace {

const QString kExamples = QStringLiteral(TORVEX_TEST_DATA_DIR "/../examples/");

// Runs a program of the build with no display at all.
TORVEX_RUN RunWithoutDisplay(const QString& strProgram, const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    return RunProgram(QStringLiteral(TORVEX_BINARY_DIR "/") + strProgram, args, env, 20000);
}

} // namespace

TEST(CommandLine, EveryProgramAnswersHelpAndVersionAndRefusesWrongUsageAlike) {
    struct Case {
        const char* program;
        QStringList args;
        int exitCode;
        const char* out; // what standard output starts with (exit 0) or the error holds (exit 2)
    } cases[] = {
        {"torvex_pilot", {"--help"}, 0, "Usage: torvex_pilot"},
        {"torvex_pilot", {"-h"}, 0, "Usage: torvex_pilot"},
        {"torvex_pilot", {"--version"}, 0, "torvex_pilot " TORVEX_VERSION "\n"},
        {"torvex_pilot", {"--bogus"}, 2, "torvex_pilot: "},
        {"torvex_pilot", {"a.tvx", "b.tvx"}, 2, "only one file"},
        {"torvex_pilot", {"--port"}, 2, "torvex_pilot: "},
        {"torvex_pilot", {"--time-scale", "5"}, 2, "needs --simulate"},
        {"torvex_pilot", {"--simulate", "--baud", "fast"}, 2, "--baud"},
        {"torvex", {"--version"}, 0, "torvex " TORVEX_VERSION "\n"},
        {"torvex", {"run", "--version"}, 0, "torvex " TORVEX_VERSION "\n"},
        {"torvex", {"history", "--help"}, 0, "Usage: torvex history"},
        {"torvex", {"steps", "x.tvx", "--format"}, 2, "torvex steps: "},
        {"torvex", {"ports", "--bogus"}, 2, "torvex ports: "},
        {"torvex", {"report", "--run", "1", "--out", "o.xlsx", "--tab", "manual"}, 2, "--run takes only --out"},
        {"torvex", {"run", "x.tvx", "--port", "/dev/null", "--baud", "0"}, 2, "needs --simulate"},
        {"torvex", {"bogus"}, 2, "unknown command"},
        {"torvex-sim", {"--version"}, 0, "torvex-sim " TORVEX_VERSION "\n"},
        {"torvex-sim", {"--help"}, 0, "Usage: torvex-sim"},
        {"torvex-sim", {"extra"}, 2, "unexpected argument 'extra'"},
        {"torvex-sim", {"--time-scale=0"}, 2, "--time-scale"},
    };
    for (const Case& c : cases) {
        const QString program = QString::fromLatin1(c.program);
        SCOPED_TRACE((program + ' ' + c.args.join(' ')).toStdString());
        if (!QFileInfo::exists(QStringLiteral(TORVEX_BINARY_DIR "/") + program)) continue; // a build without the desktop program
        const TORVEX_RUN r = RunWithoutDisplay(program, c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        if (c.exitCode == 0) {
            EXPECT_TRUE(r.out.startsWith(QString::fromUtf8(c.out))) << r.out.toStdString();
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        } else {
            EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.out))) << r.err.toStdString();
        }
    }
}

TEST(CommandLine, OptionsTakeTheirValueEitherWayAndStandAnywhere) {
    const TORVEX_RUN spaced = RunWithoutDisplay("torvex", {"steps", "--format", "json", kExamples + "three_steps.tvx", "--model", "K2"});
    const TORVEX_RUN joined = RunWithoutDisplay("torvex", {"steps", kExamples + "three_steps.tvx", "--model=K2", "--format=json"});
    ASSERT_EQ(spaced.exitCode, 0) << spaced.err.toStdString();
    EXPECT_EQ(joined.exitCode, 0) << joined.err.toStdString();
    EXPECT_EQ(spaced.out, joined.out);
    EXPECT_TRUE(spaced.out.startsWith("{\"entry\":1,"));
}

// Every option the simulator's help lists is one the programs that start a
// simulator accept (an option added to the help but not to the parser would
// be refused as unknown).
TEST(CommandLine, EverySimulatorOptionOfTheHelpIsAccepted) {
    const TORVEX_RUN help = RunWithoutDisplay("torvex-sim", {"--help"});
    ASSERT_EQ(help.exitCode, 0);
    static const QRegularExpression option(QStringLiteral("^  (--[a-z-]+)"), QRegularExpression::MultilineOption);
    QStringList names;
    for (auto it = option.globalMatch(help.out); it.hasNext();)
        names << it.next().captured(1);
    ASSERT_GT(names.size(), 20);
    const QStringList known = [] {
        QStringList out;
        for (const QCommandLineOption& o : SimCommandLineOptions())
            out << "--" + o.names().constLast();
        return out << "--help" << "--version" << "--lang"; // the last taken by each program first
    }();
    for (const QString& name : names)
        EXPECT_TRUE(known.contains(name)) << name.toStdString();
}

} // namespace torvex
