#include "run/StopSignals.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace torvex {

namespace {

int g_anPipe[2] = {-1, -1};
const int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

void OnSignal(int nSignal) {
    // Only async-signal-safe work here: the event loop does the rest.
    const unsigned char c = static_cast<unsigned char>(nSignal);
    (void)!write(g_anPipe[1], &c, 1);
}

} // namespace

CStopSignals::CStopSignals(QObject* pParent) : QObject(pParent) {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_anPipe) != 0) return;
    fcntl(g_anPipe[1], F_SETFL, O_NONBLOCK);
    m_pNotifier = new QSocketNotifier(g_anPipe[0], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &CStopSignals::OnReadable);
    struct sigaction sa = {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int nSignal : kSignals)
        sigaction(nSignal, &sa, nullptr);
}

CStopSignals::~CStopSignals() {
    for (int nSignal : kSignals)
        std::signal(nSignal, SIG_DFL);
    delete m_pNotifier;
    for (int& fd : g_anPipe) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
}

void CStopSignals::OnReadable() {
    unsigned char c = 0;
    if (read(g_anPipe[0], &c, 1) != 1) return;
    emit received(int(c), ++m_nCount);
}

} // namespace torvex
