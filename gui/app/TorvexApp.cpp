#include "gui/app/TorvexApp.h"

#include "config/ContactDefaults.h"
#include "config/IniKeys.h"
#include "config/Profile.h"
#include "files/TabCode.h"
#include "files/TabLogic.h"
#include "gui/app/MainFrame.h"
#include "gui/app/SplashDlg.h"
#include "gui/app/TorvexView.h"
#include "gui/app/TypeSelectDlg.h"
#include "gui/config/NoticeCalibrationDlg.h"
#include "gui/widgets/Fonts.h"
#include "instrument/RsBasicProtocol.h"
#include "instrument/TorvexCntl.h"
#include "journal/JournalRun.h"
#include "run/RunEngine.h"
#include "run/SequenceListLogic.h"
#include "sim/SimOptions.h"
#include "sim/TorvexSimulator.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QStandardPaths>
#include <QThreadPool>

namespace torvex {

ParseOutcome ParseAppOptions(const QStringList& args, APP_OPTIONS& o, QString& strError) {
    QCommandLineParser parser;
    const QCommandLineOption port(QStringLiteral("port"), QString(), QStringLiteral("PATH"));
    const QCommandLineOption simulate(QStringLiteral("simulate"));
    parser.addOptions({port, simulate});
    const QList<QCommandLineOption> simOptions = SimCommandLineOptions();
    parser.addOptions(simOptions);
    const ParseOutcome outcome = ParseCommandLine(parser, args, strError);
    if (outcome != ParseOutcome::Go) return outcome;
    o.m_ports = parser.values(port);
    o.m_bSimulate = parser.isSet(simulate);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        strError = QStringLiteral("only one file can be opened");
        return ParseOutcome::Usage;
    }
    o.m_strFile = files.value(0);
    if (!SimulatorArgs(parser, simOptions, o.m_bSimulate, o.m_simulatorArgs, strError))
        return ParseOutcome::Usage;
    SimOptions checked;
    if (!ParseSimOptions(o.m_simulatorArgs, checked, strError)) return ParseOutcome::Usage;
    return ParseOutcome::Go;
}

QString AppUsage() {
    return QStringLiteral("Usage: torvex_pilot [FILE.tvx|FILE.tvxs] [--port PATH]... [--simulate [SIMULATOR OPTIONS]]\n"
                          "\n"
                          "Remote control of the TORVEX burst test generator.\n"
                          "\n"
                          "  FILE.tvx           a data file to open on the MANUAL tab\n"
                          "  FILE.tvxs          a sequence file to read on the SEQUENCE tab\n"
                          "  --port PATH        also search the instrument on this device (repeatable)\n"
                          "  --simulate         run against a built-in simulated TORVEX, found on its own\n"
                          "                     pseudo-terminal like a real one; the simulator's options\n"
                          "                     (see `torvex sim --help`) may follow\n"
                          "  --lang ja|en       the interface language (default: the SETTINGS tab's choice,\n"
                          "                     else the system's language)\n"
                          "  --help             this text (no display needed)\n"
                          "  --version          the program's version\n"
                          "\n"
                          "Exit: 0 closed by the operator or the program already running; 1 the file\n"
                          "named could not be opened or the simulator not started; 2 wrong usage.\n");
}

CTorvexApp::CTorvexApp(const APP_OPTIONS& options, COperatorDialog* pDialog)
    : m_options(options), m_dialog(pDialog ? *pDialog : m_boxes),
      m_pSession(std::make_unique<CSession>(m_dialog)) {}

CTorvexApp::~CTorvexApp() {
    m_pMainFrame.reset(); // the run panel stops its polls first
    m_pSession.reset();   // the last stop of the output goes out, the port closes
    m_pSimulator.reset();
}

bool CTorvexApp::StartSimulator() {
    SimOptions opt;
    if (!ParseSimOptions(m_options.m_simulatorArgs, opt, m_strSimulatorError)) return false;
    m_pSimulator = std::make_unique<CTorvexSimulator>(opt);
    if (!m_pSimulator->Start()) return false;
    // Only the simulator is searched: it is found like a real instrument.
    qputenv("TORVEX_PORTS_ONLY", "1");
    m_options.m_ports.prepend(m_pSimulator->DevicePath());
    return true;
}

