#pragma once

#include <QStringList>
#include <cstdint>
#include <initializer_list>

// Exit codes shared by every command.
enum : int { EXIT_OK = 0, EXIT_FAILED = 1, EXIT_USAGE = 2 };

// One subcommand of `torvex`: its name, a one-line summary, and its entry point,
// which gets the arguments after the command name.
struct CliCommand {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& args);
};

// The commands, in the order --help lists them. Each is defined in its own file.
const CliCommand* CliCommands();
int CliCommandCount();

// Prints a one-line usage error for a command to stderr and returns EXIT_USAGE.
int UsageError(const QString& command, const QString& message);
// True when args ask for help; prints the usage text to stdout.
bool HandleHelp(const QStringList& args, const QString& usage);
class CTorvexDoc;
class CReportData;
class CCollectingDialog;

// The options the file commands share (defined with `torvex steps`): a .tvxs
// is a sequence file; the document is made for a model; FILE arguments and
// --model K2|K1 are read into the given strings.
bool IsSequenceFile(const QString& strPath);
void PrepareDocument(CTorvexDoc& doc, CCollectingDialog& dialog, uint32_t ulModel);
bool ParseFileAndModel(const QString& command, const QStringList& args, int nFiles,
                       std::initializer_list<QString*> files, uint32_t& ulModel);
// False, with "torvex COMMAND: no such file: PATH" on stderr, when the input file
// is missing. That is a file that cannot be loaded (EXIT_FAILED), not wrong usage.
bool InputFileFound(const QString& command, const QString& strPath);

// Writes the report workbook to strOut for `torvex report`; EXIT_OK, or
// EXIT_FAILED with the reason on stderr.
int WriteReportTo(const CReportData& data, const QString& strOut);

// Console output in UTF-8 with "\n" line ends.
void Out(const QString& text);
void Err(const QString& text);
