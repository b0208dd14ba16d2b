#pragma once

#include <cstdint>

namespace torvex {

class CTorvexDoc;
class CRunEngine;
class CTestProperty;
class CStepListView;
class COperatorDialog;

// What the STANDARD and MANUAL screens do after every stored change of their
// condition: expand it, show the steps and their times, and start over from the
// first step. Returns the number of steps the condition describes.
int64_t ManualConditionChanged(CTorvexDoc& doc, CRunEngine& engine, CTestProperty& property,
                               CStepListView& list);
int64_t StandardConditionChanged(CTorvexDoc& doc, CRunEngine& engine, CTestProperty& property,
                                 CStepListView& list);

// The answer to an operator's attempt to change a condition after it was run.
enum ConfirmResult {
    CONFIRM_PROCEED,   // change freely
    CONFIRM_DISCARD,   // the input is dropped
    CONFIRM_CONFIRMED, // the operator agreed just now: a click on a button or check box
                       // is replayed, a tab click proceeds, a key or spin is dropped
};

// Once a test of a condition has run, its judgments and comments would be lost
// by a change: the first change after a START asks. nMode: 0 STANDARD, 1 MANUAL.
ConfirmResult ConfirmChange(CRunEngine& engine, int nMode, COperatorDialog& dialog);

} // namespace torvex
