#pragma once

#include "config/TestProperty.h"

#include <QString>
#include <QVector>

namespace torvex {

// The text fields of the settings page that hold test information for the
// report: each has its key in the settings file and its field in the record.
struct TEST_INFO_FIELD {
    const char* m_pszKey;                   // in INI_SECTION_TEST_INFO
    QString& (*m_pfnField)(CTestProperty&); // the record's field
    bool m_bOnEveryChange;                  // written at each edit, not only when the field is left
};

// The nine test information fields (company, test place, product, serial
// number, operator, standard, temperature, humidity, pressure), then the
// equipment: tester serial number, last calibration, interval, and for each
// of the three options name, model, serial number, last calibration, interval.
const QVector<TEST_INFO_FIELD>& TestInfoFields();
inline constexpr int kTestInfoFieldCount = 9;

// The stored text of a field ("" when missing).
QString ReadTestInfoField(const TEST_INFO_FIELD& field);
// Writes the text to its key and into the record.
void StoreTestInfoField(const TEST_INFO_FIELD& field, CTestProperty& rProperty, const QString& strText);

} // namespace torvex
