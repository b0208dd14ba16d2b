#include "cli/Commands.h"

#include <vector>

// Entry points, each in its own file. Add a command here and in kCommands.

int RunSimCommand(const QStringList& args);

namespace {
const std::vector<CliCommand> kCommands = {
    {"sim", "simulate a TORVEX on a new pseudo-terminal", RunSimCommand},
};
} // namespace

const CliCommand* CliCommands() { return kCommands.data(); }
int CliCommandCount() { return int(kCommands.size()); }
