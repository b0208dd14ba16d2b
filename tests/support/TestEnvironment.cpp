#include "TestEnvironment.h"

#include <QByteArray>
#include <QDir>

// Defined by the build for each test program.
extern const char* const kTorvexTestHome;

void ApplyTestEnvironment() {
    const QByteArray home(kTorvexTestHome);
    QDir().mkpath(QString::fromLocal8Bit(home + "/run"));
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", home + "/.config");
    qputenv("XDG_DATA_HOME", home + "/.local/share");
    qputenv("XDG_RUNTIME_DIR", home + "/run");
    qputenv("TORVEX_PORTS_ONLY", "1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}
