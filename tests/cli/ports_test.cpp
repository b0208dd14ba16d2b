#include "support/TorvexProcess.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

namespace torvex {

namespace {

// ctest sets TORVEX_PORTS_ONLY=1, so only the ports named here are listed.
TORVEX_RUN RunPorts(const QStringList& args) {
    return RunTorvex(QStringList{"ports"} + args, 30000);
}

// A pseudo-terminal nobody else holds: a serial device the test may list.
class CPty {
public:
    CPty() {
        m_fd = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_fd >= 0 && ::grantpt(m_fd) == 0 && ::unlockpt(m_fd) == 0)
            m_strPath = QString::fromLocal8Bit(::ptsname(m_fd));
    }
    ~CPty() {
        if (m_fd >= 0) ::close(m_fd);
    }
    QString Path() const { return m_strPath; }

private:
    int m_fd = -1;
    QString m_strPath;
};

TEST(CliPorts, ListsEveryGivenPortWithItsVerdict) {
    CPty pty;
    ASSERT_FALSE(pty.Path().isEmpty());
    QTemporaryDir dir;
    const QString link = dir.filePath("torvex-link");
    ASSERT_TRUE(QFile::link(pty.Path(), link));

    // The link is listed as its device, once, under the number the device has.
    const TORVEX_RUN r = RunPorts({"--port", pty.Path(), "--port", dir.filePath("ttyUSB7"), "--port", link});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_EQ(r.out,
              QString("1  %1\n"
                      "    access:        may be opened\n"
                      "2  %2\n"
                      "    access:        cannot be opened: the device does not exist\n"
                      "    what to do:    check that the cable or USB adapter is plugged in and the path "
                      "is right\n")
                  .arg(pty.Path(), dir.filePath("ttyUSB7")));
}

TEST(CliPorts, ExitCodes) {
    QTemporaryDir dir;
    struct Case {
        QStringList args;
        int nExit;
    };
    const Case cases[] = {
        {{}, 1},                                  // no port at all
        {{"--port", dir.filePath("ttyUSB0")}, 1}, // none may be opened
        {{"--port"}, 2},                          // wrong usage
        {{"--bogus"}, 2},
    };
    for (const Case& c : cases) {
        const TORVEX_RUN r = RunPorts(c.args);
        EXPECT_EQ(r.exitCode, c.nExit) << c.args.join(' ').toStdString();
        if (c.nExit == 2) {
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        }
    }
    const TORVEX_RUN help = RunPorts({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("/dev/serial/by-id/"));
}

} // namespace

} // namespace torvex
