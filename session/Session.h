#pragma once

#include "config/CalibrationSetting.h"
#include "config/InstrumentLink.h"
#include "config/Reconnect.h"
#include "config/TestProperty.h"
#include "files/TorvexDoc.h"
#include "instrument/InstrumentThread.h"
#include "journal/Journal.h"
#include "journal/RunRecorder.h"
#include "results/JudgmentStore.h"
#include "run/RunEngine.h"
#include "run/SequenceListLogic.h"

#include <QObject>
#include <memory>

namespace torvex {

class COperatorDialog;

// The program's one composition root: it owns the instrument thread, the
// document, the test information, the calibration reminder, the run engine
// and the sequence list logic, and wires them together. The desktop program,
// the command line, the benchmarks and the tests build it the same way and
// attach their own operator dialogue and views.
//
// The session is the only writer of the program-wide connection state.
class CSession : public QObject {
    Q_OBJECT
public:
    explicit CSession(COperatorDialog& dialog, QObject* pParent = nullptr);
    ~CSession() override;

    COperatorDialog& Dialog() const { return m_dialog; }
    CInstrumentThread& Instrument() { return *m_pInstrument; }
    CTorvexDoc& Doc() { return m_doc; }
    CTestProperty& Property() { return m_property; }
    CCalibrationSetting& Calibration() { return m_calib; }
    CRunEngine& Engine() { return *m_pEngine; }
    CSequenceListLogic& Sequence() { return *m_pSequence; }
    // What the settings page needs of the instrument.
    CInstrumentLink& Link() { return *m_pLink; }
    // The operator's judgments and comments go through here.
    CJudgmentStore& Judgments() { return m_judgments; }
    CJournal& Journal() { return m_journal; }
    // Records the runs from now on (once the instrument is known); null before.
    CRunRecorder* Recorder() const { return m_pRecorder.get(); }
    // Opens the journal and starts recording runs into it; a journal that
    // cannot be used is told to the operator once and never stops a test.
    bool OpenJournal(const QString& strFolder = CJournal::DefaultFolder());

    // The STANDARD test as its screen starts it: the preset values under the
    // model's rules, its steps, and no run yet that a change would need to be
    // confirmed against. Once the model is known, before the screen is built.
    void SetUpStandardCondition();

    // Views the logic changes; null detaches (nothing is shown).
    void AttachRunView(CRunView* pView);
    void AttachSequenceViews(CStepListView* pSteps, CSequenceListView* pList);

    // Searches the ports for the instrument (waits for the answer while the
    // thread's events go on). True when found; the model type and hardware
    // version are then known.
    bool Connect();
    // The same search started without waiting (the caller prepares what does
    // not depend on the instrument meanwhile), with the model type asked as
    // soon as the instrument is found; EndConnect() waits for both as Connect()
    // does and gives the model type (0 when not found or not told).
    void BeginConnect();
    bool EndConnect(int32_t& nModelType);
    // Ports the last search could not open, and why.
    const QList<CTorvexCntl::PortProblem>& PortProblems() const { return m_portProblems; }
    // The instrument's model type ("QT"), 0 when it does not tell it.
    int32_t QueryModelType();
    // Closes the port, searches again and accepts only the model the program
    // started with; on success the instrument can be reached again.
    RECONNECT_OUTCOME Reconnect();
    bool IsOpen();

    // The model the conditions are set up for, fixed at start-up.
    int32_t MachineType() const { return m_nMachineType; }
    void SetMachineType(int32_t nType);
    int32_t HWVersion() const { return m_nHWVersion; }

    // Demo mode, or the instrument stopped answering.
    bool NotConnected() const;
    void SetNotConnected(bool bNotConnected);

signals:
    // The instrument can be reached again, or no longer.
    void connectionChanged(bool bConnected);

private:
    struct DISCOVERY;
    // Starts the search on the instrument thread, with the model query when asked.
    void StartDiscovery(bool bAskModel);
    std::shared_ptr<DISCOVERY> m_pDiscovery;
    COperatorDialog& m_dialog;
    std::unique_ptr<CInstrumentThread> m_pInstrument;
    CTorvexDoc m_doc;
    CTestProperty m_property;
    CCalibrationSetting m_calib;
    CJournal m_journal;
    CJudgmentStore m_judgments{m_doc};
    std::unique_ptr<CRunEngine> m_pEngine;
    std::unique_ptr<CRunRecorder> m_pRecorder; // after the engine: gone before it
    std::unique_ptr<CSequenceListLogic> m_pSequence;
    std::unique_ptr<CInstrumentLink> m_pLink;
    int32_t m_nMachineType = 0;
    int32_t m_nHWVersion = 0;
    QList<CTorvexCntl::PortProblem> m_portProblems;
};

} // namespace torvex
