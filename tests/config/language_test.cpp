#include "SettingsFixture.h"

#include "config/IniKeys.h"
#include "config/Language.h"
#include "config/Profile.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace torvex {

namespace {

TEST(Language, OptionBeforeEnvironmentBeforeSettingsBeforeLocale) {
    const QLocale japan(QLocale::Japanese, QLocale::Japan);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale posix = QLocale::c();
    const QLocale germany(QLocale::German, QLocale::Germany);
    struct Case {
        const char* name;
        QString option, environment, choice;
        QLocale locale;
        const char* expected;
    } cases[] = {
        {"locale Japanese", "", "", "auto", japan, "ja"},
        {"locale English", "", "", "auto", us, "en"},
        {"C locale is English", "", "", "auto", posix, "en"},
        {"any other locale is English", "", "", "", germany, "en"},
        {"settings over locale", "", "", "en", japan, "en"},
        {"settings over locale, other way", "", "", "ja", us, "ja"},
        {"environment over settings", "", "ja", "en", us, "ja"},
        {"environment as a locale name", "", "en_US.UTF-8", "ja", japan, "en"},
        {"option over environment", "en", "ja", "ja", japan, "en"},
        {"option over everything", "ja", "en", "en", us, "ja"},
        {"unknown environment is passed over", "", "fr", "ja", us, "ja"},
        {"unknown settings value is passed over", "", "", "klingon", japan, "ja"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveLanguage(c.option, c.environment, c.choice, c.locale), QString(c.expected))
            << c.name;
}

TEST(Language, TheLangOptionIsTakenOutOfTheArguments) {
    struct Case {
        QStringList args;
        bool ok;
        const char* language;
        QStringList rest;
    } cases[] = {
        {{"steps", "a.tvx"}, true, "", {"steps", "a.tvx"}},
        {{"steps", "--lang", "en", "a.tvx"}, true, "en", {"steps", "a.tvx"}},
        {{"--lang=ja", "report"}, true, "ja", {"report"}},
        {{"--lang", "EN"}, true, "en", {}},
        {{"steps", "--lang"}, false, "", {"steps", "--lang"}},
        {{"--lang", "fr", "x"}, false, "", {"x"}},
    };
    for (const Case& c : cases) {
        QStringList args = c.args;
        QString language, error;
        EXPECT_EQ(TakeLanguageOption(args, language, error), c.ok) << c.args.join(' ').toStdString();
        EXPECT_EQ(language, QString(c.language)) << c.args.join(' ').toStdString();
        EXPECT_EQ(args, c.rest) << c.args.join(' ').toStdString();
        EXPECT_EQ(error.isEmpty(), c.ok) << c.args.join(' ').toStdString();
    }
}

struct LanguageChoiceTest : SettingsFixture {};

TEST_F(LanguageChoiceTest, ReadingTheChoiceLeavesTheFileAsItWas) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_USE_TIPS, "1");
    const QByteArray before = RawFile();
    ASSERT_FALSE(before.isEmpty());
    EXPECT_EQ(LanguageChoice(), "auto");
    EXPECT_EQ(RawFile(), before);
    EXPECT_FALSE(before.contains("INI_KEY_LANGUAGE"));
}

TEST_F(LanguageChoiceTest, AChoiceIsStoredUnderItsKeyAndReadBack) {
    for (const char* choice : {"en", "ja", "auto"}) {
        SetLanguageChoice(choice);
        EXPECT_EQ(ReadProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_LANGUAGE, QString()), choice);
        EXPECT_EQ(LanguageChoice(), choice);
    }
    // A value edited by hand into something unknown counts as automatic.
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_LANGUAGE, "fr");
    EXPECT_EQ(LanguageChoice(), "auto");
}

} // namespace

} // namespace torvex
