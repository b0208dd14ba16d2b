#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace torvex {

namespace {

const QString kSource = QStringLiteral(TORVEX_SOURCE_DIR);

QByteArray ReadFile(const QString& strPath) {
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The file types installed into a MIME database of their own, which the desktop's
// lookup (here Qt's) reads before the system's.
class MimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_share.isValid());
        const QString packages = m_share.filePath("mime/packages");
        ASSERT_TRUE(QDir().mkpath(packages));
        ASSERT_TRUE(
            QFile::copy(kSource + "/resources/torvex-pilot-mime.xml", packages + "/torvex-pilot-mime.xml"));
        // The database tool accepts the file; Qt reads the same XML.
        ASSERT_EQ(QProcess::execute("update-mime-database", {m_share.filePath("mime")}), 0);
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_share.path()) + ":/usr/share");
    }

    // The type of the bytes alone: the file's name says nothing.
    QString TypeOfContent(const QByteArray& bytes) {
        const QString path = m_files.filePath(QString("file%1.bin").arg(++m_nFiles));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        return QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchContent).name();
    }

    QTemporaryDir m_share, m_files;
    int m_nFiles = 0;
};

TEST_F(MimeTest, DataAndSequenceFilesAreKnownByTheirFirstBytes) {
    const QByteArray data = ReadFile(kSource + "/examples/three_steps.tvx");
    const QByteArray sequence = ReadFile(kSource + "/examples/two_tests.tvxs");
    ASSERT_FALSE(data.isEmpty());
    ASSERT_FALSE(sequence.isEmpty());
    // Old programs wrote the magic as a narrow string: its length, then ASCII.
    const QByteArray narrowData =
        QByteArray("\x18") + "Kelvora TORVEX Data File" + "\x10" + "File Ver.1.0.0.0";
    const QByteArray narrowSequence = QByteArray("\x20") + "Kelvra TORVEX Sequence Data File";

    const struct {
        const char* name;
        QByteArray bytes;
        const char* type;
    } cases[] = {
        {"data file", data, "application/x-torvex-data"},
        {"another data file", ReadFile(kSource + "/examples/pulse_out.tvx"), "application/x-torvex-data"},
        {"sequence file", sequence, "application/x-torvex-sequence"},
        {"narrow data file", narrowData, "application/x-torvex-data"},
        {"narrow sequence file", narrowSequence, "application/x-torvex-sequence"},
        // Neither of ours:
        {"data magic cut short", data.left(20), nullptr},
        {"a sequence name in a data file's length", QByteArray("\xff\xfe\xff\x18") + sequence.mid(4),
         nullptr},
    };
    for (const auto& c : cases) {
        const QString type = TypeOfContent(c.bytes);
        if (c.type) {
            EXPECT_EQ(type.toStdString(), c.type) << c.name;
        } else {
            EXPECT_FALSE(type.startsWith("application/x-torvex")) << c.name << ": " << type.toStdString();
        }
    }
}

TEST_F(MimeTest, TheExtensionNamesTheTypeToo) {
    QMimeDatabase db;
    EXPECT_EQ(db.mimeTypeForFile("test.tvx", QMimeDatabase::MatchExtension).name(),
              "application/x-torvex-data");
    EXPECT_EQ(db.mimeTypeForFile("test.tvxs", QMimeDatabase::MatchExtension).name(),
              "application/x-torvex-sequence");
}

} // namespace

} // namespace torvex
