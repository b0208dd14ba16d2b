#pragma once

#include "cmdline/CommandLine.h"
#include "gui/widgets/MessageBoxDialog.h"
#include "run/StopSignals.h"
#include "session/Session.h"

#include <QLockFile>
#include <QObject>
#include <QStringList>
#include <memory>

namespace torvex {

class CTorvexSimulator;
class CMainFrame;

// Options of the desktop program's command line.
struct APP_OPTIONS {
    QString m_strFile;           // a data file to open
    QStringList m_ports;         // --port PATH
    bool m_bSimulate = false;    // --simulate: a simulated instrument on a pty of its own
    QStringList m_simulatorArgs; // the simulator's options given with --simulate
};

// Reads the command line (no application object needed); Usage with a
// one-line error. --help and --version are answered by the caller.
ParseOutcome ParseAppOptions(const QStringList& args, APP_OPTIONS& options, QString& strError);
QString AppUsage();

// The application: owns the session (instrument, document, test information,
// run engine) and the main window, and runs start-up and shutdown.
class CTorvexApp : public QObject {
    Q_OBJECT
public:
    // pDialog: the operator dialogue to use instead of message boxes (tests).
    explicit CTorvexApp(const APP_OPTIONS& options, COperatorDialog* pDialog = nullptr);
    ~CTorvexApp() override;

    // The part of the start-up that needs no application object: the lock
    // against a second copy, the simulator, and the search for the instrument,
    // which from here runs on the instrument thread while the application
    // object and the windows are made. InitInstance() tells what went wrong
    // here, and calls it when the caller has not.
    void BeginInstance();
    // The start-up sequence; false ends the program at once.
    bool InitInstance();
    // The program's exit code when InitInstance() ended it: 1 when the file
    // named or the simulator failed, 0 when the operator chose to end it or
    // another copy runs.
    int ExitCode() const { return m_nExitCode; }

    // A stop signal (SIGTERM, SIGHUP, SIGINT) came: the program ends.
    bool IsEnding() const { return m_bEnding; }

    CSession& Session() const { return *m_pSession; }
    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    CTorvexDoc& Doc() { return m_pSession->Doc(); }

private:
    int m_nExitCode = 0;
    bool StartSimulator();
    // What BeginInstance() found.
    enum class Begin { NotYet, Searching, AlreadyRunning, NoSimulator };
    Begin m_eBegin = Begin::NotYet;
    QString m_strSimulatorError; // the simulator's options were refused
    // After discovery: the model found, or the operator's choice of demo mode,
    // retry or exit (false).
    bool DecideConnection(bool bFound, int32_t nFoundModel);
    void OfferRecovery();

    APP_OPTIONS m_options;
    std::unique_ptr<CTorvexSimulator> m_pSimulator;
    CMessageBoxDialog m_boxes;
    COperatorDialog& m_dialog;
    std::unique_ptr<CSession> m_pSession;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::unique_ptr<QLockFile> m_pInstanceLock;
    std::unique_ptr<CStopSignals> m_pStopSignals;
    bool m_bEnding = false;
};

} // namespace torvex
