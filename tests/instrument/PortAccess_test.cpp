#include "instrument/PortAccess.h"
#include "instrument/PortList.h"
#include "instrument/TorvexCntl.h"
#include "support/SimulatedPort.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace torvex {

namespace {

// The facts of a user 1000 ("operator") with a login in groups 1000 and 24.
PORT_FACTS Device(uint32_t ulMode, uint32_t ulGid, const QString& strGroup) {
    PORT_FACTS f;
    f.m_bExists = true;
    f.m_ulMode = ulMode;
    f.m_ulUid = 0;
    f.m_ulGid = ulGid;
    f.m_strGroup = strGroup;
    f.m_ulEuid = 1000;
    f.m_strUser = "operator";
    f.m_listProcessGroups = {1000, 24};
    f.m_listUserGroups = {1000, 24};
    return f;
}

TEST(PortAccess, VerdictReasonAndRemedy) {
    struct Case {
        const char* name;
        PORT_FACTS facts;
        PORT_ACCESS eExpected;
        const char* reasonPart;
        const char* actionPart;
    };
    PORT_FACTS missing;
    PORT_FACTS open = Device(0660, 20, "dialout");
    open.m_bAccessOk = true;
    PORT_FACTS notMember = Device(0660, 20, "dialout");
    PORT_FACTS addedNotRelogged = Device(0660, 20, "dialout");
    addedNotRelogged.m_listUserGroups << 20;
    PORT_FACTS ownerOnly = Device(0600, 20, "dialout");
    PORT_FACTS groupReadOnly = Device(0640, 20, "dialout");
    PORT_FACTS unnamedGroup = Device(0660, 4242, "");
    PORT_FACTS busy = open;
    busy.m_nHolderPid = 4711;
    busy.m_strHolder = "minicom";
    PORT_FACTS busyUnknown = open;
    busyUnknown.m_nHolderPid = 4711;
    // A device the user may not open is reported as such even when it is held:
    // the remedy for the permission comes first.
    PORT_FACTS heldAndDenied = notMember;
    heldAndDenied.m_nHolderPid = 4711;

    const Case cases[] = {
        {"missing", missing, PORT_ACCESS_MISSING, "does not exist", "plugged in"},
        {"open", open, PORT_ACCESS_OK, "", ""},
        {"not a member", notMember, PORT_ACCESS_NOT_IN_GROUP, "group \"dialout\"",
         "sudo usermod -aG dialout $USER, then log out and log in again"},
        {"added, not logged in again", addedNotRelogged, PORT_ACCESS_RELOGIN, "\"dialout\"", "log out"},
        {"owner only", ownerOnly, PORT_ACCESS_DENIED, "600", "udev rule"},
        {"group may only read", groupReadOnly, PORT_ACCESS_DENIED, "640", "udev rule"},
        {"group without a name", unnamedGroup, PORT_ACCESS_NOT_IN_GROUP, "\"4242\"", "usermod -aG 4242"},
        {"busy", busy, PORT_ACCESS_BUSY, "process 4711 (minicom)", "close that program"},
        {"busy, holder unnamed", busyUnknown, PORT_ACCESS_BUSY, "process 4711", "close that program"},
        {"held and denied", heldAndDenied, PORT_ACCESS_NOT_IN_GROUP, "dialout", "usermod"},
    };
    for (const Case& c : cases) {
        const PORT_ACCESS_RESULT r = JudgePortAccess(c.facts);
        EXPECT_EQ(r.m_eAccess, c.eExpected) << c.name;
        EXPECT_TRUE(r.m_strReason.contains(QString::fromUtf8(c.reasonPart)))
            << c.name << ": " << qPrintable(r.m_strReason);
        EXPECT_TRUE(r.m_strAction.contains(QString::fromUtf8(c.actionPart)))
            << c.name << ": " << qPrintable(r.m_strAction);
        EXPECT_EQ(r.m_strReason.isEmpty(), c.eExpected == PORT_ACCESS_OK) << c.name;
    }
}

TEST(PortAccess, FactsOfFilesWithChosenPermissions) {
    QTemporaryDir dir;
    for (uint32_t ulMode : {0600u, 0640u, 0660u, 0666u}) {
        const QString path = dir.filePath(QString::number(ulMode, 8));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode_t(ulMode)), 0);
        const PORT_FACTS f = GatherPortFacts(path, {dir.path()});
        EXPECT_TRUE(f.m_bExists);
        EXPECT_EQ(f.m_ulMode, ulMode);
        EXPECT_EQ(f.m_ulUid, uint32_t(::getuid()));
        EXPECT_EQ(f.m_ulGid, uint32_t(::getgid()));
        if (const group* gr = ::getgrgid(::getgid())) {
            EXPECT_EQ(f.m_strGroup, QString::fromLocal8Bit(gr->gr_name));
        }
        EXPECT_EQ(f.m_ulEuid, uint32_t(::geteuid()));
        EXPECT_TRUE(f.m_listProcessGroups.contains(uint32_t(::getegid())));
        // access(2) decides: the owner (or root) may read and write 0600 and up.
        EXPECT_EQ(f.m_bAccessOk, ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0);
        EXPECT_EQ(f.m_nHolderPid, 0);
    }
    const PORT_FACTS gone = GatherPortFacts(dir.filePath("ttyUSB9"), {dir.path()});
    EXPECT_FALSE(gone.m_bExists);
    EXPECT_EQ(JudgePortAccess(gone).m_eAccess, PORT_ACCESS_MISSING);
}

