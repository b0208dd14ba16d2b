#pragma once

#include <QString>
#include <QVector>
#include <cstdint>

namespace torvex {

// The instrument models an operator can choose without an instrument, and the
// model type remembered for that choice.

struct MODEL_CHOICE {
    QString m_strText; // as the drop-down list shows it
    int32_t m_nModelType;
};

// "TORVEX-K2" (1) and "TORVEX-K1" (17), in this order, each shown with five
// trailing blanks.
const QVector<MODEL_CHOICE>& ModelChoices();

// Position in ModelChoices() of a model type; the first entry when none matches.
int ModelChoiceIndex(int32_t nModelType);

// The model type last chosen or found; 1 when nothing is stored.
int32_t StoredMachineType();
void StoreMachineType(int32_t nModelType);

} // namespace torvex
