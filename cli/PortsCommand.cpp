#include "cli/Commands.h"
#include "instrument/PortList.h"
#include "instrument/RsBasicProtocol.h"

namespace torvex {

namespace {

const char* kUsage = "Usage: torvex ports [--port PATH]...\n"
                     "\n"
                     "Lists every serial port the program searches for the TORVEX, in the order\n"
                     "it searches them: the number, the device, what the system tells about it\n"
                     "(description, USB vendor and product id, serial number), its stable name\n"
                     "under /dev/serial/by-id/ (give that to --port: it stays the same when the\n"
                     "adapter is plugged into another socket), and whether you may open it; if\n"
                     "not, why and what to do, worked out without opening the port.\n"
                     "\n"
                     "  --port PATH  also list this device, as `torvex run --port` and\n"
                     "               `torvex_pilot --port` would search it (repeatable)\n"
                     "\n"
                     "The environment variables TORVEX_PORTS and TORVEX_PORTS_ONLY change the\n"
                     "list as they change the search.\n"
                     "\n"
                     "Exit codes: 0 at least one port may be opened, 1 none may (or there is\n"
                     "none), 2 wrong usage.\n";

QString Hex4(uint16_t u) {
    return QString("%1").arg(u, 4, 16, QLatin1Char('0'));
}

QString Describe(const SERIAL_PORT_ENTRY& entry) {
    QString text = QString("%1  %2\n").arg(entry.m_nNumber).arg(entry.m_strPath);
    auto line = [&text](const QString& strKey, const QString& strValue) {
        if (!strValue.isEmpty()) text += QString("    %1 %2\n").arg(strKey + ':', -14).arg(strValue);
    };
    line("description", entry.m_strDescription);
    line("manufacturer", entry.m_strManufacturer);
    if (entry.m_bUsbIds) line("USB id", Hex4(entry.m_uVendorId) + ':' + Hex4(entry.m_uProductId));
    line("serial number", entry.m_strSerialNumber);
    for (const QString& strName : entry.m_listStableNames)
        line("stable name", strName);
    if (entry.m_access.m_eAccess == PORT_ACCESS_OK) {
        line("access", "may be opened");
    } else {
        line("access", "cannot be opened: " + entry.m_access.m_strReason);
        line("what to do", entry.m_access.m_strAction);
    }
    return text;
}

} // namespace

int RunPorts(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption port(QStringLiteral("port"), QString(), QStringLiteral("PATH"));
    parser.addOption(port);
    if (const int nExit = ParseCommand("ports", parser, args, kUsage); nExit != kGoOn) return nExit;
    if (!parser.positionalArguments().isEmpty())
        return UsageError("ports", QString("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    CRsBasicProtocol::SetExtraPorts(parser.values(port));

    const QList<SERIAL_PORT_ENTRY> entries = ListSerialPorts();
    if (entries.isEmpty()) {
        Out("No serial port found. Plug in the TORVEX's cable (or its USB serial adapter), or name\n"
            "the device with --port PATH.\n");
        return EXIT_FAILED;
    }
    int nUsable = 0;
    QString text;
    for (const SERIAL_PORT_ENTRY& entry : entries) {
        text += Describe(entry);
        if (entry.m_access.m_eAccess == PORT_ACCESS_OK) ++nUsable;
    }
    Out(text);
    return nUsable > 0 ? EXIT_OK : EXIT_FAILED;
}

} // namespace torvex
