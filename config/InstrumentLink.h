#pragma once

#include <QString>
#include <cstdint>

namespace torvex {

// What the settings page needs of the instrument controller: whether a port
// is open, and a fresh search for the instrument.
class CInstrumentLink {
public:
    virtual ~CInstrumentLink() = default;
    virtual bool IsOpen() const = 0;
    virtual void ClosePort() = 0;
    // Searches the ports; true when the instrument answered on one.
    virtual bool Connect() = 0;
    virtual bool GetModelType(int32_t& rnType) = 0;
    virtual int32_t HWVersion() const = 0;
    // The name of a model type as screens show it.
    virtual QString ModelName(int32_t nType) const = 0;
};

// A program without a serial link (screen previews): never finds an instrument.
class CNoInstrumentLink : public CInstrumentLink {
public:
    bool IsOpen() const override { return false; }
    void ClosePort() override {}
    bool Connect() override { return false; }
    bool GetModelType(int32_t&) override { return false; }
    int32_t HWVersion() const override { return 0; }
    QString ModelName(int32_t nType) const override;
};

} // namespace torvex
