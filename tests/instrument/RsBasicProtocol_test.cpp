#include "support/SimulatedPort.h"

#include <QThread>
#include <gtest/gtest.h>

namespace torvex {

namespace {

class RsBasicProtocolTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_ports.Started());
        ASSERT_TRUE(m_link.OpenPort(1));
    }
    CTorvexSimulator& Sim() { return m_ports[0]; }

    CSimulatedPorts m_ports{{SimOptions()}};
    CRsBasicProtocol m_link;
};

TEST_F(RsBasicProtocolTest, ReplyLengthLimit) {
    struct Case {
        int nLength;
        bool bOk;
    } cases[] = {{0, true}, {1, true}, {254, true}, {255, false}};
    for (const Case& c : cases) {
        const QString strText(c.nLength, u'A');
        Sim().UpdateOptions([&](SimOptions& o) { o.strIdentity = strText; });
        EXPECT_EQ(m_link.SendQuery("QA"), c.bOk) << c.nLength;
        EXPECT_EQ(m_link.m_strReply, c.bOk ? strText : QString()) << c.nLength;
    }
}

TEST_F(RsBasicProtocolTest, WrongCheckByteIsRepeatedWithoutNak) {
    Sim().UpdateOptions([](SimOptions& o) { o.nBadBccReplies = 1; });
    m_link.m_nRetry = 1;
    ASSERT_TRUE(m_link.SendQuery("QT"));
    EXPECT_EQ(m_link.m_strReply, "AT0");
    EXPECT_EQ(Sim().CommandLog(), QStringList({"QT", "QT"}));
}

TEST_F(RsBasicProtocolTest, AttemptsFollowRetryCount) {
    struct Case {
        int nRetry;
        int nAttempts;
    } cases[] = {{-1, 0}, {0, 1}, {5, 6}};
    for (const Case& c : cases) {
        Sim().ClearLog();
        Sim().UpdateOptions([](SimOptions& o) { o.nBadBccReplies = 100; });
        m_link.m_nRetry = c.nRetry;
        EXPECT_FALSE(m_link.SendQuery("QB"));
        EXPECT_TRUE(m_link.m_strReply.isEmpty());
        EXPECT_EQ(Sim().CommandLog().size(), c.nAttempts) << c.nRetry;
    }
}

TEST_F(RsBasicProtocolTest, StaleBytesAreFlushedBeforeEnq) {
    Sim().UpdateOptions([](SimOptions& o) { o.nStrayBytes = 5; });
    m_link.m_nRetry = 0;
    ASSERT_TRUE(m_link.SendQuery("QB"));
    QThread::msleep(50); // the junk has surely arrived
    EXPECT_TRUE(m_link.SendCommand("CC"));
    QThread::msleep(50);
    EXPECT_TRUE(m_link.SendQuery("QB"));
    EXPECT_EQ(m_link.m_strReply, "QB01");
}

TEST_F(RsBasicProtocolTest, DroppedAckTimesOutThenNextAttemptSucceeds) {
    Sim().UpdateOptions([](SimOptions& o) { o.nDropAcks = 1; });
    m_link.m_nRetry = 1;
    EXPECT_TRUE(m_link.SendCommand("CB"));
    EXPECT_EQ(Sim().CommandLog(), QStringList({"CB"}));
}

TEST_F(RsBasicProtocolTest, SlowBytesEachHaveTheirOwnWait) {
    // 7 reply bytes 150 ms apart: longer than one byte's wait in total, never per byte.
    Sim().UpdateOptions([](SimOptions& o) { o.nSlowByteMs = 150; });
    ASSERT_TRUE(m_link.SendQuery("QT"));
    EXPECT_EQ(m_link.m_strReply, "AT0");
}

TEST_F(RsBasicProtocolTest, LongCommandIsCutTo251Bytes) {
    const QString strLong = "PD" + QString(298, u'7');
    ASSERT_TRUE(m_link.SendCommand(strLong));
    EXPECT_EQ(Sim().CommandLog(), QStringList({strLong.left(251)}));
}

TEST_F(RsBasicProtocolTest, DroppedLineFailsWithoutHanging) {
    Sim().UpdateOptions([](SimOptions& o) { o.nHangupAfter = 1; });
    m_link.m_nRetry = 5;
    EXPECT_TRUE(m_link.SendCommand("CB"));
    ASSERT_TRUE(WaitHungUp(Sim()));
    EXPECT_FALSE(m_link.SendQuery("QB"));
    EXPECT_TRUE(m_link.m_bError);
}

TEST_F(RsBasicProtocolTest, ClosedPortFailsAtOnce) {
    EXPECT_TRUE(m_link.ClosePort());
    EXPECT_EQ(m_link.m_nPort, 0);
    EXPECT_FALSE(m_link.ClosePort());
    EXPECT_FALSE(m_link.SendCommand("CB"));
    EXPECT_FALSE(m_link.SendQuery("QB"));
    EXPECT_TRUE(Sim().CommandLog().isEmpty());
}

TEST(PortNumbers, OutOfRangeAndMissingPortsDoNotOpen) {
    CSimulatedPorts ports({SimOptions()});
    CRsBasicProtocol link;
    for (int n : {0, -1, 129, 2, 128})
        EXPECT_FALSE(link.OpenPort(n)) << n;
    EXPECT_EQ(link.m_nPort, 0);
    EXPECT_FALSE(link.IsOpen());
}

TEST(PortNumbers, ListedInOrderGivenAndMissingPathsSkipped) {
    CSimulatedPorts ports({SimOptions(), SimOptions()});
    const QString strFirst = ports[0].DevicePath(), strSecond = ports[1].DevicePath();
    CRsBasicProtocol::SetExtraPorts({strFirst, "/dev/no-such-port"});
    qputenv("TORVEX_PORTS", (strSecond + ":/dev/no-such-port:" + strFirst).toLocal8Bit());

    EXPECT_EQ(CRsBasicProtocol::PortPath(1), strFirst);
    EXPECT_EQ(CRsBasicProtocol::PortPath(2), "/dev/no-such-port");
    EXPECT_EQ(CRsBasicProtocol::PortPath(3), strSecond); // duplicates are listed once
    EXPECT_EQ(CRsBasicProtocol::PortPath(4), QString());
    uint8_t list[128];
    memset(list, 0xFF, sizeof list);
    ASSERT_EQ(CRsBasicProtocol::EnumComPorts(list), 2);
    EXPECT_EQ(list[0], 1);
    EXPECT_EQ(list[1], 3);
    EXPECT_EQ(list[2], 0);
    EXPECT_EQ(list[127], 0);
    qunsetenv("TORVEX_PORTS");
}

} // namespace

} // namespace torvex
