// How long the window's thread takes to answer an event while the program
// talks to a simulated instrument on a line paced at 9600 baud: idle, during a
// run, and with the instrument gone silent. Another thread posts an event every
// 5 ms and the window's thread notes how late it arrived; p99 and max per phase.
#include "YesDialog.h"

#include "files/TabCode.h"
#include "gui/app/MainFrame.h"
#include "gui/app/TorvexView.h"
#include "gui/widgets/Fonts.h"
#include "instrument/RsBasicProtocol.h"
#include "model/StepExpansion.h"
#include "session/Session.h"
#include "sim/TorvexSimulator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

using namespace torvex;

namespace {

QElapsedTimer g_clock;

// Posts a stamped call to the window's thread every 5 ms; each call notes its delay.
class CProbe {
public:
    void Start(QObject* pTarget) {
        m_bRun = true;
        m_thread = std::thread([this, pTarget] {
            while (m_bRun) {
                const qint64 posted = g_clock.nsecsElapsed();
                QMetaObject::invokeMethod(
                    pTarget,
                    [this, posted] { m_delays.push_back(double(g_clock.nsecsElapsed() - posted) / 1e6); },
                    Qt::QueuedConnection);
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
    }
    std::vector<double> Stop() {
        m_bRun = false;
        m_thread.join();
        QCoreApplication::processEvents();
        std::vector<double> d;
        d.swap(m_delays);
        return d;
    }

private:
    std::atomic<bool> m_bRun{false};
    std::thread m_thread;
    std::vector<double> m_delays; // touched on the window's thread only
};

void Pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void Report(const char* pszPhase, std::vector<double> d) {
    if (d.empty()) return;
    std::sort(d.begin(), d.end());
    const double p99 = d[std::min(d.size() - 1, size_t(double(d.size()) * 0.99))];
    std::printf("%-32s events %5zu  median %6.2f ms  p99 %6.2f ms  max %7.2f ms\n", pszPhase, d.size(),
                d[d.size() / 2], p99, d.back());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    const int phaseMs = argc > 1 ? std::atoi(argv[1]) : 5000;
    g_clock.start();

    SimOptions opt; // paced at 9600 baud, as a real line
    opt.dTimeScale = 20.0;
    CTorvexSimulator sim(opt);
    if (!sim.Start()) return 1;
    qputenv("TORVEX_PORTS_ONLY", "1");
    CRsBasicProtocol::SetExtraPorts({sim.DevicePath()});

    CYesDialog dialog;
    CSession session(dialog);
    if (!session.Connect()) return 1;
    session.SetMachineType(session.QueryModelType());
    session.Doc().NewDocument();
    CMainFrame frame(session);
    frame.show();
    frame.View()->SelectTab(TAB_MANUAL);
    CSettingData& c = session.Doc().m_settingManual;
    c.m_lTestTime = 1;
    c.m_valVolt = VALUE_STRUCT{VALUE_SWEEP, 0, 200, 4000, 10, {}, {}};
    ExpandSteps(c);
    frame.View()->RefreshManual();
    session.Engine().SetStopEveryStep(false); // one step after the other, as in a long test
    Pump(500);

    CProbe probe;
    probe.Start(&frame);
    Pump(phaseMs);
    Report("idle poll", probe.Stop());

    int nStarted = 0;
    QObject::connect(&session.Engine(), &CRunEngine::stepStarted, [&](int, int) { ++nStarted; });
    probe.Start(&frame);
    session.Engine().OnStart();
    Pump(phaseMs);
    Report("during a run", probe.Stop());
    std::printf("  (%d steps started on the instrument meanwhile)\n", nStarted);

    sim.UpdateOptions([](SimOptions& o) { o.bSilent = true; });
    probe.Start(&frame);
    Pump(phaseMs);
    Report("instrument silent", probe.Stop());
    session.Engine().Close();
    return 0;
}
