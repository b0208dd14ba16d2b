#pragma once

#include <QString>
#include <QtGlobal>

namespace torvex {

// One piece of optional test equipment listed in the report.
struct TEST_EQUIPMENT_STRUCT {
    QString m_strName;
    QString m_strModel;
    QString m_strSerial;
    QString m_strLastCal;
    QString m_strCalInt;
};

// Test information for the report workbook, kept in the settings file.
class CTestProperty {
public:
    CTestProperty() = default;
    virtual ~CTestProperty() = default;

    // Every text empty, the start times unset.
    void Clear();
    // The test information and the instrument model type from the settings
    // file; the start times unset. The equipment fields are left as they are.
    void LoadFromProfile();
    // The tester and option equipment fields from the settings file, as the
    // settings page shows them (and as a report made without that page needs).
    void LoadEquipmentFromProfile();

    QString m_strCompanyName;
    QString m_strTestPlace;
    QString m_strModel;  // product / model of the equipment under test
    QString m_strSerial; // serial number of the equipment under test
    QString m_strOperator;
    QString m_strStandard;
    QString m_strMachineType; // instrument model type as stored ("1", "17")
    // First start of each kind of test, seconds since 1970; 0 = none yet.
    qint64 m_timeStartStandard = 0;
    qint64 m_timeStartManual = 0;
    qint64 m_timeStartSequence = 0;
    QString m_strTemperature;
    QString m_strHumidity;
    QString m_strAtm;
    QString m_strSimulatorSerial;
    QString m_strSimulatorLastCal;
    QString m_strSimulatorCalInt;
    TEST_EQUIPMENT_STRUCT m_aeqOption[3];
};

} // namespace torvex
