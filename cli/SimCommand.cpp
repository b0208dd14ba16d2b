#include "cli/Commands.h"

#ifdef TORVEX_HAVE_SIM
#include "sim/SimProgram.h"
#endif

namespace torvex {

int RunSimCommand(const QStringList& args) {
#ifdef TORVEX_HAVE_SIM
    return RunSimProgram(args, QStringLiteral("torvex sim"));
#else
    Q_UNUSED(args);
    Err("torvex sim: this build has no simulator\n");
    return EXIT_FAILED;
#endif
}

} // namespace torvex
