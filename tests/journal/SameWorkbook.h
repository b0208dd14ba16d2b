#pragma once

// Two workbooks hold the same bytes in every part but the creation time the
// writer stamps into docProps/core.xml (no two writes agree there).

#include <QProcess>
#include <QString>

namespace torvex {

inline QString WorkbookDifference(const QString& strA, const QString& strB) {
    const char* script =
        "import sys, zipfile\n"
        "a, b = (zipfile.ZipFile(p) for p in sys.argv[1:3])\n"
        "na, nb = a.namelist(), b.namelist()\n"
        "if na != nb: print('parts differ', na, nb); sys.exit(0)\n"
        "for n in na:\n"
        "    if n != 'docProps/core.xml' and a.read(n) != b.read(n): print('part differs:', n)\n";
    QProcess p;
    p.start("/usr/bin/python3", {"-c", QString::fromLatin1(script), strA, strB});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("cannot compare: ") + QString::fromUtf8(p.readAllStandardError());
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace torvex
