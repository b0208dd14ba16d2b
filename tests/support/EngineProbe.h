#pragma once

#include "run/RunEngine.h"

namespace torvex {

// Puts a run engine into a state that would otherwise take a run on the
// instrument, and reads what it keeps to itself.
class CRunEngineProbe {
public:
    explicit CRunEngineProbe(CRunEngine& engine) : m_engine(engine) {}
    void SetRunState(RunState e) { m_engine.m_eRunState = e; }
    void SetManualUnchanged(bool b) { m_engine.m_bManualUnchanged = b; }
    void SetStandardUnchanged(bool b) { m_engine.m_bStandardUnchanged = b; }
    void SetManualLogOwed(bool b) { m_engine.m_bManualLogOwed = b; }
    bool StartAllowed() const { return m_engine.m_bStartAllowed; }

private:
    CRunEngine& m_engine;
};

} // namespace torvex
