#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace torvex {

// The English translation source: complete, consistent with its sources and
// with the texts of the program as they stand.
namespace {

const QString kTsFile = QStringLiteral(TORVEX_SOURCE_DIR "/i18n/torvex_en.ts");
// The folders whose texts are translated (as the lupdate target scans them).
const QStringList kFolders = {"model",   "files",   "instrument", "config", "run", "results",
                              "journal", "session", "sim",        "cli",    "gui"};

struct TS_MESSAGE {
    QString context, source, translation, type;
};

std::vector<TS_MESSAGE> ReadTs(const QString& path) {
    std::vector<TS_MESSAGE> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return messages;
    QXmlStreamReader xml(&file);
    QString context;
    TS_MESSAGE m;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            if (xml.isEndElement() && xml.name() == QLatin1String("message")) messages.push_back(m);
            continue;
        }
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("message"))
            m = {context, {}, {}, {}};
        else if (xml.name() == QLatin1String("source"))
            m.source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            m.type = xml.attributes().value("type").toString();
            m.translation = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return messages;
}

QString Where(const TS_MESSAGE& m) {
    return m.context + QStringLiteral(": ") + m.source;
}

QStringList Placeholders(const QString& text) {
    static const QRegularExpression re(QStringLiteral("%L?\\d+"));
    QStringList found;
    for (const auto& match : re.globalMatch(text))
        found << match.captured(0);
    found.sort();
    return found;
}

TEST(TranslationSource, EveryEntryIsTranslatedAndKeepsItsPlaceholders) {
    const std::vector<TS_MESSAGE> messages = ReadTs(kTsFile);
    ASSERT_GT(messages.size(), 300u);
    static const QRegularExpression japanese(
        QStringLiteral("[\\x{3040}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff66}-\\x{ff9f}]"));
    for (const TS_MESSAGE& m : messages) {
        EXPECT_TRUE(m.type.isEmpty()) << m.type.toStdString() << " " << Where(m).toStdString();
        EXPECT_FALSE(m.translation.isEmpty()) << Where(m).toStdString();
        EXPECT_FALSE(m.translation.contains(japanese)) << Where(m).toStdString();
        // Arguments filled in by number must all come through, once each.
        EXPECT_EQ(Placeholders(m.translation).join(' ').toStdString(),
                  Placeholders(m.source).join(' ').toStdString())
            << Where(m).toStdString();
        // A menu text keeps its keyboard accelerator.
        if (m.source.contains(QStringLiteral("(&"))) {
            EXPECT_TRUE(m.translation.contains(QLatin1Char('&'))) << Where(m).toStdString();
        }
        // Texts that are put together keep the line breaks at their ends.
        EXPECT_EQ(m.translation.startsWith('\n'), m.source.startsWith('\n')) << Where(m).toStdString();
        EXPECT_EQ(m.translation.endsWith('\n'), m.source.endsWith('\n')) << Where(m).toStdString();
    }
}

TEST(TranslationSource, HoldsEveryTextOfTheSourcesAndNoOther) {
    // lupdate brings a copy up to date with the sources: a text it adds comes
    // in unfinished, a text no longer in the sources is marked vanished.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString copy = dir.filePath("torvex_en.ts");
    ASSERT_TRUE(QFile::copy(kTsFile, copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QProcess lupdate;
    lupdate.setWorkingDirectory(QStringLiteral(TORVEX_SOURCE_DIR));
    lupdate.start(QStringLiteral(TORVEX_LUPDATE),
                  QStringList{"-silent", "-I", ".", "-locations", "none", "-source-language", "ja",
                              "-target-language", "en"} +
                      kFolders + QStringList{"-ts", copy});
    ASSERT_TRUE(lupdate.waitForFinished(120000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    for (const TS_MESSAGE& m : ReadTs(copy))
        EXPECT_TRUE(m.type.isEmpty()) << m.type.toStdString() << " " << Where(m).toStdString();
}

} // namespace

} // namespace torvex
