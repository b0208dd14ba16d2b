#pragma once

#include "journal/Journal.h"
#include "run/RunEngine.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace torvex {

class CRunEngine;
class CTorvexDoc;
class CTestProperty;
class CJudgmentStore;
class COperatorDialog;

// Keeps the journal of the runs made through one run engine: the start of a
// run, each step's start and end, pauses, instrument errors, how the run ended,
// and the operator's judgments and comments the moment they are set, also
// after the run (they belong to the last run of that test while it is still
// the test on screen). A run that waits between steps (stop after every step)
// goes on at the next START of the same test.
class CRunRecorder : public QObject {
    Q_OBJECT
public:
    CRunRecorder(CJournal& journal, CRunEngine& engine, CTorvexDoc& doc, CTestProperty& property,
                 CJudgmentStore* pStore, COperatorDialog& dialog, QObject* pParent = nullptr);
    // Ends a run still open as "program ended".
    ~CRunRecorder() override;

    // The instrument the runs use (model type and how it was reached).
    void SetInstrument(uint32_t ulModel, const QString& strIdentity);
    // A run brought back onto its tab: later judgments on that tab belong to it.
    void Adopt(int nTab, qint64 nRun);
    // The program ends: a run still open (or waiting between steps) ends so.
    void ProgramEnding();

    // The run being made or waiting between steps; -1 when none.
    qint64 OpenRun() const { return m_nRun; }

    // How the run engine's end of a run maps to the journal: false for a pause
    // between steps (the run goes on at the next START).
    static bool OutcomeOfEngineEnd(RunEnd eWhy, int32_t& nOutcome);

private:
    void OnStepStarted(int nEntry, int nStep);
    void OnStepEnded(int nEntry, int nStep, int nJudge);
    void OnRunEnded(RunEnd eWhy);
    void OnPauseChanged(bool bPaused);
    void OnRunError(const QString& strText);
    void OnStepsChanged(int nTab, int nEntry, int nFirst, int nLast, const QString& strKind);
    void OnProblem(const QString& strMessage);
    void BeginRun();
    void EndRun(int32_t nOutcome);

    CJournal& m_journal;
    CRunEngine& m_engine;
    CTorvexDoc& m_doc;
    CTestProperty& m_property;
    COperatorDialog& m_dialog;
    uint32_t m_ulModel = 0;
    QString m_strInstrument;

    qint64 m_nRun = -1;      // open run
    int m_nRunTab = 0;       // its tab
    bool m_bRunning = false; // false while it waits between steps
    // The last run of each tab and the test it ran: later judgments join it
    // while the tab still shows that test.
    struct LAST_RUN {
        qint64 nRun = -1;
        QByteArray source;
    } m_aLast[3];
};

} // namespace torvex
