#include "journal/JournalRun.h"

#include "files/DataFile.h"
#include "files/TabCode.h"
#include "files/TaggedArchive.h"
#include "files/TorvexDoc.h"
#include "instrument/TorvexCntl.h"
#include "model/ExecData.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace torvex {

namespace {

QString Untitled() {
    return QCoreApplication::translate("ReportWriter", "無題");
}

struct PROPERTY_FIELD {
    const char* pszKey;
    QString CTestProperty::*pMember;
};

const PROPERTY_FIELD kPropertyFields[] = {
    {"company", &CTestProperty::m_strCompanyName},
    {"testPlace", &CTestProperty::m_strTestPlace},
    {"model", &CTestProperty::m_strModel},
    {"serial", &CTestProperty::m_strSerial},
    {"operator", &CTestProperty::m_strOperator},
    {"standard", &CTestProperty::m_strStandard},
    {"machineType", &CTestProperty::m_strMachineType},
    {"temperature", &CTestProperty::m_strTemperature},
    {"humidity", &CTestProperty::m_strHumidity},
    {"atm", &CTestProperty::m_strAtm},
    {"instrumentSerial", &CTestProperty::m_strSimulatorSerial},
    {"instrumentLastCal", &CTestProperty::m_strSimulatorLastCal},
    {"instrumentCalInt", &CTestProperty::m_strSimulatorCalInt},
};

struct EQUIPMENT_FIELD {
    const char* pszKey;
    QString TEST_EQUIPMENT_STRUCT::*pMember;
};

const EQUIPMENT_FIELD kEquipmentFields[] = {
    {"name", &TEST_EQUIPMENT_STRUCT::m_strName},     {"model", &TEST_EQUIPMENT_STRUCT::m_strModel},
    {"serial", &TEST_EQUIPMENT_STRUCT::m_strSerial}, {"lastCal", &TEST_EQUIPMENT_STRUCT::m_strLastCal},
    {"calInt", &TEST_EQUIPMENT_STRUCT::m_strCalInt},
};

std::vector<CExecData>* StepsOfTest(std::vector<CSettingData>& tests, int nEntry) {
    if (nEntry < 0 || nEntry >= int(tests.size())) return nullptr;
    return &tests[size_t(nEntry)].m_listExec;
}

void Overlay(std::vector<CSettingData>& tests, const std::vector<JOURNAL_STEP>& steps) {
    for (const JOURNAL_STEP& s : steps) {
        std::vector<CExecData>* list = StepsOfTest(tests, s.m_nEntry);
        if (!list || s.m_nStep < 0 || s.m_nStep >= int(list->size())) continue;
        CExecData& step = (*list)[size_t(s.m_nStep)];
        step.m_nJudge = s.m_nJudge;
        step.m_strComment = s.m_strComment;
    }
}

// The steps of one list onto the document's own list of the same test.
void OverlayOnto(std::vector<CExecData>& target, const std::vector<CExecData>& source) {
    for (size_t i = 0; i < target.size() && i < source.size(); ++i) {
        target[i].m_nJudge = source[i].m_nJudge;
        target[i].m_strComment = source[i].m_strComment;
    }
}

bool FileHolds(const QString& strPath, const QByteArray& bytes) {
    if (strPath.isEmpty()) return false;
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) && file.size() == bytes.size() && file.readAll() == bytes;
}

} // namespace

