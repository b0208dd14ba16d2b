#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace torvex {

// Every screen and dialog the renderer shows, in each language: the texts its
// widgets show (listed beside each picture) hold no Japanese in English, and
// Qt's own dialogs follow the program's language.
namespace {

const QRegularExpression& Japanese() {
    static const QRegularExpression re(
        QStringLiteral("[\\x{3040}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff66}-\\x{ff9f}]"));
    return re;
}

struct RENDERED {
    bool bOk = false;
    QString strLog;
    QMap<QString, QStringList> texts; // picture name -> its texts
};

RENDERED Render(const QString& strFolder, const char* pszLang) {
    RENDERED r;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(TORVEX_BINARY_DIR "/torvex_screens"), {strFolder, "--lang", pszLang});
    r.bOk = p.waitForFinished(100000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    r.strLog = QString::fromUtf8(p.readAll());
    for (const QString& name : QDir(strFolder).entryList({"*.txt"}, QDir::Files)) {
        QFile file(QDir(strFolder).filePath(name));
        if (file.open(QIODevice::ReadOnly))
            r.texts[name.chopped(4)] = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    return r;
}

TEST(ScreensLanguage, NoJapaneseTextLeftInTheEnglishScreens) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const RENDERED en = Render(dir.path(), "en");
    ASSERT_TRUE(en.bOk) << en.strLog.toStdString();
    for (const char* name : {"type_select", "about", "notice_calibration", "judge", "question", "file_dialog",
                             "history", "settings", "main_standard", "main_manual", "main_sequence",
                             "main_settings", "main_manual_plan", "main_sequence_loaded"})
        EXPECT_FALSE(en.texts.value(name).isEmpty()) << name;
    for (auto it = en.texts.begin(); it != en.texts.end(); ++it)
        for (const QString& text : it.value())
            EXPECT_FALSE(text.contains(Japanese())) << it.key().toStdString() << ": " << text.toStdString();
    // Qt's standard buttons in English.
    EXPECT_TRUE(en.texts.value("question").contains("&Yes"))
        << en.texts.value("question").join('|').toStdString();
}

TEST(ScreensLanguage, JapaneseScreensAndQtsOwnDialogsInJapanese) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const RENDERED ja = Render(dir.path(), "ja");
    ASSERT_TRUE(ja.bOk) << ja.strLog.toStdString();
    EXPECT_TRUE(ja.texts.value("main_settings").contains(QString::fromUtf8("表示言語")));
    // Yes/No/Cancel and the file dialog from Qt's own Japanese translation.
    const QStringList question = ja.texts.value("question");
    EXPECT_TRUE(std::any_of(question.begin(), question.end(), [](const QString& t) {
        return t.contains(QString::fromUtf8("はい"));
    })) << question.join('|').toStdString();
    const QStringList files = ja.texts.value("file_dialog");
    EXPECT_GT(
        std::count_if(files.begin(), files.end(), [](const QString& t) { return t.contains(Japanese()); }), 3)
        << files.join('|').toStdString();
}

} // namespace

} // namespace torvex
