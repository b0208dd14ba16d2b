#include "cli/Commands.h"

#include <vector>

namespace torvex {

// Entry points, each in its own file. Add a command here and in kCommands.

int RunSteps(const QStringList& args);
int RunResave(const QStringList& args);
int RunSimCommand(const QStringList& args);
int RunTestRun(const QStringList& args);
int RunReport(const QStringList& args);
int RunHistory(const QStringList& args);
int RunPorts(const QStringList& args);

namespace {
const std::vector<CliCommand> kCommands = {
    {"steps", "print the steps of a data or sequence file", RunSteps},
    {"resave", "read a data or sequence file and write it as the program saves it", RunResave},
    {"run", "run a data or sequence file on a TORVEX or the simulator", RunTestRun},
    {"report", "write the test report workbook of a data or sequence file", RunReport},
    {"history", "list the runs of the journal, or one run's steps", RunHistory},
    {"ports", "list the serial ports searched for the TORVEX and whether they can be opened", RunPorts},
    {"sim", "simulate a TORVEX on a new pseudo-terminal", RunSimCommand},
};
} // namespace

const CliCommand* CliCommands() {
    return kCommands.data();
}
int CliCommandCount() {
    return int(kCommands.size());
}

} // namespace torvex
