#include "SettingsFixture.h"

#include "config/Profile.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace torvex {

namespace {

using ProfileTest = SettingsFixture;

// Counts how often a file of a folder is opened, by anyone.
class COpenCounter {
public:
    COpenCounter(const QString& strFolder, const QString& strName)
        : m_nFd(inotify_init1(IN_NONBLOCK)), m_strName(strName) {
        m_nWatch = inotify_add_watch(m_nFd, QFile::encodeName(strFolder).constData(), IN_OPEN);
    }
    ~COpenCounter() { close(m_nFd); }
    bool IsValid() const { return m_nFd >= 0 && m_nWatch >= 0; }
    // Opens since the last call.
    int Take() {
        int n = 0;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t nRead = read(m_nFd, buffer, sizeof buffer);
            if (nRead <= 0) return n;
            for (ssize_t i = 0; i < nRead;) {
                const auto* pEvent = reinterpret_cast<const inotify_event*>(buffer + i);
                if (pEvent->len > 0 && QFile::decodeName(pEvent->name) == m_strName) ++n;
                i += ssize_t(sizeof(inotify_event) + pEvent->len);
            }
        }
    }

private:
    int m_nFd;
    int m_nWatch = -1;
    QString m_strName;
};

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

// A large settings file is parsed once: reads of an unchanged file do not even
// open it. (Right after a change they may, until the file's time stamp is
// coarse enough to tell the next change.)
TEST_F(ProfileTest, ReadsOfAnUnchangedFileDoNotOpenIt) {
    QByteArray content = "[INI_SECTION_TEST_INFO]\n";
    for (int i = 0; i < 2000; ++i)
        content += "KEY" + QByteArray::number(i) + "=value " + QByteArray::number(i) + ", more\n";
    WriteRawFile(content);
    COpenCounter opens(IniFolder(), "TORVEX_Pilot.ini");
    ASSERT_TRUE(opens.IsValid());

    QDeadlineTimer settled(10000);
    do {
        QThread::msleep(100);
        opens.Take();
        EXPECT_EQ(ReadProfileValue("INI_SECTION_TEST_INFO", "KEY7", ""), "value 7, more");
    } while (opens.Take() > 0 && !settled.hasExpired());
    ASSERT_FALSE(settled.hasExpired()) << "every read opens the file";

    for (int i = 0; i < 2000; i += 20)
        EXPECT_EQ(ReadProfileValue("INI_SECTION_TEST_INFO", QString("KEY%1").arg(i), ""),
                  QString("value %1, more").arg(i));
    EXPECT_EQ(ReadProfileValue("INI_SECTION_TEST_INFO", "KEY2000", "none"), "none");
    EXPECT_EQ(ReadProfileValue("INI_SECTION_PROPERTY", "KEY1", "none"), "none");
    EXPECT_EQ(opens.Take(), 0);

    // Still every change is seen at once.
    WriteProfileValue("INI_SECTION_TEST_INFO", "KEY5", "new");
    EXPECT_EQ(ReadProfileValue("INI_SECTION_TEST_INFO", "KEY5", ""), "new");
}

// Another program's change is seen at the next read, however it was made and
// however soon after the last read.
TEST_F(ProfileTest, ChangesByAnotherProgramAreSeenAtTheNextRead) {
    const QByteArray before = "[INI_SECTION_TEST_INFO]\nINI_KEY_MODEL=EUT-1\nINI_KEY_SERIAL=S1\n";
    const QByteArray after = "[INI_SECTION_TEST_INFO]\nINI_KEY_MODEL=EUT-2\nINI_KEY_SERIAL=S1\n";
    const auto inPlace = [this](const QByteArray& bytes) {
        QFile file(IniPath());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.write(bytes);
        file.resize(bytes.size());
    };
    const struct {
        const char* name;
        std::function<void()> change;
        QString model; // read after the change
    } cases[] = {
        {"rewritten in place, same size", [&] { inPlace(after); }, "EUT-2"},
        {"same size, modification time put back",
         [&] {
             struct stat st;
             ASSERT_EQ(stat(QFile::encodeName(IniPath()).constData(), &st), 0);
             inPlace(after);
             const timespec times[2] = {st.st_atim, st.st_mtim};
             ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(IniPath()).constData(), times, 0), 0);
         },
         "EUT-2"},
        {"replaced by rename, as editors save",
         [&] {
             QFile file(IniPath() + ".new");
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write(after + "INI_KEY_OPERATOR=someone\n");
             file.close();
             ASSERT_EQ(rename(QFile::encodeName(file.fileName()).constData(),
                              QFile::encodeName(IniPath()).constData()),
                       0);
         },
         "EUT-2"},
        {"removed", [&] { QFile::remove(IniPath()); }, "default"},
        {"not text any more", [&] { inPlace(QByteArray(before.size(), '\0')); }, "default"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteRawFile(before);
        EXPECT_EQ(ReadProfileValue("INI_SECTION_TEST_INFO", "INI_KEY_MODEL", "default"), "EUT-1");
        c.change();
        EXPECT_EQ(ReadProfileValue("INI_SECTION_TEST_INFO", "INI_KEY_MODEL", "default"), c.model);
        EXPECT_EQ(ReadProfileValue("INI_SECTION_TEST_INFO", "INI_KEY_MODEL", "default"), c.model);
    }
    // The garbage is kept aside at the next write, as ever.
    WriteProfileValue("INI_SECTION_TEST_INFO", "INI_KEY_SERIAL", "S2");
    EXPECT_EQ(RawFile(), "[INI_SECTION_TEST_INFO]\nINI_KEY_SERIAL=S2\n");
    EXPECT_TRUE(QFileInfo::exists(IniPath() + ".bad"));
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

} // namespace torvex
