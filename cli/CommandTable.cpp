#include "cli/Commands.h"

#include <vector>

// Entry points, each in its own file. Add a command here and in kCommands.

int RunSteps(const QStringList& args);
int RunResave(const QStringList& args);

namespace {
const std::vector<CliCommand> kCommands = {
    {"steps", "print the steps of a data or sequence file", RunSteps},
    {"resave", "read a data or sequence file and write it as the program saves it", RunResave},
};
} // namespace

const CliCommand* CliCommands() { return kCommands.data(); }
int CliCommandCount() { return int(kCommands.size()); }
