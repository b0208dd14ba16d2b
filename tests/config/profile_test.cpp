#include "SettingsFixture.h"

#include "config/Profile.h"

#include <QFileInfo>
#include <unistd.h>

namespace {

using ProfileTest = SettingsFixture;

TEST_F(ProfileTest, NoFileGivesDefaultsAndFirstWriteCreatesFolderAndFile) {
    EXPECT_EQ(ReadProfileValue("INI_SECTION_PROPERTY", "INI_KEY_LOG", "ON"), "ON");
    EXPECT_FALSE(QFileInfo::exists(IniPath()));
    EXPECT_EQ(ProfilePath(), IniPath());

    WriteProfileValue("INI_SECTION_PROPERTY", "INI_KEY_LOG", "OFF");
    ASSERT_TRUE(QFileInfo(IniPath()).isFile());
    EXPECT_EQ(ReadProfileValue("INI_SECTION_PROPERTY", "INI_KEY_LOG", "ON"), "OFF");
    EXPECT_EQ(ReadProfileValue("INI_SECTION_PROPERTY", "INI_KEY_FOLDER", "dflt"), "dflt");
}

TEST_F(ProfileTest, EveryWriteIsOnDiskWhenTheCallReturns) {
    WriteProfileValue("INI_SECTION_TEST_INFO", "INI_KEY_OPERATOR", "first");
    EXPECT_TRUE(RawFile().contains("[INI_SECTION_TEST_INFO]\nINI_KEY_OPERATOR=first\n"));
    WriteProfileValue("INI_SECTION_TEST_INFO", "INI_KEY_OPERATOR", "second");
    WriteProfileValue("INI_SECTION_TEST_INFO", "INI_KEY_ATM", "1013");
    const QByteArray raw = RawFile();
    EXPECT_TRUE(raw.contains("INI_KEY_OPERATOR=second\n")) << raw.constData();
    EXPECT_TRUE(raw.contains("INI_KEY_ATM=1013\n")) << raw.constData();
}

// A file or folder standing where the settings must go: reads give defaults,
// writes change nothing and nothing crashes.
TEST_F(ProfileTest, BlockedLocationGivesDefaults) {
    struct Case {
        const char* name;
        QString blockingFile; // a plain file at this path
        bool iniIsFolder;     // a folder where the settings file belongs
    };
    const Case cases[] = {
        {"company folder is a file", ConfigDir() + "/Kelvora", false},
        {"program folder is a file", ConfigDir() + "/Kelvora/TORVEX_Pilot", false},
        {"settings file is a folder", QString(), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(ConfigDir()).removeRecursively();
        QDir().mkpath(ConfigDir());
        if (c.iniIsFolder) {
            QDir().mkpath(IniPath());
        } else {
            QDir().mkpath(QFileInfo(c.blockingFile).path());
            QFile f(c.blockingFile);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("not a folder");
        }
        EXPECT_EQ(ReadProfileValue("INI_SECTION_PROPERTY", "INI_KEY_LOG", "ON"), "ON");
        WriteProfileValue("INI_SECTION_PROPERTY", "INI_KEY_LOG", "OFF");
        EXPECT_EQ(ReadProfileValue("INI_SECTION_PROPERTY", "INI_KEY_LOG", "ON"), "ON");
        if (c.iniIsFolder) {
            EXPECT_TRUE(QFileInfo(IniPath()).isDir());
        } else {
            QFile f(c.blockingFile);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll(), "not a folder");
        }
    }
}

// A file that is not settings text reads as empty; the next write keeps it
// aside byte for byte and starts a clean file.
TEST_F(ProfileTest, GarbageFileReadsAsDefaultsAndIsKeptAsideOnWrite) {
    QByteArray binary("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    binary += "\n[INI_SECTION_PROPERTY]\nINI_KEY_LOG=OFF\n"; // looks like ours, but the file is binary
    QByteArray shiftJis("[INI_SECTION_TEST_INFO]\nINI_KEY_OPERATOR=\x93\xfa\x96\x7b\n");
    QByteArray huge(2 * 1024 * 1024, 'x');
    const struct {
        const char* name;
        QByteArray content;
    } cases[] = {{"binary", binary}, {"not UTF-8", shiftJis}, {"huge", huge}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(IniPath() + ".bad");
        WriteRawFile(c.content);
        EXPECT_EQ(ReadProfileValue("INI_SECTION_PROPERTY", "INI_KEY_LOG", "ON"), "ON");
        EXPECT_EQ(ReadProfileValue("INI_SECTION_TEST_INFO", "INI_KEY_OPERATOR", "-"), "-");

        WriteProfileValue("INI_SECTION_TEST_INFO", "INI_KEY_MODEL", "EUT-1");
        EXPECT_EQ(RawFile(), "[INI_SECTION_TEST_INFO]\nINI_KEY_MODEL=EUT-1\n");
        QFile aside(IniPath() + ".bad");
        ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
        EXPECT_TRUE(aside.readAll() == c.content);
    }
}

TEST_F(ProfileTest, UnreadableFileReadsAsDefaults) {
    WriteProfileValue("INI_SECTION_PROPERTY", "INI_KEY_LOG", "OFF");
    QFile::setPermissions(IniPath(), QFileDevice::WriteOwner);
    if (access(QFile::encodeName(IniPath()).constData(), R_OK) == 0) {
        QFile::setPermissions(IniPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        GTEST_SKIP() << "file permissions do not bind this user";
    }
    EXPECT_EQ(ReadProfileValue("INI_SECTION_PROPERTY", "INI_KEY_LOG", "ON"), "ON");
    WriteProfileValue("INI_SECTION_PROPERTY", "INI_KEY_FOLDER", "/logs/");
    EXPECT_EQ(ReadProfileValue("INI_SECTION_PROPERTY", "INI_KEY_FOLDER", ""), "/logs/");
    EXPECT_TRUE(QFileInfo::exists(IniPath() + ".bad"));
}

TEST_F(ProfileTest, ValuesReadBackExactlyAsWritten) {
    const QString long519 = QString(519, 'a');
    // A character outside the BMP straddling the cut must not leave half of it.
    const QString straddling = QString(518, 'b') + QString::fromUtf8("𠮷") + "tail";
    const struct {
        QString written;
        QString expected;
    } cases[] = {
        {"", ""},
        {"Kelvora, Inc.", "Kelvora, Inc."},
        {"a,b,,c", "a,b,,c"},
        {"\"quoted\"", "\"quoted\""},
        {"x=y;z # not a comment", "x=y;z # not a comment"},
        {"  leading and trailing  ", "  leading and trailing  "},
        {"C:\\Logs\\new\\", "C:\\Logs\\new\\"},
        {"@String(x)", "@String(x)"},
        {"[INI_SECTION_PROPERTY]", "[INI_SECTION_PROPERTY]"},
        {QString::fromUtf8("株式会社 計測 ①㈱"), QString::fromUtf8("株式会社 計測 ①㈱")},
        {long519, long519},
        {long519 + "cut", long519},
        {straddling, QString(518, 'b')},
    };
    int n = 0;
    for (const auto& c : cases) {
        const QString key = QString("KEY%1").arg(n++);
        SCOPED_TRACE(c.written.left(40).toStdString());
        WriteProfileValue("INI_SECTION_TEST_INFO", key, c.written);
        EXPECT_EQ(ReadProfileValue("INI_SECTION_TEST_INFO", key, "default"), c.expected);
    }
}

// Values typed into the file by hand read as the text after '='.
TEST_F(ProfileTest, HandEditedValuesReadAsTyped) {
    // As a Windows editor saves it: byte order mark and CR LF.
    WriteRawFile("\xEF\xBB\xBF[INI_SECTION_CONTACT_INFO]\r\n"
                 "INI_KEY_CONTACT_COMPANY=Kelvora, Inc.\r\n"
                 "INI_KEY_CONTACT_DEPT = Service,  Calibration \r\n"
                 "INI_KEY_PHONE=@Rect(1 2 3 4)\r\n"
                 "INI_KEY_FAX=045-000-0000\r\n");
    EXPECT_EQ(ReadProfileValue("INI_SECTION_CONTACT_INFO", "INI_KEY_CONTACT_COMPANY", ""), "Kelvora, Inc.");
    EXPECT_EQ(ReadProfileValue("INI_SECTION_CONTACT_INFO", "INI_KEY_CONTACT_DEPT", ""),
              "Service,  Calibration");
    EXPECT_EQ(ReadProfileValue("INI_SECTION_CONTACT_INFO", "INI_KEY_PHONE", ""), "@Rect(1 2 3 4)");
    EXPECT_EQ(ReadProfileValue("INI_SECTION_CONTACT_INFO", "INI_KEY_FAX", ""), "045-000-0000");
}

} // namespace