// A process that holds strPath open until it is killed.
class CHolder {
public:
    explicit CHolder(const QString& strPath) {
        m_process.start("/bin/sh", {"-c", "exec 3<>\"$0\"; exec sleep 60", strPath});
        m_process.waitForStarted(5000);
        // Holding the file once the shell has become "sleep".
        QFile comm(QString("/proc/%1/comm").arg(m_process.processId()));
        for (int i = 0; i < 500; ++i) {
            if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "sleep") break;
            comm.close();
            QThread::msleep(10);
        }
    }
    ~CHolder() {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    qint64 Pid() const { return m_process.processId(); }

private:
    QProcess m_process;
};

TEST(PortAccess, LockFilesNameTheHolderWhileItRuns) {
    QTemporaryDir locks, devices;
    const QString device = devices.filePath("ttyUSB0");
    QFile(device).open(QIODevice::WriteOnly);
    CHolder sleeper(devices.filePath("other")); // a live process that does not hold the device

    struct Case {
        const char* name;
        QByteArray content;
        qint64 nExpectedPid;
    };
    int32_t nBinary = int32_t(sleeper.Pid());
    const Case cases[] = {
        {"text, padded", QByteArray::number(sleeper.Pid()).rightJustified(10, ' ') + '\n', sleeper.Pid()},
        {"QLockFile", QByteArray::number(sleeper.Pid()) + "\nminicom\nhost\n", sleeper.Pid()},
        {"binary", QByteArray(reinterpret_cast<const char*>(&nBinary), 4), sleeper.Pid()},
        // The bytes of a process id may start like a number ("1", then zeros);
        // read as text they would name process 1.
        {"binary, starts like text", QByteArray("1\0\0\x7f", 4), 0},
        {"stale", QByteArray("999999999\n"), 0},
        {"this program's own", QByteArray::number(QCoreApplication::applicationPid()) + '\n', 0},
        {"garbage", QByteArray("not a pid"), 0},
    };
    for (const Case& c : cases) {
        // The lock names the device, whatever link the path takes to it.
        const QString link = devices.filePath("by-id-link");
        QFile::remove(link);
        QFile::link(device, link);
        // Outside /dev the whole path names the lock, as QSerialPort names it.
        QFile lock(locks.filePath("LCK.." + QString(device).replace('/', '_')));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write(c.content);
        lock.close();
        for (const QString& path : {device, link}) {
            const PORT_FACTS f = GatherPortFacts(path, {devices.filePath("no-such-folder"), locks.path()});
            EXPECT_EQ(f.m_nHolderPid, c.nExpectedPid) << c.name << " " << qPrintable(path);
            if (c.nExpectedPid != 0) {
                EXPECT_EQ(f.m_strHolder, "sleep") << c.name;
            }
        }
    }
}

TEST(PortAccess, AnotherProcessHoldingThePseudoTerminalMakesItBusy) {
    CSimulatedPorts ports({SimOptions()});
    ASSERT_TRUE(ports.Started());
    const QString device = ports[0].DevicePath();
    QTemporaryDir locks;
    // The simulator in this very process is no other program.
    EXPECT_EQ(JudgePortAccess(GatherPortFacts(device, {locks.path()})).m_eAccess, PORT_ACCESS_OK);
    {
        CHolder holder(device);
        const PORT_FACTS f = GatherPortFacts(device, {locks.path()});
        EXPECT_EQ(f.m_nHolderPid, holder.Pid());
        const PORT_ACCESS_RESULT r = JudgePortAccess(f);
        EXPECT_EQ(r.m_eAccess, PORT_ACCESS_BUSY);
        EXPECT_TRUE(r.m_strReason.contains(QString("process %1 (sleep)").arg(holder.Pid())))
            << qPrintable(r.m_strReason);
    }
    EXPECT_EQ(GatherPortFacts(device, {locks.path()}).m_nHolderPid, 0);

    // A lock file of a running program: /dev/pts/N is locked as LCK..pts_N.
    CHolder sleeper(locks.filePath("other"));
    QFile lock(locks.filePath("LCK.." + device.mid(5).replace('/', '_')));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(sleeper.Pid()) + '\n');
    lock.close();
    EXPECT_EQ(JudgePortAccess(GatherPortFacts(device, {locks.path()})).m_eAccess, PORT_ACCESS_BUSY);
}

