#include "instrument/TorvexCntl.h"
#include "model/SettingData.h"
#include "support/SimulatedPort.h"

#include <QThread>
#include <functional>
#include <gtest/gtest.h>

namespace torvex {

namespace {

class TorvexCntlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_ports.Started());
        ASSERT_TRUE(m_cntl.Connect());
        Sim().ClearLog();
    }
    CTorvexSimulator& Sim() { return m_ports[0]; }
    void Reply(const QString& strQuery, const QString& strText) {
        Sim().UpdateOptions([&](SimOptions& o) { o.mapReplies[strQuery] = strText; });
    }

    CSimulatedPorts m_ports{{SimOptions()}};
    CTorvexCntl m_cntl{false};
};

TEST_F(TorvexCntlTest, SendStepSendsParametersInOrder) {
    struct Case {
        const char* pszName;
        std::function<void(CExecData&)> change;
        QStringList expected;
    };
    const Case cases[] = {
        {"CDN without sync: nine commands",
         [](CExecData&) {},
         {"QA", "PC1", "PD500", "PE500", "PF0/1/0", "PG300", "PH75", "PI0?0", "PJ0", "PO0"}},
        {"frequency, time and trigger with continuous output",
         [](CExecData& s) {
             s.m_lFreq = 2500;
             s.m_lTestTime = 3661;
             s.m_bTrigger = s.m_bContinuous = 1;
             s.m_nPola = 2;
             s.m_lVolt = 4000;
         },
         {"QA", "PC2", "PD4000", "PE250", "PF1/1/1", "PG300", "PH75", "PI0?0", "PJ0", "PO:"}},
        {"PULSE OUT names its route in a second PI",
         [](CExecData& s) {
             s.m_nOutputPort = PORT_PULSE_OUT;
             s.m_ulInjLine = 1;
             s.m_nOutputDetail = 1;
         },
         {"QA", "PC1", "PD500", "PE500", "PF0/1/0", "PG300", "PH75", "PI0!1", "PI1", "PJ0", "PO0"}},
        {"synchronised with its angle, all special functions",
         [](CExecData& s) {
             s.m_nSync = 1;
             s.m_lAngle = 270;
             s.m_lFreq = 1;
             s.m_lTestTime = 0;
             s.m_ulInjLine = 0x05;
             s.m_bTrigger = s.m_bModulated = s.m_bContinuous = s.m_bAlternative = 1;
         },
         {"QA", "PC1", "PD500", "PE0", "PF0/0/0", "PG300", "PH75", "PI0%0", "PJ1", "PK270", "PO?"}},
    };
    for (const Case& c : cases) {
        CExecData step;
        c.change(step);
        Sim().ClearLog();
        EXPECT_TRUE(m_cntl.SendStep(step)) << c.pszName;
        EXPECT_EQ(Sim().CommandLog(), c.expected) << c.pszName;
    }
}

TEST_F(TorvexCntlTest, SendStepNeedsTheIdentityAnywhereInTheReply) {
    struct Case {
        const char* pszReply;
        bool bSent;
    } cases[] = {{"KELVORA, TORVEX-K1 V2.10", true},
                 {"ID KELVORA, TORVEX", true},
                 {"KELVORA TORVEX", false},
                 {"kelvora, torvex", false},
                 {"", false}};
    for (const Case& c : cases) {
        Sim().ClearLog();
        Sim().UpdateOptions([&](SimOptions& o) { o.strIdentity = c.pszReply; });
        EXPECT_EQ(m_cntl.SendStep(CExecData()), c.bSent) << c.pszReply;
        EXPECT_EQ(Sim().CommandLog().size(), c.bSent ? 10 : 1) << c.pszReply;
    }
}

TEST_F(TorvexCntlTest, SendStepStopsAtTheFirstFailedCommand) {
    Sim().UpdateOptions([](SimOptions& o) { o.nHangupAfter = 5; }); // QA of Connect, then QA, PC, PD, PE
    EXPECT_FALSE(m_cntl.SendStep(CExecData()));
    EXPECT_EQ(Sim().CommandLog(), QStringList({"QA", "PC1", "PD500", "PE500"}));
}

TEST_F(TorvexCntlTest, PlainCommands) {
    EXPECT_TRUE(m_cntl.StartOutput());
    EXPECT_TRUE(m_cntl.StopOutput());
    EXPECT_TRUE(m_cntl.SetLine(true));
    EXPECT_TRUE(m_cntl.SetLine(false));
    EXPECT_TRUE(m_cntl.ClearError());
    EXPECT_EQ(Sim().CommandLog(), QStringList({"CA", "CB", "CC", "CD", "PN"}));
}

