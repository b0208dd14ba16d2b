#include "config/TorvexCntlLink.h"

#include "instrument/InstrumentThread.h"
#include "instrument/TorvexCntl.h"

namespace torvex {

bool CTorvexCntlLink::IsOpen() const {
    return m_rInstrument.Health().bOpen;
}

void CTorvexCntlLink::ClosePort() {
    m_rInstrument.Run<bool>([](CTorvexCntl& c) { return c.m_protocol.ClosePort(); });
}

bool CTorvexCntlLink::Connect() {
    return m_rInstrument.Run<bool>([this](CTorvexCntl& c) {
        const bool bFound = c.Connect();
        m_nHWVersion = c.m_nHWVersion;
        return bFound;
    });
}

bool CTorvexCntlLink::GetModelType(int32_t& rnType) {
    const auto [bOk, nType] = m_rInstrument.Run<std::pair<bool, int32_t>>([](CTorvexCntl& c) {
        int32_t n = 0;
        const bool b = c.GetModelType(n);
        return std::make_pair(b, n);
    });
    rnType = nType;
    return bOk;
}

int32_t CTorvexCntlLink::HWVersion() const {
    return m_nHWVersion;
}

QString CTorvexCntlLink::ModelName(int32_t nType) const {
    QString name;
    CTorvexCntl::GetModelName(nType, name);
    return name;
}

} // namespace torvex
