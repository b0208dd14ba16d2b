// Processor time of a query that never gets an answer (six attempts, as once an
// instrument is connected) against its wall time: the waits must sleep.
#include "instrument/RsBasicProtocol.h"
#include "sim/TorvexSimulator.h"

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <ctime>

using namespace torvex;

namespace {

double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    SimOptions opt;
    opt.bSilent = true;
    CTorvexSimulator sim(opt);
    if (!sim.Start()) {
        fprintf(stderr, "cannot create a pseudo-terminal\n");
        return 1;
    }
    qputenv("TORVEX_PORTS_ONLY", "1");
    CRsBasicProtocol::SetExtraPorts({sim.DevicePath()});
    CRsBasicProtocol link;
    if (!link.OpenPort(1)) {
        fprintf(stderr, "cannot open %s\n", qPrintable(sim.DevicePath()));
        return 1;
    }
    link.m_nRetry = 5;
    const double dCpu0 = ThreadCpuMs();
    const auto t0 = std::chrono::steady_clock::now();
    const bool bAnswered = link.SendQuery("QB");
    const double dWall =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    const double dCpu = ThreadCpuMs() - dCpu0;
    printf("unanswered QB, 6 attempts%s\n", bAnswered ? " (unexpectedly answered)" : "");
    printf("  wall time      %8.1f ms\n", dWall);
    printf("  processor time %8.2f ms\n", dCpu);
    printf("  ratio          %8.2f %%\n", 100.0 * dCpu / dWall);
    return bAnswered ? 1 : 0;
}
