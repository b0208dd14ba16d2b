#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <thread>

namespace torvex {

// The plugin files the application object will load for its windows, as the
// environment decides them: the platform plugin (X11 only: Wayland and the
// other platforms are left to the application object) and, unless another
// input method is named, the compose input context. Empty where the platform
// is not X11.
QStringList PlatformPluginFiles(const QString& strPluginDir, const QByteArray& platform,
                                const QByteArray& sessionType, const QByteArray& imModule);

// Start-up work that does not need the application object, done on a helper
// thread while the window thread starts the instrument search and makes the
// application object: the platform plugin and the libraries behind it are
// loaded (the application object then finds them loaded), and fontconfig
// reads its configuration and caches (the first window's fonts then find it
// done). Both are safe from any thread, and nothing here is required: were
// the helper late, the window thread would do the same work itself. The
// helper is joined when this object goes.
class CWarmUp {
public:
    CWarmUp();
    ~CWarmUp();
    CWarmUp(const CWarmUp&) = delete;
    CWarmUp& operator=(const CWarmUp&) = delete;

private:
    std::thread m_thread;
};

} // namespace torvex
