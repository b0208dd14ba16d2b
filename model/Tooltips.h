#pragma once

// The operator's documentation of the limits: tooltip texts of the MANUAL
// screen's boxes and of the value editors, as functions of the condition.

#include "model/Rules.h"
#include "model/ScreenRules.h"
#include "model/SettingData.h"

#include <QString>

namespace torvex {

// The modifier lines a spin's tooltip adds to its box's text.
QString SpinTooltip(const QString& strBoxTip);

// A value editor box (nField: FIELD_FIXED, FIELD_START, FIELD_END, FIELD_STEP
// or a variable row) with continuous output on or off. Empty for an unknown
// kind or field.
QString ValueBoxTooltip(VALUE_KIND eKind, int32_t nField, bool bContinuous);

// The time and burst boxes of the MANUAL screen.
enum MANUAL_TIP_BOX : int32_t { TIP_TEST_TIME = 0, TIP_BURST_PERIOD, TIP_PULSE_COUNT, TIP_BURST_DURA };
QString ManualBoxTooltip(const CSettingData& cond, MANUAL_TIP_BOX eBox);
// Its spin: the box text with the modifier lines (the burst duration's also
// SHIFT); a box continuous output makes unavailable gives the box text alone.
QString ManualSpinTooltip(const CSettingData& cond, MANUAL_TIP_BOX eBox);

// The four function check boxes.
QString FunctionTooltip(SPECIAL_FUNCTION eFunc);

} // namespace torvex
