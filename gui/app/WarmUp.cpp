#include "gui/app/WarmUp.h"

#include <QFile>
#include <QLibraryInfo>
#include <dlfcn.h>
#include <fontconfig/fontconfig.h>
#include <vector>

namespace torvex {

QStringList PlatformPluginFiles(const QString& strPluginDir, const QByteArray& platform,
                                const QByteArray& sessionType, const QByteArray& imModule) {
    // Without QT_QPA_PLATFORM the application object takes X11, unless the
    // desktop session is a Wayland one: then it takes Wayland where that
    // plugin is installed, which is left to it.
    const bool bX11 = platform.isEmpty() ? sessionType != "wayland" : platform == "xcb";
    if (!bX11) return {};
    QStringList files{strPluginDir + QStringLiteral("/platforms/libqxcb.so")};
    if (imModule.isEmpty() || imModule == "compose")
        files << strPluginDir +
                     QStringLiteral("/platforminputcontexts/libcomposeplatforminputcontextplugin.so");
    return files;
}

CWarmUp::CWarmUp() {
    // Asked here, on the window thread: Qt's own answer is kept for when the
    // application object exists.
    const QStringList files =
        PlatformPluginFiles(QLibraryInfo::path(QLibraryInfo::PluginsPath), qgetenv("QT_QPA_PLATFORM"),
                            qgetenv("XDG_SESSION_TYPE"), qgetenv("QT_IM_MODULE"));
    std::vector<QByteArray> paths;
    for (const QString& file : files)
        paths.push_back(QFile::encodeName(file));
    if (!files.isEmpty()) paths.push_back("libXcursor.so.1"); // the X11 plugin loads it for its cursors
    m_thread = std::thread([paths = std::move(paths)] {
        // The handles are kept: Qt keeps its plugins loaded for the life of
        // the program, and a file that is missing is simply not loaded ahead.
        for (const QByteArray& path : paths)
            dlopen(path.constData(), RTLD_LAZY);
        FcInit();
    });
}

CWarmUp::~CWarmUp() {
    m_thread.join();
}

} // namespace torvex
