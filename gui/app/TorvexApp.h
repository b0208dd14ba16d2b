#pragma once

#include "config/CalibrationSetting.h"
#include "config/TestProperty.h"
#include "files/TorvexDoc.h"
#include "gui/widgets/MessageBoxDialog.h"
#include "journal/Journal.h"

#include <QLockFile>
#include <QObject>
#include <QStringList>
#include <memory>

class CTorvexCntl;
class CTorvexSimulator;
class CMainFrame;

// Options of the desktop program's command line.
struct APP_OPTIONS {
    QString m_strFile;           // a data file to open
    QStringList m_ports;         // --port PATH
    bool m_bSimulate = false;    // --simulate: a simulated instrument on a pty of its own
    QStringList m_simulatorArgs; // options after --simulate that belong to the simulator
};

// Reads the command line; false with a one-line error. --help and --version are
// answered by the caller.
bool ParseAppOptions(const QStringList& args, APP_OPTIONS& options, QString& strError);
QString AppUsage();

// The application: owns the instrument controller, the calibration settings,
// the test information and the document, and runs start-up and shutdown.
class CTorvexApp : public QObject {
    Q_OBJECT
public:
    // pDialog: the operator dialogue to use instead of message boxes (tests).
    explicit CTorvexApp(const APP_OPTIONS& options, COperatorDialog* pDialog = nullptr);
    ~CTorvexApp() override;

    // The start-up sequence; false ends the program at once.
    bool InitInstance();

    CTorvexCntl& Cntl() const { return *m_pCntl; }
    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    CTorvexDoc& Doc() { return m_doc; }
    CJournal& Journal() { return m_journal; }

    int32_t m_nMachineType = 0;
    int32_t m_nHWVersion = 0;
    CCalibrationSetting m_calib;
    CTestProperty m_testProperty;

private:
    bool StartSimulator();
    bool DecideConnection();
    void OfferRecovery();

    APP_OPTIONS m_options;
    std::unique_ptr<CTorvexSimulator> m_pSimulator;
    std::unique_ptr<CTorvexCntl> m_pCntl;
    CMessageBoxDialog m_boxes;
    COperatorDialog& m_dialog;
    CTorvexDoc m_doc;
    CJournal m_journal;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::unique_ptr<QLockFile> m_pInstanceLock;
};
