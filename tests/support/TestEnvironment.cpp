#include "TestEnvironment.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace torvex {

// Defined by the build for each test program.
extern const char* const kTorvexTestHome;

void ApplyTestEnvironment() {
    // Lives until the process ends, then takes the folder with it.
    static QTemporaryDir s_home(QString::fromLocal8Bit(kTorvexTestHome) + "/XXXXXX");
    if (!s_home.isValid()) {
        std::fprintf(stderr, "cannot make a home folder under %s\n", kTorvexTestHome);
        std::exit(1);
    }
    const QByteArray home = QFile::encodeName(s_home.path());
    QDir().mkpath(s_home.path() + "/run");
    QFile::setPermissions(s_home.path() + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", home + "/.config");
    qputenv("XDG_DATA_HOME", home + "/.local/share");
    qputenv("XDG_RUNTIME_DIR", home + "/run");
    qputenv("TORVEX_PORTS_ONLY", "1");
    // The tests read the Japanese texts, whatever the machine's locale; the
    // English tests set TORVEX_LANG=en themselves.
    if (qEnvironmentVariableIsEmpty("TORVEX_LANG")) qputenv("TORVEX_LANG", "ja");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace torvex
