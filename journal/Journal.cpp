#include "journal/Journal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>
#include <atomic>
#include <cerrno>
#include <csignal>

namespace torvex {

namespace {

// The texts the operator sees; each is whole, only the path and the reason are filled in.
const char* const kCannotOpen = QT_TRANSLATE_NOOP(
    "Journal", "試験ジャーナルを開けません。試験は続けられますが、結果はジャーナルに記録されません。\n%1");
const char* const kCannotWrite = QT_TRANSLATE_NOOP(
    "Journal",
    "試験ジャーナルに書き込めません。試験は続けられますが、結果はジャーナルに記録されません。\n%1");
const char* const kKeptAside = QT_TRANSLATE_NOOP(
    "Journal",
    "試験ジャーナルがデータベースとして読めないため、%1 として残し、新しいジャーナルを作りました。");

const char* const kOutcomeNames[] = {"completed", "stopped", "error", "lost", "ended"};

// SQLite's result codes that say the file is no database (or a damaged one).
bool IsBrokenFile(const QSqlError& e) {
    const int code = e.nativeErrorCode().toInt() & 0xff;
    return code == 26 /* SQLITE_NOTADB */ || code == 11 /* SQLITE_CORRUPT */;
}

// How long a write waits for a lock held by another program before it gives
// up: short, since writes happen on the thread the operator works on.
const int kBusyTimeoutMs = 250;

// The journal's layout: user_version says which. 1 kept the copies of the
// files and the test information in the runs table; from 2 on they live in
// run_data, so that listing the runs reads small rows only.
const int kSchemaVersion = 2;

const char kRunDataTable[] = "CREATE TABLE run_data("
                             " run INTEGER PRIMARY KEY,"
                             " tests BLOB NOT NULL,"
                             " property BLOB NOT NULL,"
                             " source BLOB NOT NULL)";

// The runs' counts of passed and failed steps follow every judgment stored
// (2 passed, 1 failed), so that no write counts a run's steps anew.
const char kCountInserted[] = "CREATE TRIGGER steps_counted AFTER INSERT ON steps BEGIN"
                              " UPDATE runs SET passed = passed + (NEW.judgment = 2),"
                              " failed = failed + (NEW.judgment = 1) WHERE id = NEW.run; END";
const char kCountUpdated[] = "CREATE TRIGGER steps_recounted AFTER UPDATE OF judgment ON steps BEGIN"
                             " UPDATE runs SET passed = passed + (NEW.judgment = 2) - (OLD.judgment = 2),"
                             " failed = failed + (NEW.judgment = 1) - (OLD.judgment = 1) WHERE id = NEW.run; END";

const char* const kSchema[] = {
    "CREATE TABLE runs("
    " id INTEGER PRIMARY KEY,"
    " started INTEGER NOT NULL,"
    " ended INTEGER,"
    " outcome TEXT,"
    " tab INTEGER NOT NULL,"
    " file TEXT NOT NULL,"
    " model INTEGER NOT NULL,"
    " steps_run INTEGER NOT NULL DEFAULT 0,"
    " passed INTEGER NOT NULL DEFAULT 0,"
    " failed INTEGER NOT NULL DEFAULT 0,"
    " report_start INTEGER NOT NULL,"
    " process INTEGER NOT NULL DEFAULT 0,"
    " instrument TEXT NOT NULL,"
    " version TEXT NOT NULL)",
    "CREATE INDEX runs_unfinished ON runs(ended) WHERE ended IS NULL",
    kRunDataTable,
    "CREATE TABLE steps("
    " run INTEGER NOT NULL,"
    " entry INTEGER NOT NULL,"
    " step INTEGER NOT NULL,"
    " judgment INTEGER NOT NULL DEFAULT 0,"
    " comment TEXT NOT NULL DEFAULT '',"
    " started INTEGER,"
    " ended INTEGER,"
    " PRIMARY KEY(run, entry, step)) WITHOUT ROWID",
    "CREATE TABLE events("
    " id INTEGER PRIMARY KEY,"
    " run INTEGER NOT NULL,"
    " at INTEGER NOT NULL,"
    " kind TEXT NOT NULL,"
    " entry INTEGER,"
    " step INTEGER,"
    " judgment INTEGER,"
    " text TEXT)",
    "CREATE INDEX events_run ON events(run)",
    kCountInserted,
    kCountUpdated,
};

// From 1 to 2: the large columns move to run_data.
const char* const kMigrateFrom1[] = {
    kRunDataTable,
    "INSERT INTO run_data(run, tests, property, source) SELECT id, tests, property, source FROM runs",
    "ALTER TABLE runs DROP COLUMN tests",
    "ALTER TABLE runs DROP COLUMN property",
    "ALTER TABLE runs DROP COLUMN source",
    "UPDATE runs SET passed = (SELECT count(*) FROM steps WHERE run = runs.id AND judgment = 2),"
    " failed = (SELECT count(*) FROM steps WHERE run = runs.id AND judgment = 1)",
    kCountInserted,
    kCountUpdated,
};

qint64 OrMinusOne(const QVariant& v) {
    return v.isNull() ? -1 : v.toLongLong();
}

} // namespace

QString OutcomeName(int32_t nOutcome) {
    if (nOutcome < 0 || nOutcome > OUTCOME_ENDED) return QString();
    return QString::fromLatin1(kOutcomeNames[nOutcome]);
}

int32_t OutcomeFromName(const QString& strName) {
    for (int32_t i = 0; i <= OUTCOME_ENDED; ++i)
        if (strName == QLatin1String(kOutcomeNames[i])) return i;
    return -1;
}

CJournal::CJournal(QObject* pParent) : QObject(pParent) {
    static std::atomic<int> s_nNext{0};
    m_strConnection = QStringLiteral("journal-%1").arg(s_nNext.fetch_add(1));
}

CJournal::~CJournal() {
    Close();
}

QString CJournal::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Kelvora/TORVEX_Pilot");
}