TEST_F(TorvexCntlTest, StatusIsComposedFromTwoCharacters) {
    struct Case {
        const char* pszReply;
        bool bOk;
        uint8_t ucStatus;
    } cases[] = {{"QB00", true, 0x00}, {"QB20", true, 0x02}, {"QB02", true, 0x20}, {"QB21", true, 0x12},
                 {"QB?<", true, 0xCF}, {"QB2", false, 0},    {"QB", false, 0}};
    for (const Case& c : cases) {
        Reply("QB", c.pszReply);
        uint8_t ucStatus = 0xFF;
        EXPECT_EQ(m_cntl.GetStatus(ucStatus), c.bOk) << c.pszReply;
        EXPECT_EQ(ucStatus, c.ucStatus) << c.pszReply;
    }
}

TEST_F(TorvexCntlTest, ErrorCodesAndMessages) {
    const QString strUnknown = "Unknown Error";
    struct Case {
        const char* pszReply;
        int32_t nCode;
        QString strMessage;
    } cases[] = {
        {"QM0", 0, QString()},
        {"QM", 0, QString()},
        {"QM3", 3, strUnknown},
        {"QM12", 12, strUnknown},
        {"QM-1", -1, strUnknown},
        {"QM99999999999", -1, strUnknown},
        {"QM6", 6, QString::fromUtf8("EUT FAIL入力を検出しました")},
        {"QM4", 4, QString::fromUtf8("ライン同期エラー\n試験を開始できません")},
        {"QM9", 9, CTorvexCntl::ErrorMessage(1)},
    };
    EXPECT_TRUE(CTorvexCntl::ErrorMessage(1).startsWith(QString::fromUtf8("非常停止しました\n")));
    for (const Case& c : cases) {
        Reply("QM", c.pszReply);
        int32_t nCode = 77;
        QString strMessage = "x";
        EXPECT_TRUE(m_cntl.GetErrorCode(nCode)) << c.pszReply;
        EXPECT_EQ(nCode, c.nCode) << c.pszReply;
        EXPECT_TRUE(m_cntl.GetErrorMessage(strMessage)) << c.pszReply;
        EXPECT_EQ(strMessage, c.strMessage) << c.pszReply;
    }
}

TEST_F(TorvexCntlTest, TestTimeNeedsHoursMinutesAndSeconds) {
    struct Case {
        const char* pszReply;
        bool bOk;
        int32_t nSeconds;
    } cases[] = {{"QF1/1/1", true, 3661}, {"QF0/0/0", true, 0}, {"QF0/59/", true, 3540},
                 {"QF1/2", false, 0},     {"QF", false, 0},     {"QF999999/0/0", false, 0}};
    for (const Case& c : cases) {
        Reply("QF", c.pszReply);
        int32_t nSeconds = 5;
        EXPECT_EQ(m_cntl.GetTestTime(nSeconds), c.bOk) << c.pszReply;
        EXPECT_EQ(nSeconds, c.nSeconds) << c.pszReply;
    }
}

TEST_F(TorvexCntlTest, ModelTypeAndName) {
    struct Case {
        const char* pszReply;
        int32_t nType;
        const char* pszName;
    } cases[] = {{"AT0", MODEL_K2, "TORVEX-K2"},
                 {"AT1", MODEL_K1, "TORVEX-K1"},
                 {"AT2", 0, "TORVEX ???"},
                 {"AT1 ", 0, "TORVEX ???"}};
    for (const Case& c : cases) {
        Reply("QT", c.pszReply);
        int32_t nType = -1;
        EXPECT_TRUE(m_cntl.GetModelType(nType)) << c.pszReply;
        EXPECT_EQ(nType, c.nType) << c.pszReply;
        QString strName;
        EXPECT_EQ(CTorvexCntl::GetModelName(nType, strName), c.nType != 0);
        EXPECT_EQ(strName, c.pszName);
    }
}

TEST_F(TorvexCntlTest, FailedQueriesLeaveNeutralValues) {
    m_cntl.m_protocol.ClosePort();
    uint8_t ucStatus = 9;
    int32_t nType = 9, nSeconds = 9, nCode = 9;
    QString strMessage = "x";
    EXPECT_FALSE(m_cntl.GetStatus(ucStatus));
    EXPECT_FALSE(m_cntl.GetModelType(nType));
    EXPECT_FALSE(m_cntl.GetTestTime(nSeconds));
    EXPECT_FALSE(m_cntl.GetErrorCode(nCode));
    EXPECT_FALSE(m_cntl.GetErrorMessage(strMessage));
    EXPECT_EQ(ucStatus, 0);
    EXPECT_EQ(nType, 0);
    EXPECT_EQ(nSeconds, 0);
    EXPECT_EQ(nCode, 0);
    EXPECT_EQ(strMessage, QString());
}

} // namespace

} // namespace torvex
