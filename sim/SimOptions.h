#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace torvex {

// Behaviour of the simulated instrument. Times are real milliseconds unless
// named otherwise; 0 switches a fault off.
struct SimOptions {
    enum Model { MODEL_K2, MODEL_K1 };
    enum ErrorMode {
        ERROR_IDLE,          // at nErrorAtMs after the simulator started, whatever it does
        ERROR_RUNNING,       // at nErrorAtMs into a step; the output goes on
        ERROR_RUNNING_ENDED, // at nErrorAtMs into a step; the output ends
    };
    // A fault that strikes once, at a chosen frame (see strFaultAt).
    enum Fault {
        FAULT_NONE,
        FAULT_LOSE_ANSWER, // the frame takes effect; its acknowledgement or reply is lost
        FAULT_BAD_BCC,     // a query's reply carries a wrong check byte; a command
                           //   arrives damaged and, like any bad frame, is ignored
        FAULT_SILENCE,     // the frame is lost and nothing is answered any more
        FAULT_HANGUP,      // the frame is answered, then the line drops
    };

    Model eModel = MODEL_K2;
    QString strIdentity = QStringLiteral("KELVORA, TORVEX"); // reply to "QA"
    QMap<QString, QString> mapReplies; // whole reply texts that replace the computed ones, by query
    double dTimeScale = 1.0;           // simulated seconds per real second
    int nDischargeMs = 0;              // discharge after every output end
    int nStartDelayMs = 0;             // after CA: running at once, the countdown only after this

    // Bytes pass at this line rate (10 bits a byte), both ways, as on a real
    // line; 0 passes them as fast as the pseudo-terminal does.
    int nBaud = 9600;

    bool bSilent = false;   // answers nothing at all
    int nDropAcks = 0;      // the next N acknowledgements are left out
    int nLateAckMs = 0;     // every acknowledgement comes this late
    int nBadBccReplies = 0; // the next N reply frames carry a wrong check byte
    int nStrayBytes = 0;    // junk bytes after every answer
    int nSlowByteMs = 0;    // pause between the bytes of every reply frame
    QString strDropAckOf;   // the acknowledgement of the next nDropAckOf frames starting so is left out
    int nDropAckOf = 0;     //   (the command itself takes effect)
    QString strDropAfter;   // after a frame starting so, the next nDropAfter acknowledgements
    int nDropAfter = 0;     //   (of ENQ or of frames) are left out
    int nHangupAfter = 0;   // the line drops after N received frames
    int nHangupAtMs = 0;    // the line drops this long after the start

    Fault eFault = FAULT_NONE; // strikes at the nFaultNth frame starting with strFaultAt,
    QString strFaultAt;        //   or, when that is "discharging", at the nFaultNth frame
    int nFaultNth = 0;         //   received while the instrument discharges (counted from
                               //   the start, repeats included)

    int nErrorCode = 0; // error raised once at nErrorAtMs (see eErrorMode)
    int nErrorAtMs = 0;
    ErrorMode eErrorMode = ERROR_IDLE;
    int nEutFailAtMs = 0; // EUT FAIL (code 6) ends the first step that runs this long

    QString strLogFile; // the command-line programs write the command log here
};

// Reads the command-line options of the simulator programs. False with a
// one-line error for an unknown option or a bad value. "--help" is not handled here.
bool ParseSimOptions(const QStringList& args, SimOptions& opt, QString& strError);
// The option list printed by --help.
QString SimOptionsHelp();

// The simulator's options as a command-line parser knows them, for every
// program that can start a simulator; those named in except are left out
// (a program's own option of the same name).
QList<QCommandLineOption> SimCommandLineOptions(const QStringList& except = {});
// The simulator options the parser read, in the form ParseSimOptions takes
// (args); false with a one-line error when any is given to a program that
// starts no simulator (bSimulate false). Their values are not checked here.
bool SimulatorArgs(const QCommandLineParser& parser, const QList<QCommandLineOption>& options, bool bSimulate,
                   QStringList& args, QString& strError);
// The simulator options the parser read, as ParseSimOptions reads them.
bool ReadSimOptions(const QCommandLineParser& parser, const QList<QCommandLineOption>& options,
                    SimOptions& opt, QString& strError);

} // namespace torvex
