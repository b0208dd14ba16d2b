#pragma once

#include "instrument/RsBasicProtocol.h"
#include "sim/TorvexSimulator.h"

#include <QDeadlineTimer>
#include <QStringList>
#include <QThread>
#include <memory>
#include <vector>

namespace torvex {

// Simulators on fresh ptys, made the program's only serial ports (numbered 1, 2,
// ... in the order given). Real devices of the machine are never listed.
class CSimulatedPorts {
public:
    explicit CSimulatedPorts(const std::vector<SimOptions>& options) {
        qputenv("TORVEX_PORTS_ONLY", "1");
        qunsetenv("TORVEX_PORTS");
        QStringList paths;
        for (const SimOptions& opt : options) {
            m_sims.push_back(std::make_unique<CTorvexSimulator>(opt));
            m_bStarted = m_sims.back()->Start() && m_bStarted;
            paths << m_sims.back()->DevicePath();
        }
        CRsBasicProtocol::SetExtraPorts(paths);
    }
    ~CSimulatedPorts() { CRsBasicProtocol::SetExtraPorts({}); }

    bool Started() const { return m_bStarted; }
    CTorvexSimulator& operator[](size_t i) { return *m_sims[i]; }

private:
    std::vector<std::unique_ptr<CTorvexSimulator>> m_sims;
    bool m_bStarted = true;
};

// Waits (at most nMs) for a hang-up fault to drop the simulator's line.
inline bool WaitHungUp(const CTorvexSimulator& sim, int nMs = 3000) {
    QDeadlineTimer deadline(nMs);
    while (!sim.IsHungUp() && !deadline.hasExpired())
        QThread::msleep(10);
    return sim.IsHungUp();
}

} // namespace torvex
