#include "config/ManualLocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace torvex {

namespace {

TEST(ManualLocation, FoldersOfAnInstalledAndABuiltProgram) {
    EXPECT_EQ(ManualFolders("/opt/torvex/bin"),
              QStringList({"/opt/torvex/bin", "/opt/torvex/bin/docs", "/opt/torvex/share/doc/torvex-pilot",
                           "/usr/share/doc/torvex-pilot"}));
    // Installed by the package: the package's folder is named once.
    EXPECT_EQ(ManualFolders("/usr/bin"),
              QStringList({"/usr/bin", "/usr/bin/docs", "/usr/share/doc/torvex-pilot"}));
}

TEST(ManualLocation, LanguageFirstThenFolderOrder) {
    const QString ja = ManualFileName("ja"), en = ManualFileName("en");
    ASSERT_FALSE(ja.isEmpty());
    ASSERT_FALSE(en.isEmpty());
    EXPECT_NE(ja, en);
    EXPECT_TRUE(ManualFileName("fr").isEmpty());

    struct Case {
        const char* name;
        QStringList files; // "folder/name" made under the temporary root
        QString strLanguage;
        QString strExpected; // empty: none found
    };
    const QString p = "program/", d = "program/docs/", s = "share/doc/torvex-pilot/";
    const Case cases[] = {
        {"beside the program", {p + ja, p + en}, "ja", p + ja},
        {"build tree", {d + ja, d + en}, "ja", d + ja},
        {"installed", {s + ja, s + en}, "ja", s + ja},
        {"beside the program wins", {s + ja, p + ja}, "ja", p + ja},
        {"the language before the folder", {p + en, s + ja}, "ja", s + ja},
        {"English asked", {p + ja, s + en}, "en", s + en},
        {"only the other language", {d + en}, "ja", d + en},
        {"only the other language, asked English", {s + ja}, "en", s + ja},
        {"unknown language: Japanese first", {p + en, s + ja}, "fr", s + ja},
        {"a folder by that name is no manual", {p + ja + "/x"}, "ja", ""},
        {"none", {}, "ja", ""},
    };
    for (const Case& c : cases) {
        QTemporaryDir root;
        const QDir dir(root.path());
        for (const QString& strFile : c.files) {
            dir.mkpath(QFileInfo(dir.filePath(strFile)).path());
            QFile file(dir.filePath(strFile));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << c.name;
            file.write("%PDF-1.4\n");
        }
        const QStringList folders = {dir.filePath("program"), dir.filePath("program/docs"),
                                     dir.filePath("share/doc/torvex-pilot")};
        const QString strFound = FindManual(c.strLanguage, folders);
        EXPECT_EQ(strFound, c.strExpected.isEmpty() ? QString() : dir.filePath(c.strExpected)) << c.name;
    }
}

TEST(ManualLocation, JapaneseUnlessTheInterfaceIsTranslated) {
    EXPECT_EQ(ManualLanguage(), "ja");
}

} // namespace

} // namespace torvex
