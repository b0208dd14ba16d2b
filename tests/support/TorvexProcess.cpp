#include "support/TorvexProcess.h"

#include <QProcess>

namespace torvex {

TORVEX_RUN RunTorvex(const QStringList& args, int nTimeoutMs) {
    return RunProgram(kTorvexProgram, args, QProcessEnvironment::systemEnvironment(), nTimeoutMs);
}

TORVEX_RUN RunProgram(const QString& strProgram, const QStringList& args, const QProcessEnvironment& env,
                      int nTimeoutMs) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(strProgram, args);
    const bool bEnded = p.waitForFinished(nTimeoutMs);
    if (!bEnded) {
        p.kill();
        p.waitForFinished();
    }
    return {bEnded && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace torvex
