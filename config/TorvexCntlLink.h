#pragma once

#include "config/InstrumentLink.h"

namespace torvex {

class CInstrumentThread;

// The settings page's view of the program's instrument controller. Each call
// waits for the instrument thread while the caller's events go on.
class CTorvexCntlLink : public CInstrumentLink {
public:
    explicit CTorvexCntlLink(CInstrumentThread& rInstrument) : m_rInstrument(rInstrument) {}

    bool IsOpen() const override;
    void ClosePort() override;
    bool Connect() override;
    bool GetModelType(int32_t& rnType) override;
    int32_t HWVersion() const override;
    QString ModelName(int32_t nType) const override;

private:
    CInstrumentThread& m_rInstrument;
    int32_t m_nHWVersion = 0;
};

} // namespace torvex
