#include "instrument/PortAccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace torvex {

namespace {

// The name serial programs (and QSerialPort) give a device's lock file:
// /dev/ttyUSB0 -> LCK..ttyUSB0, /dev/pts/3 -> LCK..pts_3.
QString LockFileName(const QString& strDevice) {
    QString name = strDevice;
    if (name.startsWith(QLatin1String("/dev/"))) name = name.mid(5);
    name.replace(u'/', u'_');
    return QStringLiteral("LCK..") + name;
}

bool ProcessAlive(qint64 nPid) {
    if (nPid <= 0) return false;
    return ::kill(pid_t(nPid), 0) == 0 || errno == EPERM;
}

QString ProcessName(qint64 nPid) {
    QFile file(QStringLiteral("/proc/%1/comm").arg(nPid));
    if (!file.open(QIODevice::ReadOnly)) return QString();
    return QString::fromLocal8Bit(file.readAll()).trimmed();
}

// The process a lock file names, when it still runs. Lock files hold the
// process id as text (UUCP style, and QLockFile's first line) or, from old
// programs, as a binary int. A binary one is four bytes with a zero among them
// (no process id fills the high byte), which no text lock has; read as text
// it could pass for another number ("12" followed by zeros).
qint64 LockHolder(const QString& strLockFile) {
    QFile file(strLockFile);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray bytes = file.read(64);
    bool bOk = false;
    qint64 nPid = 0;
    if (bytes.size() == int(sizeof(int32_t)) && bytes.contains('\0')) {
        int32_t n = 0;
        memcpy(&n, bytes.constData(), sizeof n);
        nPid = n;
        bOk = true;
    } else {
        nPid = bytes.split('\n').value(0).trimmed().toLongLong(&bOk);
    }
    return bOk && ProcessAlive(nPid) ? nPid : 0;
}

// Another process that has the device open, found through /proc; only the
// processes this user may look into are seen.
qint64 OpenedBy(const QString& strDevice) {
    const QString strTarget = QFileInfo(strDevice).canonicalFilePath();
    if (strTarget.isEmpty()) return 0;
    const qint64 nSelf = QCoreApplication::applicationPid();
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& strPid : pids) {
        bool bOk = false;
        const qint64 nPid = strPid.toLongLong(&bOk);
        if (!bOk || nPid == nSelf) continue;
        const QString strFds = QStringLiteral("/proc/") + strPid + QStringLiteral("/fd");
        const QStringList fds = QDir(strFds).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& strFd : fds)
            if (QFile::symLinkTarget(strFds + u'/' + strFd) == strTarget) return nPid;
    }
    return 0;
}

QList<uint32_t> ProcessGroups() {
    QList<uint32_t> groups;
    const int n = ::getgroups(0, nullptr);
    std::vector<gid_t> list(size_t(n > 0 ? n : 0));
    if (n > 0 && ::getgroups(n, list.data()) == n)
        for (gid_t g : list)
            groups << uint32_t(g);
    const uint32_t egid = uint32_t(::getegid());
    if (!groups.contains(egid)) groups << egid;
    return groups;
}

// The groups a new login of the user would have, from the user database.
QList<uint32_t> DatabaseGroups(const QString& strUser, uint32_t ulPrimary) {
    QList<uint32_t> groups;
    if (strUser.isEmpty()) return groups;
    const QByteArray user = strUser.toLocal8Bit();
    int n = 64;
    std::vector<gid_t> list(static_cast<size_t>(n));
    if (::getgrouplist(user.constData(), gid_t(ulPrimary), list.data(), &n) < 0) {
        list.resize(size_t(n));
        if (::getgrouplist(user.constData(), gid_t(ulPrimary), list.data(), &n) < 0) return groups;
    }
    for (int i = 0; i < n; ++i)
        groups << uint32_t(list[size_t(i)]);
    return groups;
}

} // namespace

QStringList DefaultLockFolders() {
    return {QStringLiteral("/run/lock"), QStringLiteral("/var/lock")};
}