QByteArray PropertyToJson(const CTestProperty& p) {
    QJsonObject o;
    for (const PROPERTY_FIELD& f : kPropertyFields)
        o.insert(QLatin1String(f.pszKey), p.*(f.pMember));
    QJsonArray options;
    for (const TEST_EQUIPMENT_STRUCT& eq : p.m_aeqOption) {
        QJsonObject e;
        for (const EQUIPMENT_FIELD& f : kEquipmentFields)
            e.insert(QLatin1String(f.pszKey), eq.*(f.pMember));
        options.append(e);
    }
    o.insert(QStringLiteral("options"), options);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

void PropertyFromJson(const QByteArray& json, CTestProperty& p) {
    const QJsonObject o = QJsonDocument::fromJson(json).object();
    for (const PROPERTY_FIELD& f : kPropertyFields)
        p.*(f.pMember) = o.value(QLatin1String(f.pszKey)).toString();
    const QJsonArray options = o.value(QStringLiteral("options")).toArray();
    for (int i = 0; i < 3; ++i) {
        const QJsonObject e = options.at(i).toObject();
        for (const EQUIPMENT_FIELD& f : kEquipmentFields)
            p.m_aeqOption[i].*(f.pMember) = e.value(QLatin1String(f.pszKey)).toString();
    }
}

std::vector<const CSettingData*> TestsOf(const CTorvexDoc& doc, int nTab) {
    switch (nTab) {
    case TAB_STANDARD:
        return {&doc.m_settingStandard};
    case TAB_MANUAL:
        return {&doc.m_settingManual};
    case TAB_SEQUENCE: {
        std::vector<const CSettingData*> tests;
        for (const auto& entry : doc.m_sequence.m_listEntry)
            tests.push_back(entry.get());
        return tests;
    }
    default:
        return {};
    }
}

QByteArray SourceOf(const CTorvexDoc& doc, int nTab) {
    CArchiveWriter ar;
    if (nTab == TAB_SEQUENCE)
        WriteSequenceFile(doc.m_sequence.m_listEntry, ar);
    else if (nTab == TAB_STANDARD)
        WriteDataFile(doc.m_settingStandard, ar);
    else if (nTab == TAB_MANUAL)
        WriteDataFile(doc.m_settingManual, ar);
    return ar.Buffer();
}

JOURNAL_RUN_START DescribeRun(const CTorvexDoc& doc, int nTab, const CTestProperty& property,
                              uint32_t ulModel, const QString& strInstrument) {
    JOURNAL_RUN_START start;
    start.m_nTab = nTab;
    start.m_strFile = nTab == TAB_MANUAL     ? doc.PathName()
                      : nTab == TAB_SEQUENCE ? doc.m_sequence.m_strSeqPath
                                             : QString();
    start.m_source = SourceOf(doc, nTab);
    // What a file does not carry: the names and test levels of the tests.
    QJsonArray tests;
    for (const CSettingData* cond : TestsOf(doc, nTab))
        tests.append(QJsonObject{{QStringLiteral("name"), cond->m_strTestName},
                                 {QStringLiteral("level"), cond->m_nTestLevel}});
    start.m_tests = QJsonDocument(tests).toJson(QJsonDocument::Compact);
    start.m_ulModel = ulModel;
    start.m_strInstrument = strInstrument;
    start.m_strVersion = QStringLiteral(TORVEX_VERSION);
    start.m_property = PropertyToJson(property);
    start.m_nProcess = QCoreApplication::applicationPid();
    start.m_timeReportStart = nTab == TAB_STANDARD ? property.m_timeStartStandard
                              : nTab == TAB_MANUAL ? property.m_timeStartManual
                                                   : property.m_timeStartSequence;
    return start;
}

std::vector<JOURNAL_STEP> MarkedSteps(const CTorvexDoc& doc, int nTab) {
    std::vector<JOURNAL_STEP> marked;
    const std::vector<const CSettingData*> tests = TestsOf(doc, nTab);
    for (size_t e = 0; e < tests.size(); ++e) {
        const std::vector<CExecData>& steps = tests[e]->m_listExec;
        for (size_t s = 0; s < steps.size(); ++s) {
            if (steps[s].m_nJudge == JUDGE_NONE && steps[s].m_strComment.isEmpty()) continue;
            JOURNAL_STEP j;
            j.m_nEntry = int32_t(e);
            j.m_nStep = int32_t(s);
            j.m_nJudge = steps[s].m_nJudge;
            j.m_strComment = steps[s].m_strComment;
            marked.push_back(std::move(j));
        }
    }
    return marked;
}

bool RebuildTests(const JOURNAL_RUN& run, const std::vector<JOURNAL_STEP>& steps,
                  std::vector<CSettingData>& tests) {
    tests.clear();
    CArchiveReader ar(run.m_source);
    if (run.m_nTab == TAB_SEQUENCE) {
        SequenceEntries entries;
        if (ReadSequenceFile(ar, run.m_ulModel, entries) != READ_OK) return false;
        for (auto& entry : entries)
            tests.push_back(*entry);
    } else if (run.m_nTab == TAB_STANDARD || run.m_nTab == TAB_MANUAL) {
        CSettingData cond;
        std::vector<CExecData> list;
        if (ReadDataFile(ar, run.m_ulModel, cond, list) != READ_OK) return false;
        cond.m_listExec = std::move(list);
        tests.push_back(std::move(cond));
    } else {
        return false;
    }
    const QJsonArray described = QJsonDocument::fromJson(run.m_tests).array();
    for (size_t i = 0; i < tests.size() && i < size_t(described.size()); ++i) {
        const QJsonObject o = described.at(qsizetype(i)).toObject();
        tests[i].m_strTestName = o.value(QStringLiteral("name")).toString(tests[i].m_strTestName);
        tests[i].m_nTestLevel = o.value(QStringLiteral("level")).toInt(tests[i].m_nTestLevel);
    }
    Overlay(tests, steps);
    return true;
}

std::optional<CReportData> ReportOfRun(const JOURNAL_RUN& run, const std::vector<JOURNAL_STEP>& steps) {
    CReportData data;
    if (!RebuildTests(run, steps, data.m_listTest) || data.m_listTest.empty()) return std::nullopt;
    data.m_nTestType = run.m_nTab == TAB_STANDARD   ? REPORT_STANDARD
                       : run.m_nTab == TAB_SEQUENCE ? REPORT_SEQUENCE
                                                    : REPORT_MANUAL;
    PropertyFromJson(run.m_property, data.m_property);
    data.m_ulMachineType = run.m_ulModel;
    data.m_timeStart = run.m_timeReportStart;
    if (run.m_nTab == TAB_SEQUENCE)
        data.m_strSeqFileName = run.m_strFile.isEmpty() ? Untitled() : QFileInfo(run.m_strFile).fileName();
    return data;
}

bool RestoreRun(const JOURNAL_RUN& run, const std::vector<JOURNAL_STEP>& steps, CTorvexDoc& doc,
                CTestProperty& property) {
    std::vector<CSettingData> tests;
    if (!RebuildTests(run, steps, tests) || tests.empty()) return false;
    doc.m_nCurStep = 0;
    const bool bSaved = FileHolds(run.m_strFile, run.m_source);
    switch (run.m_nTab) {
    case TAB_STANDARD:
        doc.m_settingStandard = tests[0];
        emit doc.standardConditionReplaced();
        // Whatever the screen derived again, the judgments are the run's.
        OverlayOnto(doc.m_settingStandard.m_listExec, tests[0].m_listExec);
        property.m_timeStartStandard = run.m_timeReportStart;
        return true;
    case TAB_MANUAL:
        doc.m_settingManual = tests[0];
        if (run.m_strFile.isEmpty())
            doc.ClearPathName();
        else
            doc.SetPathName(run.m_strFile, false);
        doc.m_settingManual.m_strTestName = tests[0].m_strTestName;
        // The screens expand the condition again, which clears every judgment:
        // the run's are put back afterwards.
        emit doc.manualConditionReplaced();
        OverlayOnto(doc.m_settingManual.m_listExec, tests[0].m_listExec);
        doc.SetModifiedFlag(!bSaved);
        property.m_timeStartManual = run.m_timeReportStart;
        return true;
    case TAB_SEQUENCE: {
        SequenceEntries entries;
        for (CSettingData& t : tests)
            entries.push_back(std::make_unique<CSettingData>(std::move(t)));
        doc.m_sequence.Replace(std::move(entries));
        doc.m_sequence.m_strSeqPath = run.m_strFile;
        doc.m_bSequenceModified = !bSaved;
        emit doc.sequencePathChanged();
        emit doc.sequenceChanged();
        property.m_timeStartSequence = run.m_timeReportStart;
        return true;
    }
    default:
        return false;
    }
}

QString RunTabName(int32_t nTab) {
    switch (nTab) {
    case TAB_STANDARD:
        return QStringLiteral("STANDARD");
    case TAB_SEQUENCE:
        return QStringLiteral("SEQUENCE");
    default:
        return QStringLiteral("MANUAL");
    }
}

QString JudgeWord(int32_t nJudge) {
    switch (nJudge) {
    case JUDGE_PASS:
        return QStringLiteral("pass");
    case JUDGE_FAIL:
        return QStringLiteral("fail");
    default:
        return QStringLiteral("none");
    }
}

QString InstrumentIdentity(uint32_t ulModel, int32_t nHWVersion, const QString& strPort, bool bConnected) {
    QString name;
    if (!CTorvexCntl::GetModelName(int32_t(ulModel), name)) name = QStringLiteral("TORVEX ???");
    if (!bConnected) return QStringLiteral("%1 (not connected)").arg(name);
    return QStringLiteral("%1, hardware %2, %3").arg(name).arg(nHWVersion).arg(strPort);
}

} // namespace torvex
