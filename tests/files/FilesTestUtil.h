#pragma once

#include "files/TaggedArchive.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <ostream>

namespace torvex {

// Hand-made items for fixtures.
inline QByteArray WideItem(const QString& s) {
    CArchiveWriter w;
    w.WriteString(s);
    return w.Buffer();
}

inline QByteArray ValueItem(int32_t v) {
    CArchiveWriter w;
    w.WriteValue(v);
    return w.Buffer();
}

// A narrow string item with a one-byte length.
inline QByteArray NarrowItem(const QByteArray& text) {
    return char(text.size()) + text;
}

// The strings of a block, in order: a string that starts with '[' or is
// "ExecDataCount" is a tag, and its value is skipped.
inline QStringList BlockStrings(const QByteArray& bytes) {
    QStringList out;
    CArchiveReader ar(bytes);
    while (ar.Remaining() > 0 && !ar.Failed()) {
        QString s = ar.ReadString();
        out << s;
        if (s.startsWith('[') || s == QLatin1String("ExecDataCount")) ar.ReadValue();
    }
    return out;
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

} // namespace torvex
