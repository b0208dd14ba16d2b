#pragma once

#include <QString>
#include <QStringList>

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
