#include "instrument/TorvexCntl.h"
#include "support/SimulatedPort.h"

#include <QFile>
#include <QSerialPort>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace torvex {

namespace {

SimOptions Silent() {
    SimOptions o;
    o.bSilent = true;
    return o;
}
SimOptions Foreign() {
    SimOptions o;
    o.strIdentity = "ACME, PULSER 3000";
    return o;
}
SimOptions K1() {
    SimOptions o;
    o.eModel = SimOptions::MODEL_K1;
    return o;
}

TEST(Discovery, NoPortsFailsAtOnce) {
    CSimulatedPorts ports({});
    CTorvexCntl cntl;
    EXPECT_FALSE(cntl.m_bConnect);
    EXPECT_FALSE(cntl.IsOpen());
    EXPECT_EQ(cntl.m_protocol.m_nRetry, 0);
}

TEST(Discovery, LowestAnsweringPortWinsAfterSilentAndForeignOnes) {
    CSimulatedPorts ports({Silent(), Foreign(), K1(), SimOptions()});
    ASSERT_TRUE(ports.Started());
    CTorvexCntl cntl;
    ASSERT_TRUE(cntl.m_bConnect);
    EXPECT_EQ(cntl.m_protocol.m_nPort, 3);
    EXPECT_EQ(cntl.m_protocol.m_nRetry, 5);
    int32_t nType = 0;
    EXPECT_TRUE(cntl.GetModelType(nType));
    EXPECT_EQ(nType, MODEL_K1);
    EXPECT_EQ(ports[1].CommandLog(), QStringList({"QA"}));
    EXPECT_TRUE(ports[3].CommandLog().isEmpty());
}

TEST(Discovery, PortHeldByAnotherProgramIsSkipped) {
    CSimulatedPorts ports({SimOptions(), SimOptions()});
    ASSERT_TRUE(ports.Started());
    QSerialPort holder(ports[0].DevicePath());
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
    CTorvexCntl cntl;
    ASSERT_TRUE(cntl.m_bConnect);
    EXPECT_EQ(cntl.m_protocol.m_nPort, 2);
    EXPECT_TRUE(ports[0].CommandLog().isEmpty());
}

// A port that may not be opened is not a port where nothing answers: the
// search keeps why, and the desktop program's message names each port with
// what to do (the dialout group; end the other program). Root may open
// every device, so the refused one is only tried without root.
TEST(Discovery, PortsThatCannotBeOpenedAreToldWithTheReason) {
    const bool bRoot = ::geteuid() == 0;
    CSimulatedPorts ports(std::vector<SimOptions>(bRoot ? 1 : 2));
    ASSERT_TRUE(ports.Started());
    QSerialPort holder(ports[0].DevicePath());
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
    if (!bRoot) {
        ASSERT_EQ(::chmod(QFile::encodeName(ports[1].DevicePath()).constData(), 0), 0);
    }
    CTorvexCntl cntl;
    EXPECT_FALSE(cntl.m_bConnect);
    const QStringList lines = CTorvexCntl::PortProblemText(cntl.m_portProblems).split('\n');
    ASSERT_EQ(lines.size(), bRoot ? 1 : 2);
    EXPECT_TRUE(lines[0].contains(ports[0].DevicePath())) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("他のプログラムが使用中"))) << lines[0].toStdString();
    if (!bRoot) {
        EXPECT_TRUE(lines[1].contains(ports[1].DevicePath())) << lines[1].toStdString();
        EXPECT_TRUE(lines[1].contains(QStringLiteral("dialout"))) << lines[1].toStdString();
    }
}

TEST(Discovery, FailedReconnectLeavesNoPortButKeepsTheFlag) {
    CSimulatedPorts ports({SimOptions(), Silent()});
    ASSERT_TRUE(ports.Started());
    CTorvexCntl cntl;
    ASSERT_TRUE(cntl.m_bConnect);
    CRsBasicProtocol::SetExtraPorts({ports[1].DevicePath()});
    EXPECT_FALSE(cntl.Connect());
    EXPECT_FALSE(cntl.IsOpen());
    EXPECT_EQ(cntl.m_protocol.m_nPort, 0);
    EXPECT_EQ(cntl.m_protocol.m_nRetry, 0);
    EXPECT_TRUE(cntl.m_bConnect);
}

} // namespace

} // namespace torvex
