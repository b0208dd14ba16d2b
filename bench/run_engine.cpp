// The run engine against the simulator: processor time of the idle poll over a
// stretch of wall time, and the time from a step's completion on the
// instrument to the next step's start command.
#include "YesDialog.h"
#include "config/TestProperty.h"
#include "files/TabCode.h"
#include "files/TorvexDoc.h"
#include "instrument/RsBasicProtocol.h"
#include "instrument/TorvexCntl.h"
#include "model/StepExpansion.h"
#include "run/RunEngine.h"
#include "session/Session.h"
#include "sim/TorvexSimulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

using namespace torvex;

namespace {

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Lets the event loop run (and sleep between timer ticks) for a while.
void Pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int idleSeconds = argc > 1 ? atoi(argv[1]) : 60;
    const int steps = argc > 2 ? atoi(argv[2]) : 50;

    SimOptions opt;
    opt.dTimeScale = 10.0;
    CTorvexSimulator sim(opt);
    if (!sim.Start()) return 1;
    qputenv("TORVEX_PORTS_ONLY", "1");
    CRsBasicProtocol::SetExtraPorts({sim.DevicePath()});
    CYesDialog dialog;
    CSession session(dialog);
    if (!session.Connect()) return 1;
    session.SetMachineType(MODEL_K2);
    CTorvexDoc& doc = session.Doc();
    doc.OnNewDocument();
    doc.SetTab(TAB_MANUAL);
    QTemporaryDir logDir;
    CRunEngine& engine = session.Engine();
    engine.SetLogFolderOverride(logDir.path() + "/");
    engine.Start();
    engine.SetMode(MODE_MANUAL);

    // Idle poll: "QB" and "QM" every 200 ms.
    const double cpu0 = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    Pump(idleSeconds * 1000);
    const double cpu = CpuSeconds() - cpu0;
    const double secs = double(wall.elapsed()) / 1000.0;
    std::printf("idle poll: %.3f s of processor time over %.1f s of wall time = %.3f %% of one core\n", cpu,
                secs, 100.0 * cpu / secs);

    // Step to step: a run of short steps; the gap is measured from the moment
    // the simulator reports the completion it saw to the next "CA".
    CSettingData& c = doc.m_settingManual;
    c.m_lTestTime = 1;
    c.m_valVolt = VALUE_STRUCT{VALUE_SWEEP, 0, 200, 200 + 10 * (steps - 1), 10, {}, {}};
    ExpandSteps(c);
    std::vector<double> gaps;
    QElapsedTimer clock;
    clock.start();
    double lastEnd = -1;
    bool finished = false;
    QObject::connect(&engine, &CRunEngine::stepEnded,
                     [&](int, int, int) { lastEnd = double(clock.nsecsElapsed()); });
    QObject::connect(&engine, &CRunEngine::stepStarted, [&](int, int) {
        if (lastEnd >= 0) gaps.push_back((double(clock.nsecsElapsed()) - lastEnd) / 1e6);
    });
    QEventLoop loop;
    QObject::connect(&engine, &CRunEngine::runEnded, [&](RunEnd) {
        finished = true;
        loop.quit();
    });
    engine.OnStart();
    if (!finished) loop.exec();
    std::sort(gaps.begin(), gaps.end());
    if (!gaps.empty())
        std::printf("completion seen -> next step's CA: median %.2f ms, max %.2f ms over %zu steps "
                    "(the poll period of 200 ms comes on top, between completion and its detection)\n",
                    gaps[gaps.size() / 2], gaps.back(), gaps.size());
    engine.Close();
    return 0;
}
