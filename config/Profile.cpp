#include "config/Profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <ctime>
#include <mutex>
#include <optional>
#include <sys/stat.h>

namespace torvex {

namespace {

const qsizetype kMaxValueLength = 519;
// A settings file is a few kilobytes; anything this large is not ours.
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

// The text after '=' of every key as it stands in the file, by section and key.
// QSettings turns an unquoted comma into a list (and "@Name(...)" into other
// types), which would read back as nothing; a hand-edited "Kelvora, Inc." must
// stay what it is.
using RawValues = QHash<std::pair<QString, QString>, QString>;

RawValues ParseRawValues(const QByteArray& content) {
    QString text = QString::fromUtf8(content);
    if (text.startsWith(QChar(0xFEFF))) // an editor's byte order mark
        text.remove(0, 1);
    RawValues values;
    std::optional<QString> section; // none before the first section line
    for (QStringView rawLine : QStringView(text).split(QLatin1Char('\n'))) {
        const QStringView line = rawLine.trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed().toString();
            continue;
        }
        if (!section) continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0) // the last one counts, as in QSettings
            values.insert({*section, line.left(eq).trimmed().toString()},
                          line.mid(eq + 1).trimmed().toString());
    }
    return values;
}

// A key as QSettings looks it up: no empty parts between slashes.
QString NormalizedKey(const QString& strKey) {
    return strKey.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
}

// What tells one version of the file from another: a change by this program,
// an editor or a copy always changes the size, the inode or the status change
// time (which no program can set back).
struct FILE_STAMP {
    bool m_bExists = false;
    qint64 m_nSize = 0;
    qint64 m_nModifiedNs = 0;
    qint64 m_nChangedNs = 0;
    quint64 m_uInode = 0;
    quint64 m_uDevice = 0;
    bool operator==(const FILE_STAMP&) const = default;
};

qint64 Nanoseconds(const timespec& ts) {
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

FILE_STAMP StampOf(const QString& path) {
    FILE_STAMP stamp;
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return stamp;
    stamp.m_bExists = true;
    stamp.m_nSize = st.st_size;
    stamp.m_nModifiedNs = Nanoseconds(st.st_mtim);
    stamp.m_nChangedNs = Nanoseconds(st.st_ctim);
    stamp.m_uInode = st.st_ino;
    stamp.m_uDevice = st.st_dev;
    return stamp;
}

qint64 NowNs() {
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return Nanoseconds(ts);
}

// File times have a coarse grain (a clock tick on most file systems, two
// seconds on some): a change this close to the moment the file was read may
// leave the stamp as it was, so until then the bytes themselves are compared.
const qint64 kStampGrainNs = 2000000000;

struct PROFILE_VALUE {
    QString m_strText;
    bool m_bText = true; // false: QSettings made another type of it; the raw text counts
};

// The settings file as last parsed. Reading it anew for every value made a
// large file slow to use; it is parsed again only when its stamp changed.
struct PROFILE_CACHE {
    QString m_strPath;
    FILE_STAMP m_stamp;
    bool m_bUsable = false;
    QByteArray m_content;
    qint64 m_nReadAtNs = 0; // when m_content was known to be the file's
    QHash<QString, PROFILE_VALUE> m_values;
    std::optional<RawValues> m_raw; // made when first needed
};

std::mutex g_cacheMutex;
std::optional<PROFILE_CACHE> g_cache;

// The values of the settings bytes as QSettings reads them. It parses a private
// copy: QSettings keeps parsed files by path and trusts their size and time to
// the millisecond, so the file itself could give back what it held before a
// quick edit by hand.
bool ParseValues(const QByteArray& content, const QString& path, QHash<QString, PROFILE_VALUE>& values) {
    QTemporaryFile copy(QDir::tempPath() + QStringLiteral("/TORVEX_Pilot-XXXXXX.ini"));
    const bool bCopied = copy.open() && copy.write(content) == content.size() && copy.flush();
    QSettings settings(bCopied ? copy.fileName() : path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return false;
    const QStringList keys = settings.allKeys();
    values.reserve(keys.size());
    for (const QString& key : keys) {
        const QVariant value = settings.value(key);
        if (!value.isValid()) continue;
        const bool bText = value.typeId() == QMetaType::QString;
        values.insert(key, {bText ? value.toString() : QString(), bText});
    }
    return true;
}

void LoadCache(PROFILE_CACHE& cache, const QString& path) {
    cache = PROFILE_CACHE();
    cache.m_strPath = path;
    cache.m_nReadAtNs = NowNs();
    cache.m_stamp = StampOf(path);
    if (CheckFile(path, &cache.m_content) != FileState::Usable) return;
    cache.m_bUsable = ParseValues(cache.m_content, path, cache.m_values);
    // Changed while it was read: parse it again at the next read.
    if (StampOf(path) != cache.m_stamp) cache.m_stamp.m_nSize = -1;
}

// The cache of the file at path, parsed again when the file changed.
PROFILE_CACHE& CurrentCache(const QString& path) {
    if (!g_cache || g_cache->m_strPath != path) {
        g_cache.emplace();
        LoadCache(*g_cache, path);
        return *g_cache;
    }
    PROFILE_CACHE& cache = *g_cache;
    const FILE_STAMP stamp = StampOf(path);
    if (stamp != cache.m_stamp) {
        LoadCache(cache, path);
    } else if (stamp.m_bExists && stamp.m_nChangedNs >= cache.m_nReadAtNs - kStampGrainNs) {
        const qint64 nNow = NowNs();
        QFile file(path);
        const QByteArray content =
            file.open(QIODevice::ReadOnly) ? file.read(kMaxFileSize + 1) : QByteArray();
        if (content == cache.m_content && StampOf(path) == stamp)
            cache.m_nReadAtNs = nNow;
        else
            LoadCache(cache, path);
    }
    return cache;
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
    if (!bFolderOk) return strDefault;
    const std::lock_guard<std::mutex> lock(g_cacheMutex);
    PROFILE_CACHE& cache = CurrentCache(path);
    if (!cache.m_bUsable) return strDefault;
    const auto it = cache.m_values.constFind(NormalizedKey(strSection + QLatin1Char('/') + strKey));
    if (it == cache.m_values.constEnd()) return strDefault;
    if (it->m_bText) return CutValue(it->m_strText);
    if (!cache.m_raw) cache.m_raw = ParseRawValues(cache.m_content);
    return CutValue(cache.m_raw->value({strSection, strKey}));
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
    const std::lock_guard<std::mutex> lock(g_cacheMutex);
    g_cache.reset();
}

} // namespace torvex
