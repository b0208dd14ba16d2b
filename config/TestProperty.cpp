#include "config/TestProperty.h"

#include "config/IniKeys.h"
#include "config/Profile.h"

namespace torvex {

namespace {

QString TestInfo(const char* key) {
    return ReadProfileValue(INI_SECTION_TEST_INFO, key, QString());
}

struct OptionKeys {
    const char* m_pszName;
    const char* m_pszModel;
    const char* m_pszSerial;
    const char* m_pszLastCal;
    const char* m_pszCalInt;
};

const OptionKeys kOptionKeys[3] = {
    {INI_KEY_OPTION1, INI_KEY_OPTION1_MODEL, INI_KEY_OPTION1_SERIAL, INI_KEY_OPTION1_LAST_CAL,
     INI_KEY_OPTION1_CAL_INT},
    {INI_KEY_OPTION2, INI_KEY_OPTION2_MODEL, INI_KEY_OPTION2_SERIAL, INI_KEY_OPTION2_LAST_CAL,
     INI_KEY_OPTION2_CAL_INT},
    {INI_KEY_OPTION3, INI_KEY_OPTION3_MODEL, INI_KEY_OPTION3_SERIAL, INI_KEY_OPTION3_LAST_CAL,
     INI_KEY_OPTION3_CAL_INT},
};

} // namespace

void CTestProperty::Clear() {
    *this = CTestProperty();
}

void CTestProperty::LoadFromProfile() {
    m_strCompanyName = TestInfo(INI_KEY_COMPANY_NAME);
    m_strTestPlace = TestInfo(INI_KEY_TEST_PLACE);
    m_strModel = TestInfo(INI_KEY_MODEL);
    m_strSerial = TestInfo(INI_KEY_SERIAL);
    m_strOperator = TestInfo(INI_KEY_OPERATOR);
    m_strStandard = TestInfo(INI_KEY_STANDARD);
    m_strMachineType = ReadProfileValue(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_TYPE, QString());
    m_timeStartStandard = 0;
    m_timeStartManual = 0;
    m_timeStartSequence = 0;
    m_strTemperature = TestInfo(INI_KEY_TEMPERATURE);
    m_strHumidity = TestInfo(INI_KEY_HUMIDITY);
    m_strAtm = TestInfo(INI_KEY_ATM);
}

void CTestProperty::LoadEquipmentFromProfile() {
    m_strSimulatorSerial = TestInfo(INI_KEY_SIMULATOR_SERIAL);
    m_strSimulatorLastCal = TestInfo(INI_KEY_SIMULATOR_LAST_CAL);
    m_strSimulatorCalInt = TestInfo(INI_KEY_SIMULATOR_CAL_INT);
    for (int i = 0; i < 3; ++i) {
        const OptionKeys& keys = kOptionKeys[i];
        TEST_EQUIPMENT_STRUCT& eq = m_aeqOption[i];
        eq.m_strName = TestInfo(keys.m_pszName);
        eq.m_strModel = TestInfo(keys.m_pszModel);
        eq.m_strSerial = TestInfo(keys.m_pszSerial);
        eq.m_strLastCal = TestInfo(keys.m_pszLastCal);
        eq.m_strCalInt = TestInfo(keys.m_pszCalInt);
    }
}

} // namespace torvex
