#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace torvex {

// Whether the current user may open a serial device, and if not, why and what
// to do. Worked out from the device's owner, group and mode, the user's groups
// and lock files, never by opening the device: opening a real port toggles its
// modem lines, which an instrument may take as a command.
enum PORT_ACCESS {
    PORT_ACCESS_OK,           // may be opened read/write
    PORT_ACCESS_MISSING,      // no such device
    PORT_ACCESS_NOT_IN_GROUP, // the device's group may use it; the user is not in that group
    PORT_ACCESS_RELOGIN,      // the user was added to the group but this login does not have it yet
    PORT_ACCESS_DENIED,       // neither the user nor any group of theirs may use it
    PORT_ACCESS_BUSY,         // another program holds it
};

// What is known about a device and the user, gathered by GatherPortFacts.
struct PORT_FACTS {
    bool m_bExists = false;
    bool m_bAccessOk = false; // access(2) granted read and write
    uint32_t m_ulMode = 0;    // st_mode permission bits
    uint32_t m_ulUid = 0;     // device owner
    uint32_t m_ulGid = 0;     // device group
    QString m_strGroup;       // name of m_ulGid
    uint32_t m_ulEuid = 0;    // the process's user
    QString m_strUser;
    QList<uint32_t> m_listProcessGroups; // groups this login has
    QList<uint32_t> m_listUserGroups;    // groups the user database gives the user (a new login's)
    qint64 m_nHolderPid = 0;             // a program holding the device, 0 when none is known
    QString m_strHolder;                 // its name, when known
};

struct PORT_ACCESS_RESULT {
    PORT_ACCESS m_eAccess = PORT_ACCESS_OK;
    QString m_strReason; // empty when the device may be opened
    QString m_strAction; // what the user can do about it
};

// Folders where serial lock files (LCK..ttyUSB0) are looked for.
QStringList DefaultLockFolders();

// Gathers the facts about strPath. Lock files are looked for in lockFolders;
// open files of other processes in /proc (this process is never a holder).
PORT_FACTS GatherPortFacts(const QString& strPath, const QStringList& lockFolders = DefaultLockFolders());

// The verdict on the facts, with the reason and the remedy in words.
PORT_ACCESS_RESULT JudgePortAccess(const PORT_FACTS& facts);

} // namespace torvex