void CTorvexApp::BeginInstance() {
    if (m_eBegin != Begin::NotYet) return;
    // One copy at a time; a lock left by a crashed copy is taken over.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QDir().mkpath(runtime);
    m_pInstanceLock = std::make_unique<QLockFile>(runtime + "/TORVEX_Pilot_Instance.lock");
    m_pInstanceLock->setStaleLockTime(0);
    if (!m_pInstanceLock->tryLock(0)) {
        m_eBegin = Begin::AlreadyRunning;
        return;
    }
    if (m_options.m_bSimulate && !StartSimulator()) {
        m_eBegin = Begin::NoSimulator;
        return;
    }
    if (!m_options.m_ports.isEmpty()) CRsBasicProtocol::SetExtraPorts(m_options.m_ports);
    // Discovery at program load. At 9600 baud the instrument's answers take
    // longer than making the application object, so the line starts first.
    m_pSession->BeginConnect();
    m_eBegin = Begin::Searching;
}

bool CTorvexApp::InitInstance() {
    BeginInstance();
    if (m_eBegin == Begin::AlreadyRunning) {
        m_dialog.Message(tr("アプリケーションはすでに起動しています。"));
        return false;
    }
    if (m_eBegin == Begin::NoSimulator) {
        if (!m_strSimulatorError.isEmpty()) m_dialog.Message(m_strSimulatorError);
        m_nExitCode = 1;
        return false;
    }
    CSession& session = *m_pSession;
    // A kill or the end of the session must not leave the generator pulsing:
    // the output is stopped before the program ends (the step in hand stays
    // unjudged, the test log stays as written at START). Every event loop ends
    // at once, an open message box's too, and no window is asked first: the
    // main window would refuse to close while a test runs, and the program
    // would go on without its polls. The engine is closed as the window goes,
    // after the task that showed a box has let go of it, and the instrument
    // thread sends its "CB" before the port closes.
    m_pStopSignals = std::make_unique<CStopSignals>();
    connect(m_pStopSignals.get(), &CStopSignals::received, this, [this] {
        m_bEnding = true; // at start-up: the main loop never starts
        QCoreApplication::exit(0);
    });
    // Plugins that the window and the journal load are loaded on a helper
    // thread meanwhile: the image formats (behind the menu bar's own icons)
    // and the SQLite driver.
    QThreadPool::globalInstance()->start([] {
        QImageReader::supportedImageFormats();
        CJournal::LoadDriver();
    });
    // While the search talks to the line, what does not depend on the
    // instrument is built: the window's shell and the splash.
    // Finding the system's own fonts takes a while: it is done while the line
    // is busy, before the first window that uses them.
    InstallFontSubstitutions();
    m_pMainFrame = std::make_unique<CMainFrame>(session, nullptr, CMainFrame::Screens::Later);
    std::unique_ptr<CSplashDlg> pSplash = std::make_unique<CSplashDlg>();

    WriteContactDefaults();
    CCalibrationSetting& calib = session.Calibration();
    calib.Load();
    const QDateTime now = QDateTime::currentDateTime();
    if (calib.IsNoticeDue(now)) {
        CNoticeCalibrationDlg notice(calib, now);
        notice.exec();
    }

    // What the first screens need and the instrument does not decide is made
    // ready while the search goes on: the fonts, the splash's window and the
    // main window's own, and the parts of the view every tab shows.
    LoadUiFonts();
    pSplash->Prepare();
    m_pMainFrame->winId();
    m_pMainFrame->View()->BuildShell();

    int32_t nModelType = 0;
    const bool bFound = session.EndConnect(nModelType);
    if (m_bEnding) return false; // a stop signal during the search: nothing more is shown
    if (!bFound && !session.PortProblems().isEmpty())
        m_dialog.Message(CTorvexCntl::PortProblemText(session.PortProblems()));
    if (!DecideConnection(bFound, nModelType)) return false;

    session.Doc().NewDocument();
    m_pMainFrame->BuildScreens();
    session.OpenJournal(); // after the view: a journal that does not work is told to the operator
    m_boxes.SetParent(m_pMainFrame.get());
    // A file named on the command line (or opened from the file manager): a
    // sequence file is read on the SEQUENCE tab as its 読み込み would, any
    // other is opened as the MANUAL test.
    if (!m_options.m_strFile.isEmpty()) {
        if (QFileInfo(m_options.m_strFile).suffix().compare(QLatin1String("tvxs"), Qt::CaseInsensitive) == 0) {
            m_pMainFrame->View()->SelectTab(TAB_SEQUENCE);
            if (!session.Sequence().OnReadSequenceFile(m_options.m_strFile)) {
                m_nExitCode = 1;
                return false;
            }
        } else {
            m_pMainFrame->View()->SelectTab(TAB_MANUAL);
            if (!m_pMainFrame->OpenFile(m_options.m_strFile)) {
                m_nExitCode = 1;
                return false;
            }
        }
    }

    pSplash.release()->ShowSplash(); // it deletes itself when closed
    m_pMainFrame->show();

    session.Property().LoadFromProfile();
    const QString tab = ReadProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "FIRST");
    if (tab == "FIRST") {
        m_dialog.Message(tr(
            "校正予定日が設定されていません。\nお知らせ機能を利用する場合は校正予定日を設定してください。\n\n"
            "本ソフトウェアではマニュアルテストまたはシーケンステストを開始するたびに試験ログを保存します。\n"
            "必要ない場合は試験ログ保存設定のチェックを外してください。"));
    } else if ((tab == "STANDARD" || tab == "SETTINGS") && TabName(m_pMainFrame->View()->Tab()) == tab) {
        m_pMainFrame->setWindowTitle(tab + QStringLiteral(" - TORVEX_Pilot"));
    }
    OfferRecovery(); // a run the program never ended
    return true;
}