void CJournal::LoadDriver() {
    // Without the driver, Open() tells what is missing; nothing to say here.
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) return;
    const QString name = QStringLiteral("TORVEX_Pilot-driver");
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    QSqlDatabase::removeDatabase(name);
}

void CJournal::Close() {
    if (QSqlDatabase::contains(m_strConnection)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_strConnection, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_strConnection);
    }
    m_bOpen = false;
}

bool CJournal::Fail(const QString& strMessage, const QString& strDetail) {
    m_strLastError = strDetail;
    if (!m_bWarned) {
        m_bWarned = true;
        emit problem(strMessage);
    }
    return false;
}

bool CJournal::Open(const QString& strFolder) {
    return OpenAt(strFolder, true);
}

bool CJournal::OpenForReading(const QString& strFolder) {
    return OpenAt(strFolder, false);
}

bool CJournal::OpenAt(const QString& strFolder, bool bWrite) {
    Close();
    m_strPath = QDir(strFolder).filePath(FileName());
    const QString where = QDir::toNativeSeparators(m_strPath);
    if (!bWrite && !QFileInfo(m_strPath).isFile()) {
        m_strLastError = QStringLiteral("no journal at %1").arg(where);
        return false;
    }
    if (bWrite && !QDir().mkpath(strFolder))
        return Fail(QCoreApplication::translate("Journal", kCannotOpen).arg(where),
                    QStringLiteral("cannot create the folder %1").arg(strFolder));
    for (int attempt = 0; attempt < 2; ++attempt) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_strConnection);
        db.setDatabaseName(m_strPath);
        if (!bWrite) db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            const QString detail = db.lastError().text();
            db = QSqlDatabase();
            Close();
            return Fail(QCoreApplication::translate("Journal", kCannotOpen).arg(where + "\n" + detail),
                        detail);
        }
        m_bOpen = true;
        if (Prepare(bWrite)) return true;
        QSqlQuery probe(QSqlDatabase::database(m_strConnection, false));
        const bool bBroken = !probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) &&
                             IsBrokenFile(probe.lastError());
        const QString detail = probe.lastError().isValid() ? probe.lastError().text() : m_strLastError;
        probe = QSqlQuery();
        db = QSqlDatabase();
        Close();
        if (!bBroken || !bWrite || attempt > 0)
            return Fail(QCoreApplication::translate("Journal", kCannotOpen).arg(where + "\n" + detail),
                        detail);
        // Not a database: keep it for whoever wants to look at it, never overwrite it.
        const QString aside = m_strPath + QStringLiteral(".bad-") +
                              QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss"));
        QString target = aside;
        for (int i = 2; QFileInfo::exists(target); ++i)
            target = aside + QStringLiteral("_%1").arg(i);
        if (!QFile::rename(m_strPath, target))
            return Fail(QCoreApplication::translate("Journal", kCannotOpen).arg(where + "\n" + detail),
                        detail);
        for (const char* suffix : {"-wal", "-shm"})
            if (QFileInfo::exists(m_strPath + suffix)) QFile::rename(m_strPath + suffix, target + suffix);
        m_strKeptAside = target;
        // Told once: the new journal works, so no second warning follows.
        if (!m_bWarned) {
            m_bWarned = true;
            emit problem(
                QCoreApplication::translate("Journal", kKeptAside).arg(QDir::toNativeSeparators(target)));
        }
    }
    return false;
}

