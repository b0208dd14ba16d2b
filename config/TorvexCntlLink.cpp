#include "config/TorvexCntlLink.h"

#include "instrument/TorvexCntl.h"

bool CTorvexCntlLink::IsOpen() const {
    return m_rCntl.IsOpen();
}

void CTorvexCntlLink::ClosePort() {
    m_rCntl.m_protocol.ClosePort();
}

bool CTorvexCntlLink::Connect() {
    return m_rCntl.Connect();
}

bool CTorvexCntlLink::GetModelType(int32_t& rnType) {
    return m_rCntl.GetModelType(rnType);
}

int32_t CTorvexCntlLink::HWVersion() const {
    return m_rCntl.m_nHWVersion;
}

QString CTorvexCntlLink::ModelName(int32_t nType) const {
    QString name;
    CTorvexCntl::GetModelName(nType, name);
    return name;
}
