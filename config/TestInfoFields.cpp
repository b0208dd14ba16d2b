#include "config/TestInfoFields.h"

#include "config/IniKeys.h"
#include "config/Profile.h"

namespace torvex {

namespace {

template <QString CTestProperty::*Member> QString& Field(CTestProperty& rProperty) {
    return rProperty.*Member;
}

template <int N, QString TEST_EQUIPMENT_STRUCT::*Member> QString& Option(CTestProperty& rProperty) {
    return rProperty.m_aeqOption[N].*Member;
}

#define TORVEX_OPTION_FIELDS(n)                                                                              \
    {INI_KEY_OPTION##n, &Option<n - 1, &TEST_EQUIPMENT_STRUCT::m_strName>, true},                            \
        {INI_KEY_OPTION##n##_MODEL, &Option<n - 1, &TEST_EQUIPMENT_STRUCT::m_strModel>, true},               \
        {INI_KEY_OPTION##n##_SERIAL, &Option<n - 1, &TEST_EQUIPMENT_STRUCT::m_strSerial>, true},             \
        {INI_KEY_OPTION##n##_LAST_CAL, &Option<n - 1, &TEST_EQUIPMENT_STRUCT::m_strLastCal>, true}, {        \
        INI_KEY_OPTION##n##_CAL_INT, &Option<n - 1, &TEST_EQUIPMENT_STRUCT::m_strCalInt>, true               \
    }

} // namespace

const QVector<TEST_INFO_FIELD>& TestInfoFields() {
    static const QVector<TEST_INFO_FIELD> fields = {
        {INI_KEY_COMPANY_NAME, &Field<&CTestProperty::m_strCompanyName>, false},
        {INI_KEY_TEST_PLACE, &Field<&CTestProperty::m_strTestPlace>, false},
        {INI_KEY_MODEL, &Field<&CTestProperty::m_strModel>, false},
        {INI_KEY_SERIAL, &Field<&CTestProperty::m_strSerial>, false},
        {INI_KEY_OPERATOR, &Field<&CTestProperty::m_strOperator>, false},
        {INI_KEY_STANDARD, &Field<&CTestProperty::m_strStandard>, false},
        {INI_KEY_TEMPERATURE, &Field<&CTestProperty::m_strTemperature>, false},
        {INI_KEY_HUMIDITY, &Field<&CTestProperty::m_strHumidity>, false},
        {INI_KEY_ATM, &Field<&CTestProperty::m_strAtm>, false},
        {INI_KEY_SIMULATOR_SERIAL, &Field<&CTestProperty::m_strSimulatorSerial>, true},
        {INI_KEY_SIMULATOR_LAST_CAL, &Field<&CTestProperty::m_strSimulatorLastCal>, true},
        {INI_KEY_SIMULATOR_CAL_INT, &Field<&CTestProperty::m_strSimulatorCalInt>, true},
        TORVEX_OPTION_FIELDS(1),
        TORVEX_OPTION_FIELDS(2),
        TORVEX_OPTION_FIELDS(3),
    };
    return fields;
}

#undef TORVEX_OPTION_FIELDS

QString ReadTestInfoField(const TEST_INFO_FIELD& field) {
    return ReadProfileValue(INI_SECTION_TEST_INFO, field.m_pszKey, QString());
}

void StoreTestInfoField(const TEST_INFO_FIELD& field, CTestProperty& rProperty, const QString& strText) {
    WriteProfileValue(INI_SECTION_TEST_INFO, field.m_pszKey, strText);
    field.m_pfnField(rProperty) = strText;
}

} // namespace torvex
