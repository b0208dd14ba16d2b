#pragma once

#include "config/InstrumentLink.h"

class CTorvexCntl;

// The settings page's view of the program's instrument controller.
class CTorvexCntlLink : public CInstrumentLink {
public:
    explicit CTorvexCntlLink(CTorvexCntl& rCntl) : m_rCntl(rCntl) {}

    bool IsOpen() const override;
    void ClosePort() override;
    bool Connect() override;
    bool GetModelType(int32_t& rnType) override;
    int32_t HWVersion() const override;
    QString ModelName(int32_t nType) const override;

private:
    CTorvexCntl& m_rCntl;
};
