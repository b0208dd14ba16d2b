#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace torvex {

// How a journalled run ended. Unfinished runs have no outcome yet.
enum JournalOutcome : int32_t {
    OUTCOME_COMPLETED = 0, // every step ran to its end
    OUTCOME_STOPPED = 1,   // the operator stopped it
    OUTCOME_ERROR = 2,     // an instrument error ended it
    OUTCOME_LOST = 3,      // the instrument stopped answering
    OUTCOME_ENDED = 4,     // the program ended while it was open (or died and was found later)
};

// "completed", "stopped", "error", "lost", "ended"; the words the journal
// stores and the command line prints.
QString OutcomeName(int32_t nOutcome);
// The outcome of a stored word; -1 for any other word.
int32_t OutcomeFromName(const QString& strName);

// What is known of a run when its first step starts.
struct JOURNAL_RUN_START {
    int32_t m_nTab = 1;           // 0 STANDARD, 1 MANUAL, 2 SEQUENCE
    QString m_strFile;            // the data or sequence file (empty when none)
    QByteArray m_source;          // the condition or sequence as its file would hold it
    QByteArray m_tests;           // name and level of every test, see DescribeRun
    uint32_t m_ulModel = 0;       // instrument model type
    QString m_strInstrument;      // how the instrument was reached
    QString m_strVersion;         // the program's version
    QByteArray m_property;        // test information, see PropertyToJson
    qint64 m_timeReportStart = 0; // the start time its report shows, seconds since 1970
    qint64 m_nProcess = 0;        // the process making the run
};

// One step's state in a run: its judgment and comment, and when it last ran.
// Entries and steps count from 0; outside a sequence the entry is 0.
struct JOURNAL_STEP {
    int32_t m_nEntry = 0;
    int32_t m_nStep = 0;
    int32_t m_nJudge = 0;
    QString m_strComment;
    qint64 m_msStarted = -1; // milliseconds since 1970, -1 when it never ran
    qint64 m_msEnded = -1;
};

// A run as the journal holds it.
struct JOURNAL_RUN {
    qint64 m_nId = -1;
    qint64 m_msStarted = 0;
    qint64 m_msEnded = -1; // -1 while unfinished
    int32_t m_nOutcome = -1;
    int32_t m_nTab = 1;
    QString m_strFile;
    uint32_t m_ulModel = 0;
    int32_t m_nStepsRun = 0;
    int32_t m_nPassed = 0;
    int32_t m_nFailed = 0;
    // Only filled by Run(), not by ListRuns():
    QByteArray m_source;
    QByteArray m_tests;
    QString m_strInstrument;
    QString m_strVersion;
    QByteArray m_property;
    qint64 m_timeReportStart = 0;

    bool IsFinished() const { return m_msEnded >= 0; }
};

// What the history lists; empty fields filter nothing.
struct JOURNAL_FILTER {
    qint64 m_msFrom = -1;    // started at or after
    qint64 m_msUntil = -1;   // started before
    QString m_strFileText;   // part of the file path, any case
    int32_t m_nOutcome = -2; // -2 any, -1 unfinished, else that outcome
};

// The run journal: every run, every step start and end, every judgment and
// comment, pauses, errors and how the run ended, in an SQLite database (one
// transaction per event, write-ahead log, synced at every commit), so nothing
// acknowledged on screen is lost when the program dies.
//
// A journal that cannot be opened or written never stops anything: the calls
// return false and problem() is emitted once with a text for the operator; a
// file that is not a database is renamed aside and a new journal started.
class CJournal : public QObject {
    Q_OBJECT
public:
    explicit CJournal(QObject* pParent = nullptr);
    ~CJournal() override;

    // <data folder>/Kelvora/TORVEX_Pilot: the desktop program's own data folder,
    // which the command line shares.
    static QString DefaultFolder();
    static QString FileName() { return QStringLiteral("journal.sqlite"); }
    // Loads the database driver (Qt's SQLite plugin and SQLite itself) without
    // opening anything, so that the first Open() finds it ready.
    static void LoadDriver();

