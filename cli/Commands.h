#pragma once

#include <QCommandLineParser>
#include <QStringList>
#include <cstdint>
#include <initializer_list>

namespace torvex {

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
// What ParseCommand returns when the command goes on.
constexpr int kGoOn = -1;
// Reads a command's arguments with parser (which knows its options): kGoOn,
// or the exit code after --help or --version (printed) or a usage error (told).
int ParseCommand(const QString& command, QCommandLineParser& parser, const QStringList& args, const char* pszUsage);
// K2 or K1 (any case) as a model code; false for anything else.
bool ModelFromName(const QString& strName, uint32_t& ulModel);
class CTorvexDoc;
class CReportData;
class CCollectingDialog;

// What the file commands share (defined with `torvex steps`): a .tvxs is a
// sequence file; the document is made for a model; the option --model K2|K1
// and the FILE arguments are read from a parser (a usage error is told).
bool IsSequenceFile(const QString& strPath);
void PrepareDocument(CTorvexDoc& doc, CCollectingDialog& dialog, uint32_t ulModel);
extern const QCommandLineOption kModelOption;
// --format FORM (steps, run, history).
extern const QCommandLineOption kFormatOption;
// The step records' form --format names (tsv, csv, json), left as it is
// without one; false, with a usage error told, for another name.
bool ReadStepFormat(const QString& command, const QCommandLineParser& parser, int& nFormat);
bool ReadFilesAndModel(const QString& command, const QCommandLineParser& parser, int nFiles,
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

} // namespace torvex
