#pragma once

#include "instrument/PortAccess.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace torvex {

// One serial port the program would search for the instrument.
struct SERIAL_PORT_ENTRY {
    int32_t m_nNumber = 0; // port number (1, 2, ...)
    QString m_strPath;     // device path
    QString m_strDescription;
    QString m_strManufacturer;
    bool m_bUsbIds = false;
    uint16_t m_uVendorId = 0;
    uint16_t m_uProductId = 0;
    QString m_strSerialNumber;
    QStringList m_listStableNames; // links in the by-id folder that lead to this device
    PORT_ACCESS_RESULT m_access;
};

// The folder of stable device names that udev keeps for serial adapters.
QString DefaultStableNameFolder();

// Links in strFolder that resolve to the device strPath, sorted.
QStringList StableNames(const QString& strPath, const QString& strFolder = DefaultStableNameFolder());

// Every port the program would search, in port-number order, with what the
// system tells about it. With TORVEX_PORTS_ONLY=1 only the given paths are
// described and the machine's own devices are never looked at.
QList<SERIAL_PORT_ENTRY> ListSerialPorts(const QString& strStableFolder = DefaultStableNameFolder(),
                                         const QStringList& lockFolders = DefaultLockFolders());

} // namespace torvex
