#include "cli/Commands.h"
#include "files/TorvexDoc.h"

namespace torvex {

namespace {

const char* kUsage = "Usage: torvex resave IN OUT [--model K2|K1]\n"
                     "\n"
                     "Reads a data file (.tvx) or sequence file (.tvxs) and writes it to OUT as\n"
                     "the program's own save does: a data file with its condition's own steps.\n"
                     "OUT is replaced only when the whole file was written.\n"
                     "\n"
                     "  --model K2|K1  the instrument model files are checked against (K2)\n"
                     "\n"
                     "Exit codes: 0 done, 1 IN cannot be loaded or OUT cannot be written,\n"
                     "2 wrong usage.\n";

} // namespace

int RunResave(const QStringList& args) {
    QCommandLineParser parser;
    parser.addOption(kModelOption);
    if (const int nExit = ParseCommand("resave", parser, args, kUsage); nExit != kGoOn) return nExit;
    QString in, out;
    uint32_t ulModel = 0;
    if (!ReadFilesAndModel("resave", parser, 2, {&in, &out}, ulModel)) return EXIT_USAGE;
    if (!InputFileFound("resave", in)) return EXIT_FAILED;

    CCollectingDialog dialog;
    CTorvexDoc doc;
    PrepareDocument(doc, dialog, ulModel);
    bool bDone = false;
    if (IsSequenceFile(in))
        bDone = doc.ReadSequenceFile(in) && doc.WriteSequenceFile(out);
    else
        bDone = doc.ReadDocument(in) && doc.SaveDataFile(out, false);
    if (!bDone) {
        Err(dialog.m_listMessages.join('\n') + '\n');
        return EXIT_FAILED;
    }
    return EXIT_OK;
}

} // namespace torvex
