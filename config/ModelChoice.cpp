#include "config/ModelChoice.h"

#include "config/IniKeys.h"
#include "config/InstrumentLink.h"
#include "config/Profile.h"
#include "config/SettingsLogic.h"

namespace torvex {

const QVector<MODEL_CHOICE>& ModelChoices() {
    static const QVector<MODEL_CHOICE> choices = {
        {QStringLiteral("TORVEX-K2     "), 1},
        {QStringLiteral("TORVEX-K1     "), 17},
    };
    return choices;
}

int ModelChoiceIndex(int32_t nModelType) {
    const QVector<MODEL_CHOICE>& choices = ModelChoices();
    for (int i = 0; i < choices.size(); ++i)
        if (choices[i].m_nModelType == nModelType) return i;
    return 0;
}

int32_t StoredMachineType() {
    return ParseLeadingInt(
        ReadProfileValue(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_TYPE, QStringLiteral("1")));
}

void StoreMachineType(int32_t nModelType) {
    WriteProfileValue(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_TYPE, QString::number(nModelType));
}

QString CNoInstrumentLink::ModelName(int32_t nType) const {
    for (const MODEL_CHOICE& choice : ModelChoices())
        if (choice.m_nModelType == nType) return choice.m_strText.trimmed();
    return QStringLiteral("TORVEX ???");
}

} // namespace torvex
