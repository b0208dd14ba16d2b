#include "config/Profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>

namespace {

const qsizetype kMaxValueLength = 519;
// A settings file is a few kilobytes; anything this large is not ours, and
// reading it at every access would stall the program.
const qint64 kMaxFileSize = 1024 * 1024;

// The path, and whether its folder exists (false: blocked by a file, or no
// configuration folder at all).
QString BuildPath(bool* pbFolderOk) {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty()) {
        *pbFolderOk = false;
        return QString();
    }
    const QString folder = base + QStringLiteral("/Kelvora/TORVEX_Pilot");
    *pbFolderOk = CreateFolders(folder);
    return folder + QStringLiteral("/TORVEX_Pilot.ini");
}

enum class FileState { Missing, Usable, Unusable, Blocked };

FileState CheckFile(const QString& path, QByteArray* pContent) {
    QFileInfo info(path);
    if (!info.exists()) return FileState::Missing;
    if (info.isDir()) return FileState::Blocked;
    if (!info.isFile() || info.size() > kMaxFileSize) return FileState::Unusable;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return FileState::Unusable;
    QByteArray content = file.read(kMaxFileSize + 1);
    if (content.size() > kMaxFileSize || content.contains('\0')) return FileState::Unusable;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(content); // decoding happens on conversion
    Q_UNUSED(text);
    if (decoder.hasError()) return FileState::Unusable;
    if (pContent) *pContent = std::move(content);
    return FileState::Usable;
}

// The text after '=' of a key as it stands in the file. QSettings turns an
// unquoted comma into a list (and "@Name(...)" into other types), which would
// read back as nothing; a hand-edited "Kelvora, Inc." must stay what it is.
QString RawValue(const QByteArray& content, const QString& strSection, const QString& strKey) {
    QString text = QString::fromUtf8(content);
    if (text.startsWith(QChar(0xFEFF))) // an editor's byte order mark
        text.remove(0, 1);
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool bInSection = false;
    QString found;
    for (const QString& rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            bInSection = line.mid(1, line.size() - 2).trimmed() == strSection;
            continue;
        }
        if (!bInSection) continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && line.left(eq).trimmed() == strKey)
            found = line.mid(eq + 1).trimmed(); // the last one counts, as in QSettings
    }
    return found;
}

// Cut without splitting a surrogate pair.
QString CutValue(const QString& value) {
    if (value.size() <= kMaxValueLength) return value;
    qsizetype n = kMaxValueLength;
    if (value.at(n - 1).isHighSurrogate()) --n;
    return value.left(n);
}

} // namespace

bool CreateFolders(const QString& strPath) {
    if (strPath.isEmpty()) return false;
    QFileInfo info(strPath);
    if (info.exists()) return info.isDir();
    return QDir().mkpath(strPath) && QFileInfo(strPath).isDir();
}

QString ProfilePath() {
    bool bFolderOk = false;
    return BuildPath(&bFolderOk);
}

QString ReadProfileValue(const QString& strSection, const QString& strKey, const QString& strDefault) {
    bool bFolderOk = false;
    const QString path = BuildPath(&bFolderOk);
    QByteArray content;
    if (!bFolderOk || CheckFile(path, &content) != FileState::Usable) return strDefault;
    QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return strDefault;
    const QVariant value = settings.value(strSection + QLatin1Char('/') + strKey);
    if (!value.isValid()) return strDefault;
    if (value.typeId() == QMetaType::QString) return CutValue(value.toString());
    return CutValue(RawValue(content, strSection, strKey));
}

void WriteProfileValue(const QString& strSection, const QString& strKey, const QString& strValue) {
    bool bFolderOk = false;
    const QString path = BuildPath(&bFolderOk);
    if (!bFolderOk) return;
    switch (CheckFile(path, nullptr)) {
    case FileState::Blocked:
        return;
    case FileState::Unusable: {
        // Keep what was there for whoever wants to look at it; the program
        // goes on with a fresh file.
        const QString aside = path + QStringLiteral(".bad");
        QFile::remove(aside);
        if (!QFile::rename(path, aside)) return;
        break;
    }
    case FileState::Missing:
    case FileState::Usable:
        break;
    }
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(strSection + QLatin1Char('/') + strKey, strValue);
    settings.sync(); // QSettings saves through QSaveFile, which syncs to disk
}