bool CJournal::Exec(const QString& strSql) {
    QSqlQuery q(QSqlDatabase::database(m_strConnection, false));
    if (q.exec(strSql)) return true;
    m_strLastError = q.lastError().text();
    return false;
}

bool CJournal::Prepare(bool bWrite) {
    if (!Exec(QStringLiteral("PRAGMA busy_timeout=%1").arg(kBusyTimeoutMs))) return false;
    QSqlQuery v(QSqlDatabase::database(m_strConnection, false));
    if (!v.exec(QStringLiteral("PRAGMA user_version")) || !v.next()) {
        m_strLastError = v.lastError().text();
        return false;
    }
    m_nSchema = v.value(0).toInt();
    v = QSqlQuery();
    if (!bWrite) return true;
    if (m_nSchema > kSchemaVersion) {
        m_strLastError = QStringLiteral("the journal was made by a newer version (layout %1)").arg(m_nSchema);
        return false;
    }
    // The write-ahead log keeps the file whole whenever the program dies; FULL
    // syncs the log at every commit, so a commit survives a power loss as well.
    QSqlQuery q(QSqlDatabase::database(m_strConnection, false));
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.next()) {
        m_strLastError = q.lastError().text();
        return false;
    }
    if (q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0) {
        m_strLastError = QStringLiteral("no write-ahead log: %1").arg(q.value(0).toString());
        return false;
    }
    q = QSqlQuery();
    if (!Exec(QStringLiteral("PRAGMA synchronous=FULL"))) return false;
    if (m_nSchema == kSchemaVersion) return true;
    // A new journal, or one of an older layout brought up to date: all or nothing.
    const bool ok = Transaction([this] {
        if (m_nSchema == 0) {
            for (const char* sql : kSchema)
                if (!Exec(QString::fromLatin1(sql))) return false;
        } else {
            for (const char* sql : kMigrateFrom1)
                if (!Exec(QString::fromLatin1(sql))) return false;
        }
        return Exec(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
    });
    if (ok) m_nSchema = kSchemaVersion;
    return ok;
}

bool CJournal::Transaction(const std::function<bool()>& fnBody) {
    if (!Exec(QStringLiteral("BEGIN IMMEDIATE"))) return false;
    if (fnBody() && Exec(QStringLiteral("COMMIT"))) return true;
    const QString error = m_strLastError;
    Exec(QStringLiteral("ROLLBACK"));
    m_strLastError = error;
    return false;
}

bool CJournal::WriteFailed() {
    return Fail(QCoreApplication::translate("Journal", kCannotWrite)
                    .arg(QDir::toNativeSeparators(m_strPath) + "\n" + m_strLastError),
                m_strLastError);
}

