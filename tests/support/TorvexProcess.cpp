#include "support/TorvexProcess.h"

#include <QProcess>

TORVEX_RUN RunTorvex(const QStringList& args, int nTimeoutMs) {
    QProcess p;
    p.start(kTorvexProgram, args);
    p.waitForFinished(nTimeoutMs);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}
