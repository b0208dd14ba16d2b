// Start-up of the desktop program to its first painted main window, against a
// Qt Widgets hello-world built in the same tree, all on an X server of their
// own (Xvfb): wall time from the start of the process to the first paint (the
// program reports it, see gui/app/FirstPaint.h, and ends) and peak memory, the
// same number of runs each, medians. A third program shows the same windows
// as the desktop program, made of plain Qt widgets and nothing else
// (bench/startup_plain.cpp): what those windows cost Qt itself.
//
//   bench_startup [RUNS]
//
// The program starts with --simulate: the simulated instrument is found on its
// pseudo-terminal like a real one, so the measure holds discovery at the line
// rate too. Its settings live in a folder of their own, with a last tab set so
// that no first-start message comes up.
#include "Median.h"
#include "config/IniKeys.h"
#include "config/Profile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace torvex;

namespace {

using Clock = std::chrono::steady_clock;

struct RUN {
    double m_dSeconds = -1; // to the first paint; -1 when it never came
    long m_lPeakKiB = 0;
};

// Starts argv with the environment the benchmark set up, waits for its
// "first-paint" line on standard error and for its end.
RUN Measure(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    int fds[2];
    if (pipe(fds) != 0) return {};
    const auto t0 = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDERR_FILENO);
        close(fds[0]);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execv(args[0], args.data());
        _exit(127);
    }
    close(fds[1]);
    RUN run;
    std::string seen;
    const auto deadline = t0 + std::chrono::seconds(60);
    while (run.m_dSeconds < 0 && Clock::now() < deadline) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 1000) <= 0) continue;
        char buf[4096];
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n <= 0) break;
        seen.append(buf, size_t(n));
        if (seen.find("first-paint\n") != std::string::npos)
            run.m_dSeconds = std::chrono::duration<double>(Clock::now() - t0).count();
    }
    if (run.m_dSeconds < 0) kill(pid, SIGKILL);
    int status = 0;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    close(fds[0]);
    run.m_lPeakKiB = ru.ru_maxrss;
    if (run.m_dSeconds < 0) std::fprintf(stderr, "%s: no first paint\n%s", argv[0].c_str(), seen.c_str());
    return run;
}

// An X server of our own on the first free display number; 0 when none started.
pid_t StartXvfb(std::string& strDisplay) {
    for (int n = 90; n < 140; ++n) {
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
        if (QFileInfo::exists(QString::fromStdString(socket)) ||
            QFileInfo::exists(QString("/tmp/.X%1-lock").arg(n)))
            continue;
        strDisplay = ":" + std::to_string(n);
        const pid_t pid = fork();
        if (pid == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            // -noreset: by default the server starts afresh whenever its last
            // client has gone, and the next program then waits some 30 ms for
            // it (keyboard map and all). A desktop's server does not; that
            // time is neither program's and would only dilute the ratio.
            execlp("Xvfb", "Xvfb", strDisplay.c_str(), "-screen", "0", "1600x1000x24", "-nolisten", "tcp",
                   "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 100; ++i) {
            if (QFileInfo::exists(QString::fromStdString(socket))) return pid;
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) break;
            usleep(50000);
        }
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const int nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    QTemporaryDir home;
    // The programs measured (and the settings written here) use this home only.
    for (const char* sub : {"config", "data", "runtime", "docs"})
        QDir(home.path()).mkpath(sub);
    QFile::setPermissions(home.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath("data").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", home.filePath("runtime").toLocal8Bit());
    qputenv("XDG_DOCUMENTS_DIR", home.filePath("docs").toLocal8Bit());
    qputenv("TORVEX_PORTS_ONLY", "1");
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Kelvora");
    QCoreApplication::setApplicationName("TORVEX_Pilot");
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_TAB_STATE, "MANUAL");

    std::string display;
    const pid_t xvfb = StartXvfb(display);
    if (!xvfb) {
        std::fprintf(stderr, "Xvfb cannot be started (scripts/setup installs it)\n");
        return 1;
    }
    qputenv("DISPLAY", display.c_str());
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("TORVEX_FIRST_PAINT", "exit");

    const std::vector<std::string> hello = {TORVEX_BINARY_DIR "/bench/bench_startup_hello"};
    const std::vector<std::string> plain = {TORVEX_BINARY_DIR "/bench/bench_startup_plain"};
    const std::vector<std::string> program = {TORVEX_BINARY_DIR "/torvex_pilot", "--simulate"};
    // The same start with the simulated line unpaced: what is left of the lead
    // over the hello-world once the instrument's answers take no line time.
    const std::vector<std::string> unpaced = {TORVEX_BINARY_DIR "/torvex_pilot", "--simulate", "--baud", "0"};
    // One round unmeasured (libraries and fonts into the page cache), then
    // interleaved rounds, so that all see the same load of a shared machine.
    struct SERIES {
        const std::vector<std::string>& m_argv;
        std::vector<double> m_adSeconds, m_adKiB;
        double Seconds() const { return Median(m_adSeconds); }
        double MB() const { return Median(m_adKiB) / 1024; }
    };
    SERIES ref{hello, {}, {}}, flat{plain, {}, {}}, prog{program, {}, {}}, fast{unpaced, {}, {}};
    SERIES* const all[] = {&ref, &flat, &prog, &fast};
    for (SERIES* series : all)
        Measure(series->m_argv);
    bool bOk = true;
    for (int i = 0; i < nRuns && bOk; ++i) {
        for (SERIES* series : all) {
            const RUN run = Measure(series->m_argv);
            bOk = bOk && run.m_dSeconds >= 0;
            series->m_adSeconds.push_back(run.m_dSeconds);
            series->m_adKiB.push_back(double(run.m_lPeakKiB));
        }
    }
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
    if (!bOk) return 1;
    std::printf("start-up to the first painted main window under Xvfb; median of %d runs each\n", nRuns);
    std::printf("  Qt Widgets hello-world       %7.3f s  peak %6.1f MB\n", ref.Seconds(), ref.MB());
    std::printf("  torvex_pilot --simulate      %7.3f s  peak %6.1f MB\n", prog.Seconds(), prog.MB());
    std::printf("  torvex_pilot / hello-world: time %.2fx, memory %.2fx\n", prog.Seconds() / ref.Seconds(),
                prog.MB() / ref.MB());
    std::printf("  the same, line unpaced       %7.3f s  (%.2fx; the line's share %.3f s)\n", fast.Seconds(),
                fast.Seconds() / ref.Seconds(), prog.Seconds() - fast.Seconds());
    std::printf("  its windows in plain Qt      %7.3f s  peak %6.1f MB  (%.2fx the hello-world's time, %.2fx its memory)\n",
                flat.Seconds(), flat.MB(), flat.Seconds() / ref.Seconds(), flat.MB() / ref.MB());
    std::printf("  torvex_pilot / plain Qt: time %.2fx, memory %.2fx\n", prog.Seconds() / flat.Seconds(),
                prog.MB() / flat.MB());
    return 0;
}
