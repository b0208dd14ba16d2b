#include "run/TestLog.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace torvex {

TEST(TestLog, NamedAfterTheStartAndNeverReplacingALog) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    const QDateTime when(QDate(2024, 4, 3), QTime(14, 5, 9));
    EXPECT_EQ(CTestLog::FileName(folder, when, false), folder + "20240403_140509.tvx");
    EXPECT_EQ(CTestLog::FileName(folder, when, true), folder + "20240403_140509.tvxs");
    QFile first(folder + "20240403_140509.tvx");
    ASSERT_TRUE(first.open(QIODevice::WriteOnly));
    first.close();
    EXPECT_EQ(CTestLog::FileName(folder, when, false), folder + "20240403_140509_2.tvx");
}

} // namespace torvex