TEST(PortList, StableNamesAreTheLinksToTheDevice) {
    CSimulatedPorts ports({SimOptions(), SimOptions()});
    ASSERT_TRUE(ports.Started());
    QTemporaryDir byId;
    const QString first = ports[0].DevicePath(), second = ports[1].DevicePath();
    QFile::link(first, byId.filePath("usb-FTDI_TORVEX_A1-if00-port0"));
    QFile::link(second, byId.filePath("usb-Other_B2-if00-port0"));
    QFile::link(byId.filePath("usb-FTDI_TORVEX_A1-if00-port0"), byId.filePath("alias-of-first"));
    QFile::link("/dev/no-such-device", byId.filePath("dangling"));

    EXPECT_EQ(StableNames(first, byId.path()),
              QStringList({byId.filePath("alias-of-first"), byId.filePath("usb-FTDI_TORVEX_A1-if00-port0")}));
    EXPECT_EQ(StableNames(second, byId.path()), QStringList({byId.filePath("usb-Other_B2-if00-port0")}));
    EXPECT_TRUE(StableNames("/dev/no-such-device", byId.path()).isEmpty());
    EXPECT_TRUE(StableNames(first, byId.filePath("missing-folder")).isEmpty());
}

TEST(PortList, AStableNameStandsForItsDeviceAndIsSearchedThere) {
    CSimulatedPorts ports({SimOptions(), SimOptions()});
    ASSERT_TRUE(ports.Started());
    QTemporaryDir byId;
    const QString first = ports[0].DevicePath(), second = ports[1].DevicePath();
    const QString link = byId.filePath("usb-FTDI_TORVEX_A1-if00-port0");
    ASSERT_TRUE(QFile::link(second, link));

    // The link names a device already listed: it keeps its number, no second one.
    CRsBasicProtocol::SetExtraPorts({first, second, link, byId.filePath("missing-link")});
    EXPECT_EQ(CRsBasicProtocol::PortPaths(), QStringList({first, second, byId.filePath("missing-link")}));

    // Given alone, the link is searched as its device and the instrument found there.
    CRsBasicProtocol::SetExtraPorts({link});
    EXPECT_EQ(CRsBasicProtocol::PortPaths(), QStringList({second}));
    CTorvexCntl cntl;
    ASSERT_TRUE(cntl.m_bConnect);
    EXPECT_EQ(cntl.m_protocol.m_nPort, 1);
    EXPECT_FALSE(ports[1].CommandLog().isEmpty());
    EXPECT_TRUE(ports[0].CommandLog().isEmpty());
}

TEST(PortList, ListsTheGivenPortsInSearchOrder) {
    CSimulatedPorts ports({SimOptions()});
    ASSERT_TRUE(ports.Started());
    QTemporaryDir byId, locks;
    const QString device = ports[0].DevicePath();
    QFile::link(device, byId.filePath("usb-Kelvora_TORVEX_K2-if00"));
    CRsBasicProtocol::SetExtraPorts({"/dev/no-such-port", byId.filePath("usb-Kelvora_TORVEX_K2-if00")});

    const QList<SERIAL_PORT_ENTRY> entries = ListSerialPorts(byId.path(), {locks.path()});
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].m_nNumber, 1);
    EXPECT_EQ(entries[0].m_strPath, "/dev/no-such-port");
    EXPECT_EQ(entries[0].m_access.m_eAccess, PORT_ACCESS_MISSING);
    EXPECT_EQ(entries[1].m_nNumber, 2);
    EXPECT_EQ(entries[1].m_strPath, device);
    EXPECT_EQ(entries[1].m_listStableNames, QStringList({byId.filePath("usb-Kelvora_TORVEX_K2-if00")}));
    EXPECT_EQ(entries[1].m_access.m_eAccess, PORT_ACCESS_OK);
    // A pseudo-terminal is no USB device: nothing is made up for it.
    EXPECT_FALSE(entries[1].m_bUsbIds);
    EXPECT_TRUE(entries[1].m_strSerialNumber.isEmpty());
}

} // namespace

} // namespace torvex