PORT_FACTS GatherPortFacts(const QString& strPath, const QStringList& lockFolders) {
    PORT_FACTS facts;
    facts.m_ulEuid = uint32_t(::geteuid());
    if (const passwd* pw = ::getpwuid(uid_t(facts.m_ulEuid))) {
        facts.m_strUser = QString::fromLocal8Bit(pw->pw_name);
        facts.m_listUserGroups = DatabaseGroups(facts.m_strUser, uint32_t(pw->pw_gid));
    }
    facts.m_listProcessGroups = ProcessGroups();

    const QByteArray path = QFile::encodeName(strPath);
    struct stat st = {};
    if (::stat(path.constData(), &st) != 0) return facts;
    facts.m_bExists = true;
    facts.m_ulMode = uint32_t(st.st_mode) & 07777u;
    facts.m_ulUid = uint32_t(st.st_uid);
    facts.m_ulGid = uint32_t(st.st_gid);
    if (const group* gr = ::getgrgid(st.st_gid)) facts.m_strGroup = QString::fromLocal8Bit(gr->gr_name);
    facts.m_bAccessOk = ::access(path.constData(), R_OK | W_OK) == 0;

    // Lock files name the device as found, whatever link led to it.
    const QString strDevice = QFileInfo(strPath).canonicalFilePath();
    for (const QString& strFolder : lockFolders) {
        if (const qint64 nPid = LockHolder(strFolder + u'/' + LockFileName(strDevice))) {
            facts.m_nHolderPid = nPid;
            break;
        }
    }
    if (facts.m_nHolderPid == QCoreApplication::applicationPid()) facts.m_nHolderPid = 0;
    if (facts.m_nHolderPid == 0) facts.m_nHolderPid = OpenedBy(strPath);
    if (facts.m_nHolderPid != 0) facts.m_strHolder = ProcessName(facts.m_nHolderPid);
    return facts;
}

PORT_ACCESS_RESULT JudgePortAccess(const PORT_FACTS& facts) {
    PORT_ACCESS_RESULT result;
    if (!facts.m_bExists) {
        result.m_eAccess = PORT_ACCESS_MISSING;
        result.m_strReason = QCoreApplication::translate("PortAccess", "the device does not exist");
        result.m_strAction = QCoreApplication::translate(
            "PortAccess", "check that the cable or USB adapter is plugged in and the path is right");
        return result;
    }
    if (!facts.m_bAccessOk) {
        const bool bGroupMay = (facts.m_ulMode & 0060u) == 0060u;
        const bool bInGroupNow = facts.m_listProcessGroups.contains(facts.m_ulGid);
        const bool bInGroupLater = facts.m_listUserGroups.contains(facts.m_ulGid);
        const QString strGroup =
            facts.m_strGroup.isEmpty() ? QString::number(facts.m_ulGid) : facts.m_strGroup;
        if (bGroupMay && !bInGroupNow && bInGroupLater) {
            result.m_eAccess = PORT_ACCESS_RELOGIN;
            result.m_strReason =
                QCoreApplication::translate(
                    "PortAccess", "you were added to the group \"%1\", but this login does not have it yet")
                    .arg(strGroup);
            result.m_strAction = QCoreApplication::translate(
                "PortAccess", "log out and log in again (or restart the computer)");
        } else if (bGroupMay && !bInGroupNow) {
            result.m_eAccess = PORT_ACCESS_NOT_IN_GROUP;
            result.m_strReason =
                QCoreApplication::translate("PortAccess",
                                            "the device belongs to the group \"%1\" and you are not a member")
                    .arg(strGroup);
            result.m_strAction =
                QCoreApplication::translate("PortAccess",
                                            "run: sudo usermod -aG %1 $USER, then log out and log in again")
                    .arg(strGroup);
        } else {
            result.m_eAccess = PORT_ACCESS_DENIED;
            result.m_strReason =
                QCoreApplication::translate(
                    "PortAccess",
                    "the device's permissions (%1, group \"%2\") do not let you read and write it")
                    .arg(QString::number(facts.m_ulMode & 0777u, 8), strGroup);
            result.m_strAction =
                QCoreApplication::translate(
                    "PortAccess", "ask the administrator to give the group \"%1\" read and write access "
                                  "(a udev rule) and to add you to it")
                    .arg(strGroup);
        }
        return result;
    }
    if (facts.m_nHolderPid != 0) {
        result.m_eAccess = PORT_ACCESS_BUSY;
        result.m_strReason =
            facts.m_strHolder.isEmpty()
                ? QCoreApplication::translate("PortAccess", "the device is in use by process %1")
                      .arg(facts.m_nHolderPid)
                : QCoreApplication::translate("PortAccess", "the device is in use by process %1 (%2)")
                      .arg(facts.m_nHolderPid)
                      .arg(facts.m_strHolder);
        result.m_strAction = QCoreApplication::translate(
            "PortAccess", "close that program (another TORVEX_Pilot, a terminal program) and try again");
        return result;
    }
    return result;
}

} // namespace torvex
