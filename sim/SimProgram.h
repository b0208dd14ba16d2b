#pragma once

#include <QString>
#include <QStringList>

class QFile;

namespace torvex {

class CTorvexSimulator;

// The simulator as a program: starts it on a new pty, prints the device path as
// the first line, serves until SIGINT or SIGTERM and keeps the command log file
// (--log) up to date. strProgram names the program in messages and the usage.
// Returns the exit code: 0, 1 when no pty could be made, 2 for bad options.
int RunSimProgram(const QStringList& args, const QString& strProgram);

// Appends to file (when open) the commands the simulator received after the
// first nWritten, one a line, and counts them into nWritten; false when the
// file cannot be written.
bool AppendCommandLog(QFile& file, const CTorvexSimulator& sim, qsizetype& nWritten);

} // namespace torvex