bool CJournal::AddEvent(qint64 nRun, qint64 msAt, const QString& strKind, int32_t nEntry, int32_t nStep,
                        int32_t nJudge, const QString& strText) {
    QSqlQuery q(QSqlDatabase::database(m_strConnection, false));
    q.prepare(QStringLiteral("INSERT INTO events(run, at, kind, entry, step, judgment, text) "
                             "VALUES(?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(nRun);
    q.addBindValue(msAt);
    q.addBindValue(strKind);
    q.addBindValue(nEntry < 0 ? QVariant(QMetaType::fromType<int>()) : QVariant(nEntry));
    q.addBindValue(nStep < 0 ? QVariant(QMetaType::fromType<int>()) : QVariant(nStep));
    q.addBindValue(nJudge < 0 ? QVariant(QMetaType::fromType<int>()) : QVariant(nJudge));
    q.addBindValue(strText.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(strText));
    if (q.exec()) return true;
    m_strLastError = q.lastError().text();
    return false;
}

bool CJournal::StoreSteps(qint64 nRun, const std::vector<JOURNAL_STEP>& steps) {
    QSqlQuery q(QSqlDatabase::database(m_strConnection, false));
    q.prepare(QStringLiteral("INSERT INTO steps(run, entry, step, judgment, comment) VALUES(?, ?, ?, ?, ?) "
                             "ON CONFLICT(run, entry, step) DO UPDATE SET"
                             " judgment = excluded.judgment, comment = excluded.comment"));
    for (const JOURNAL_STEP& s : steps) {
        q.addBindValue(nRun);
        q.addBindValue(s.m_nEntry);
        q.addBindValue(s.m_nStep);
        q.addBindValue(s.m_nJudge);
        q.addBindValue(s.m_strComment.isNull() ? QString(QLatin1String("")) : s.m_strComment);
        if (!q.exec()) {
            m_strLastError = q.lastError().text();
            return false;
        }
    }
    return true;
}

qint64 CJournal::BeginRun(const JOURNAL_RUN_START& start, const std::vector<JOURNAL_STEP>& steps,
                          qint64 msAt) {
    // A journal that could not be opened (locked, say) is tried again at every run.
    if (!m_bOpen && !m_strPath.isEmpty()) OpenAt(QFileInfo(m_strPath).absolutePath(), true);
    if (!m_bOpen) return -1;
    qint64 nRun = -1;
    const bool ok = Transaction([&] {
        QSqlQuery q(QSqlDatabase::database(m_strConnection, false));
        q.prepare(QStringLiteral("INSERT INTO runs(started, tab, file, model, instrument, version, report_start,"
                                 " process) VALUES(?, ?, ?, ?, ?, ?, ?, ?)"));
        q.addBindValue(msAt);
        q.addBindValue(start.m_nTab);
        q.addBindValue(start.m_strFile.isNull() ? QString(QLatin1String("")) : start.m_strFile);
        q.addBindValue(qint64(start.m_ulModel));
        q.addBindValue(start.m_strInstrument.isNull() ? QString(QLatin1String("")) : start.m_strInstrument);
        q.addBindValue(start.m_strVersion.isNull() ? QString(QLatin1String("")) : start.m_strVersion);
        q.addBindValue(start.m_timeReportStart);
        q.addBindValue(start.m_nProcess);
        if (!q.exec()) {
            m_strLastError = q.lastError().text();
            return false;
        }
        nRun = q.lastInsertId().toLongLong();
        QSqlQuery d(QSqlDatabase::database(m_strConnection, false));
        d.prepare(QStringLiteral("INSERT INTO run_data(run, tests, property, source) VALUES(?, ?, ?, ?)"));
        d.addBindValue(nRun);
        d.addBindValue(start.m_tests.isNull() ? QByteArray("") : start.m_tests);
        d.addBindValue(start.m_property.isNull() ? QByteArray("") : start.m_property);
        d.addBindValue(start.m_source.isNull() ? QByteArray("") : start.m_source);
        if (!d.exec()) {
            m_strLastError = d.lastError().text();
            return false;
        }
        return StoreSteps(nRun, steps) &&
               AddEvent(nRun, msAt, QStringLiteral("start"), -1, -1, -1, start.m_strFile);
    });
    if (!ok) {
        WriteFailed();
        return -1;
    }
    return nRun;
}

bool CJournal::StepStarted(qint64 nRun, int32_t nEntry, int32_t nStep, qint64 msAt) {
    if (nRun < 0 || !m_bOpen) return false;
    const bool ok = Transaction([&] {
        QSqlQuery q(QSqlDatabase::database(m_strConnection, false));
        q.prepare(QStringLiteral("INSERT INTO steps(run, entry, step, judgment, comment, started)"
                                 " VALUES(?, ?, ?, 0, '', ?) ON CONFLICT(run, entry, step) DO UPDATE SET"
                                 " judgment = 0, started = excluded.started, ended = NULL"));
        q.addBindValue(nRun);
        q.addBindValue(nEntry);
        q.addBindValue(nStep);
        q.addBindValue(msAt);
        if (!q.exec()) {
            m_strLastError = q.lastError().text();
            return false;
        }
        QSqlQuery u(QSqlDatabase::database(m_strConnection, false));
        u.prepare(QStringLiteral("UPDATE runs SET steps_run = steps_run + 1 WHERE id = ?"));
        u.addBindValue(nRun);
        if (!u.exec()) {
            m_strLastError = u.lastError().text();
            return false;
        }
        return AddEvent(nRun, msAt, QStringLiteral("step-start"), nEntry, nStep, 0, {});
    });
    if (!ok) return WriteFailed();
    return true;
}

bool CJournal::StepEnded(qint64 nRun, int32_t nEntry, int32_t nStep, int32_t nJudge, qint64 msAt) {
    if (nRun < 0 || !m_bOpen) return false;
    const bool ok = Transaction([&] {
        QSqlQuery q(QSqlDatabase::database(m_strConnection, false));
        q.prepare(QStringLiteral("INSERT INTO steps(run, entry, step, judgment, comment, ended)"
                                 " VALUES(?, ?, ?, ?, '', ?) ON CONFLICT(run, entry, step) DO UPDATE SET"
                                 " judgment = excluded.judgment, ended = excluded.ended"));
        q.addBindValue(nRun);
        q.addBindValue(nEntry);
        q.addBindValue(nStep);
        q.addBindValue(nJudge);
        q.addBindValue(msAt);
        if (!q.exec()) {
            m_strLastError = q.lastError().text();
            return false;
        }
        return AddEvent(nRun, msAt, QStringLiteral("step-end"), nEntry, nStep, nJudge, {});
    });
    if (!ok) return WriteFailed();
    return true;
}

bool CJournal::SetSteps(qint64 nRun, const std::vector<JOURNAL_STEP>& steps, const QString& strKind,
                        qint64 msAt) {
    if (nRun < 0 || !m_bOpen) return false;
    const bool ok = Transaction([&] {
        if (!StoreSteps(nRun, steps)) return false;
        // One step is recorded whole; a batch is recorded as what it did.
        if (steps.size() == 1)
            return AddEvent(nRun, msAt, strKind, steps[0].m_nEntry, steps[0].m_nStep, steps[0].m_nJudge,
                            steps[0].m_strComment);
        return AddEvent(nRun, msAt, strKind, steps.empty() ? -1 : steps[0].m_nEntry, -1,
                        steps.empty() ? -1 : steps[0].m_nJudge, QString::number(steps.size()));
    });
    if (!ok) return WriteFailed();
    return true;
}

bool CJournal::Note(qint64 nRun, const QString& strKind, const QString& strDetail, qint64 msAt) {
    if (nRun < 0 || !m_bOpen) return false;
    const bool ok = Transaction([&] { return AddEvent(nRun, msAt, strKind, -1, -1, -1, strDetail); });
    if (!ok) return WriteFailed();
    return true;
}

bool CJournal::EndRun(qint64 nRun, int32_t nOutcome, const QByteArray& property, qint64 msAt) {
    if (nRun < 0 || !m_bOpen) return false;
    const bool ok = Transaction([&] {
        QSqlQuery q(QSqlDatabase::database(m_strConnection, false));
        q.prepare(QStringLiteral("UPDATE runs SET ended = ?, outcome = ? WHERE id = ?"));
        q.addBindValue(msAt);
        q.addBindValue(OutcomeName(nOutcome));
        q.addBindValue(nRun);
        if (!q.exec()) {
            m_strLastError = q.lastError().text();
            return false;
        }
        if (!property.isEmpty()) {
            QSqlQuery d(QSqlDatabase::database(m_strConnection, false));
            d.prepare(QStringLiteral("UPDATE run_data SET property = ? WHERE run = ?"));
            d.addBindValue(property);
            d.addBindValue(nRun);
            if (!d.exec()) {
                m_strLastError = d.lastError().text();
                return false;
            }
        }
        return AddEvent(nRun, msAt, QStringLiteral("end"), -1, -1, -1, OutcomeName(nOutcome));
    });
    if (!ok) return WriteFailed();
    return true;
}

// ---------------------------------------------------------------- reading

namespace {

const char kListColumns[] = "id, started, ended, outcome, tab, file, model, steps_run, passed, failed";

void ReadListColumns(const QSqlQuery& q, JOURNAL_RUN& r) {
    r.m_nId = q.value(0).toLongLong();
    r.m_msStarted = q.value(1).toLongLong();
    r.m_msEnded = OrMinusOne(q.value(2));
    r.m_nOutcome = q.value(3).isNull() ? -1 : OutcomeFromName(q.value(3).toString());
    r.m_nTab = q.value(4).toInt();
    r.m_strFile = q.value(5).toString();
    r.m_ulModel = uint32_t(q.value(6).toLongLong());
    r.m_nStepsRun = q.value(7).toInt();
    r.m_nPassed = q.value(8).toInt();
    r.m_nFailed = q.value(9).toInt();
}

} // namespace

std::vector<JOURNAL_RUN> CJournal::ListRuns(const JOURNAL_FILTER& f) const {
    std::vector<JOURNAL_RUN> runs;
    if (!m_bOpen) return runs;
    QStringList where;
    if (f.m_msFrom >= 0) where << QStringLiteral("started >= :from");
    if (f.m_msUntil >= 0) where << QStringLiteral("started < :until");
    if (!f.m_strFileText.isEmpty()) where << QStringLiteral("instr(lower(file), lower(:text)) > 0");
    if (f.m_nOutcome == -1) where << QStringLiteral("ended IS NULL");
    if (f.m_nOutcome >= 0) where << QStringLiteral("outcome = :outcome");
    QSqlQuery q(QSqlDatabase::database(m_strConnection, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1 FROM runs%2 ORDER BY id DESC")
                  .arg(QLatin1String(kListColumns),
                       where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where.join(" AND ")));
    if (f.m_msFrom >= 0) q.bindValue(QStringLiteral(":from"), f.m_msFrom);
    if (f.m_msUntil >= 0) q.bindValue(QStringLiteral(":until"), f.m_msUntil);
    if (!f.m_strFileText.isEmpty()) q.bindValue(QStringLiteral(":text"), f.m_strFileText);
    if (f.m_nOutcome >= 0) q.bindValue(QStringLiteral(":outcome"), OutcomeName(f.m_nOutcome));
    if (!q.exec()) return runs;
    while (q.next()) {
        JOURNAL_RUN r;
        ReadListColumns(q, r);
        runs.push_back(std::move(r));
    }
    return runs;
}

std::optional<JOURNAL_RUN> CJournal::Run(qint64 nRun) const {
    if (!m_bOpen) return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(m_strConnection, false));
    // A journal of the first layout, only read, keeps the copies in the runs table.
    q.prepare(QStringLiteral("SELECT %1, source, tests, instrument, version, property, report_start"
                             " FROM %2 WHERE id = ?")
                  .arg(QLatin1String(kListColumns),
                       m_nSchema >= 2 ? QLatin1String("runs JOIN run_data ON run_data.run = runs.id")
                                      : QLatin1String("runs")));
    q.addBindValue(nRun);
    if (!q.exec() || !q.next()) return std::nullopt;
    JOURNAL_RUN r;
    ReadListColumns(q, r);
    r.m_source = q.value(10).toByteArray();
    r.m_tests = q.value(11).toByteArray();
    r.m_strInstrument = q.value(12).toString();
    r.m_strVersion = q.value(13).toString();
    r.m_property = q.value(14).toByteArray();
    r.m_timeReportStart = q.value(15).toLongLong();
    return r;
}

std::vector<JOURNAL_STEP> CJournal::Steps(qint64 nRun) const {
    std::vector<JOURNAL_STEP> steps;
    if (!m_bOpen) return steps;
    QSqlQuery q(QSqlDatabase::database(m_strConnection, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT entry, step, judgment, comment, started, ended FROM steps"
                             " WHERE run = ? ORDER BY entry, step"));
    q.addBindValue(nRun);
    if (!q.exec()) return steps;
    while (q.next()) {
        JOURNAL_STEP s;
        s.m_nEntry = q.value(0).toInt();
        s.m_nStep = q.value(1).toInt();
        s.m_nJudge = q.value(2).toInt();
        s.m_strComment = q.value(3).toString();
        s.m_msStarted = OrMinusOne(q.value(4));
        s.m_msEnded = OrMinusOne(q.value(5));
        steps.push_back(std::move(s));
    }
    return steps;
}

std::vector<qint64> CJournal::UnfinishedRuns() const {
    std::vector<qint64> ids;
    if (!m_bOpen) return ids;
    QSqlQuery q(QSqlDatabase::database(m_strConnection, false));
    if (!q.exec(QStringLiteral("SELECT id FROM runs WHERE ended IS NULL ORDER BY id"))) return ids;
    while (q.next())
        ids.push_back(q.value(0).toLongLong());
    return ids;
}

std::vector<qint64> CJournal::AbandonedRuns() const {
    std::vector<qint64> ids;
    if (!m_bOpen) return ids;
    QSqlQuery q(QSqlDatabase::database(m_strConnection, false));
    if (!q.exec(QStringLiteral("SELECT id, process FROM runs WHERE ended IS NULL ORDER BY id"))) return ids;
    while (q.next()) {
        const qint64 pid = q.value(1).toLongLong();
        // Signal 0 only asks whether the process exists.
        const bool bAlive = pid > 0 && pid != QCoreApplication::applicationPid() &&
                            (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
        if (!bAlive) ids.push_back(q.value(0).toLongLong());
    }
    return ids;
}

} // namespace torvex