void CTorvexApp::OfferRecovery() {
    CJournal& journal = m_pSession->Journal();
    const std::vector<qint64> abandoned = journal.AbandonedRuns();
    if (abandoned.empty()) return;
    // Only the last one is offered; every one is ended now, so none is asked about again.
    const qint64 nRun = abandoned.back();
    for (qint64 id : abandoned)
        if (id != nRun) journal.EndRun(id, OUTCOME_ENDED);
    const std::optional<JOURNAL_RUN> run = journal.Run(nRun);
    if (!run) return;
    const QString file = run->m_strFile.isEmpty() ? tr("無題") : QFileInfo(run->m_strFile).fileName();
    const QString when = QDateTime::fromMSecsSinceEpoch(run->m_msStarted).toString("yyyy/MM/dd HH:mm:ss");
    const bool bRecover =
        m_dialog.AskYesNo(tr("前回の試験は終了しないまま中断されました。\n開始：%1\nファイル：%2（%3）\n\n"
                             "この試験の条件と判定・コメントを復元しますか？")
                              .arg(when, file, RunTabName(run->m_nTab)));
    journal.Note(nRun, bRecover ? QStringLiteral("recovered") : QStringLiteral("not recovered"));
    journal.EndRun(nRun, OUTCOME_ENDED);
    if (bRecover && !m_pMainFrame->View()->RecoverRun(nRun))
        m_dialog.Message(tr("試験を復元できませんでした。"));
}

bool CTorvexApp::DecideConnection(bool bFound, int32_t nFoundModel) {
    CSession& session = *m_pSession;
    session.SetNotConnected(false);
    if (bFound) {
        session.SetMachineType(nFoundModel);
        return true;
    }
    for (;;) {
        int32_t bDemo = 0;
        CTypeSelectDlg dlg(bDemo);
        const int result = dlg.exec();
        if (result == CTypeSelectDlg::RESULT_DEMO) {
            session.SetNotConnected(bDemo != 0);
            session.SetMachineType(dlg.SelectedModelType());
            return true;
        }
        if (result == CTypeSelectDlg::RESULT_RETRY) {
            if (session.Connect()) {
                int32_t type = 0;
                if (session.Link().GetModelType(type))
                    WriteProfileValue(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_TYPE, QString::number(type));
                session.SetMachineType(type);
                return true;
            }
            continue;
        }
        if (result == CTypeSelectDlg::RESULT_FAILED) {
            session.SetMachineType(0);
            return true;
        }
        return false; // exit
    }
}

} // namespace torvex
