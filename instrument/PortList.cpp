#include "instrument/PortList.h"

#include "instrument/RsBasicProtocol.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>

namespace torvex {

QString DefaultStableNameFolder() {
    return QStringLiteral("/dev/serial/by-id");
}

QStringList StableNames(const QString& strPath, const QString& strFolder) {
    QStringList names;
    const QString strDevice = QFileInfo(strPath).canonicalFilePath();
    if (strDevice.isEmpty()) return names;
    const QFileInfoList links =
        QDir(strFolder).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& link : links)
        if (link.isSymLink() && link.canonicalFilePath() == strDevice) names << link.absoluteFilePath();
    return names;
}

QList<SERIAL_PORT_ENTRY> ListSerialPorts(const QString& strStableFolder, const QStringList& lockFolders) {
    // What the system reports about its own devices. Asking it looks at every
    // serial device of the machine, so a restricted list never asks.
    QHash<QString, QSerialPortInfo> infos;
    if (qgetenv("TORVEX_PORTS_ONLY") != "1") {
        const auto available = QSerialPortInfo::availablePorts();
        for (const QSerialPortInfo& info : available)
            infos.insert(info.systemLocation(), info);
    }
    QList<SERIAL_PORT_ENTRY> entries;
    const QStringList paths = CRsBasicProtocol::PortPaths();
    for (int i = 0; i < paths.size(); ++i) {
        SERIAL_PORT_ENTRY entry;
        entry.m_nNumber = i + 1;
        entry.m_strPath = paths[i];
        const auto it = infos.constFind(paths[i]);
        if (it != infos.constEnd()) {
            entry.m_strDescription = it->description();
            entry.m_strManufacturer = it->manufacturer();
            entry.m_bUsbIds = it->hasVendorIdentifier() && it->hasProductIdentifier();
            entry.m_uVendorId = it->vendorIdentifier();
            entry.m_uProductId = it->productIdentifier();
            entry.m_strSerialNumber = it->serialNumber();
        }
        entry.m_listStableNames = StableNames(paths[i], strStableFolder);
        entry.m_access = JudgePortAccess(GatherPortFacts(paths[i], lockFolders));
        entries << entry;
    }
    return entries;
}

} // namespace torvex
