#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace torvex {

// Every test gets its own empty configuration and home folder, so no test sees
// another's settings file (or the user's own, when run outside ctest).
class SettingsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_oldConfig = qgetenv("XDG_CONFIG_HOME");
        m_oldHome = qgetenv("HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(ConfigDir()));
        qputenv("HOME", QFile::encodeName(HomeDir()));
        QDir().mkpath(HomeDir());
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
        qputenv("HOME", m_oldHome);
    }

    QString ConfigDir() const { return m_dir.path() + "/config"; }
    QString HomeDir() const { return m_dir.path() + "/home"; }
    QString IniFolder() const { return ConfigDir() + "/Kelvora/TORVEX_Pilot"; }
    QString IniPath() const { return IniFolder() + "/TORVEX_Pilot.ini"; }

    QByteArray RawFile() const {
        QFile file(IniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void WriteRawFile(const QByteArray& content) const {
        QDir().mkpath(IniFolder());
        QFile file(IniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }
    // "SECTION/KEY" of every key=value line of the file as it stands on disk.
    QSet<QString> RawKeys() const {
        QSet<QString> keys;
        QString section;
        for (const QString& line : QString::fromUtf8(RawFile()).split('\n')) {
            if (line.startsWith('['))
                section = line.mid(1, line.indexOf(']') - 1);
            else if (line.contains('='))
                keys.insert(section + "/" + line.left(line.indexOf('=')));
        }
        return keys;
    }

    QTemporaryDir m_dir;
    QByteArray m_oldConfig;
    QByteArray m_oldHome;
};

} // namespace torvex
