#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace torvex {

// The command-line program of this build.
inline const QString kTorvexProgram = QStringLiteral(TORVEX_BINARY_DIR "/torvex");

// What a run of it left: its exit code (−1 when it did not end by itself) and
// its output.
struct TORVEX_RUN {
    int exitCode = -1;
    QString out, err;
};

// Runs `torvex ARGS` to its end (at most nTimeoutMs).
TORVEX_RUN RunTorvex(const QStringList& args, int nTimeoutMs = 60000);
// Runs any program with the given environment to its end (at most nTimeoutMs;
// one still running then is killed and reads as exit code −1).
TORVEX_RUN RunProgram(const QString& strProgram, const QStringList& args, const QProcessEnvironment& env,
                      int nTimeoutMs = 60000);

} // namespace torvex