    // Opens (creating when missing) the journal in a folder. False, with
    // problem() emitted, when it cannot be used.
    bool Open(const QString& strFolder = DefaultFolder());
    // Only reads: never creates, never moves a file aside (history, reports).
    bool OpenForReading(const QString& strFolder = DefaultFolder());
    bool IsOpen() const { return m_bOpen; }
    QString Path() const { return m_strPath; }
    // The last failure, for the command line.
    QString LastError() const { return m_strLastError; }
    // Where a broken file was moved to by Open(), or empty.
    QString KeptAside() const { return m_strKeptAside; }

    // Writing; each call is one transaction. Calls for run id -1 do nothing.
    // The steps given to BeginRun are those with a judgment or comment already.
    qint64 BeginRun(const JOURNAL_RUN_START& start, const std::vector<JOURNAL_STEP>& steps,
                    qint64 msAt = QDateTime::currentMSecsSinceEpoch());
    bool StepStarted(qint64 nRun, int32_t nEntry, int32_t nStep,
                     qint64 msAt = QDateTime::currentMSecsSinceEpoch());
    bool StepEnded(qint64 nRun, int32_t nEntry, int32_t nStep, int32_t nJudge,
                   qint64 msAt = QDateTime::currentMSecsSinceEpoch());
    // Judgments and comments set by the operator (strKind: "judgment", "batch",
    // "comments"), all given steps in one transaction.
    bool SetSteps(qint64 nRun, const std::vector<JOURNAL_STEP>& steps, const QString& strKind,
                  qint64 msAt = QDateTime::currentMSecsSinceEpoch());
    // A note in the run's record: "pause", "resume", "between", "continue", "error", "recovered".
    bool Note(qint64 nRun, const QString& strKind, const QString& strDetail = QString(),
              qint64 msAt = QDateTime::currentMSecsSinceEpoch());
    // Test information as it stands at the end (the report of the run uses it).
    bool EndRun(qint64 nRun, int32_t nOutcome, const QByteArray& property = QByteArray(),
                qint64 msAt = QDateTime::currentMSecsSinceEpoch());

    // Reading.
    std::vector<JOURNAL_RUN> ListRuns(const JOURNAL_FILTER& filter = JOURNAL_FILTER()) const;
    std::optional<JOURNAL_RUN> Run(qint64 nRun) const;
    // The steps the run touched (judged, commented or run), by entry and step.
    std::vector<JOURNAL_STEP> Steps(qint64 nRun) const;
    // Runs never ended, oldest first.
    std::vector<qint64> UnfinishedRuns() const;
    // Unfinished runs whose process is gone (it died): those a start-up offers
    // to bring back. A run another program is still making is not among them.
    std::vector<qint64> AbandonedRuns() const;

signals:
    // The journal cannot be kept (emitted once until it works again).
    void problem(const QString& strMessage);

private:
    bool OpenAt(const QString& strFolder, bool bWrite);
    bool Prepare(bool bWrite);
    bool Fail(const QString& strMessage, const QString& strDetail);
    bool WriteFailed();
    bool Exec(const QString& strSql);
    bool Transaction(const std::function<bool()>& fnBody);
    bool StoreSteps(qint64 nRun, const std::vector<JOURNAL_STEP>& steps);
    bool AddEvent(qint64 nRun, qint64 msAt, const QString& strKind, int32_t nEntry, int32_t nStep,
                  int32_t nJudge, const QString& strText);
    void Close();

    QString m_strConnection;
    QString m_strPath;
    QString m_strLastError;
    QString m_strKeptAside;
    bool m_bOpen = false;
    bool m_bWarned = false;
    int m_nSchema = 0; // the layout of the open journal (its user_version)
};

} // namespace torvex
