#include "cli/Commands.h"

#include <vector>

// Entry points, each in its own file. Add a command here and in kCommands.

namespace {
const std::vector<CliCommand> kCommands = {
};
} // namespace

const CliCommand* CliCommands() { return kCommands.data(); }
int CliCommandCount() { return int(kCommands.size()); }
