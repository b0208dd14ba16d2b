#pragma once

// What the condition screens decide beyond the numeric rules: the STANDARD
// test's preset values, the coupling line masks, the special-function switches
// and the model's phase rule. Widgets call these and show the result.

#include "model/SettingData.h"

#include <QStringList>
#include <cstdint>

namespace torvex {

// ---- STANDARD test -------------------------------------------------------------
constexpr int32_t STANDARD_LEVELS = 4;
constexpr int32_t STANDARD_PULSE_COUNT = 75;
constexpr int32_t STANDARD_BURST_PERIOD = 300;
constexpr int32_t STANDARD_FREQ_LOW = 5000;    // "5 kHz"
constexpr int32_t STANDARD_FREQ_HIGH = 100000; // "100 kHz"

// Voltage of a level (0..3) on an output port; a level outside the table reads
// as the nearest one.
int32_t StandardVoltage(int32_t nLevel, int32_t nOutputPort);
// Burst duration (µs) that belongs to a STANDARD frequency.
int32_t StandardBurstDuration(int32_t lFreq);
// The values a STANDARD condition starts with: level 1, 75 pulses, 300 ms.
// True when anything changed.
bool InitStandardCondition(CSettingData& cond);
// Stores the voltage (fixed) and burst duration that follow from level, output
// and frequency. Returns true when anything changed.
bool DeriveStandardValues(CSettingData& cond);
// Test time of the STANDARD screen: the parts limited, at least 1 s, with no
// special-function limit. Returns true when the stored time changed.
bool StoreStandardTestTime(CSettingData& cond, int32_t lHours, int32_t lMinutes, int32_t lSeconds);

// ---- Coupling lines -------------------------------------------------------------
// Line boxes of an output detail (3 single-phase, 5 three-phase) and captions.
int32_t LineCount(int32_t nOutputDetail);
QStringList LineCaptions(int32_t nOutputDetail);
// The mask the line boxes edit: fixed or sweep mask of the port's coupling type,
// element = output detail (a detail outside 0..2 edits element 0).
uint32_t& EditedLineMask(OUTPUT_PORT_STRUCT& port);
uint32_t EditedLineMask(const OUTPUT_PORT_STRUCT& port);
// The mask the boxes ask for, built bit by bit from the stored one: a line is
// never removed when it is the last one left. Bits above the detail's lines
// are kept as stored.
uint32_t LineMaskFromBoxes(uint32_t ulStored, uint32_t ulBoxes, int32_t nLines);

// ---- Special functions ------------------------------------------------------------
enum SPECIAL_FUNCTION : int32_t { FUNC_ALTERNATION = 0, FUNC_CONTINUOUS, FUNC_MODULATION, FUNC_TRIGGER };
constexpr int32_t FUNC_COUNT = 4;
int32_t FunctionFlag(const CSettingData& cond, SPECIAL_FUNCTION eFunc);
// Whether the function's box is enabled (modulation always).
bool IsFunctionAllowed(const CSettingData& cond, SPECIAL_FUNCTION eFunc);
// The operator's click on a function box. A function that may not be on with
// the condition as it stands is switched off again. Returns true when the flag
// changed.
bool SetSpecialFunction(CSettingData& cond, SPECIAL_FUNCTION eFunc, bool bOn);

// ---- Model ------------------------------------------------------------------------
// Whether the model has the three-phase coupling network (model type 17).
bool HasThreePhase(uint32_t ulMachineType);
// A model without it works single-phase on every port. True when changed.
bool ApplyModelRule(CSettingData& cond, uint32_t ulMachineType);

} // namespace torvex
