#pragma once

#include "run/ConditionChange.h"

#include <cstdint>

namespace torvex {

// What an embedded editor (value editor, coupling line editor) needs of the
// screen that holds it.
class CConditionHost {
public:
    virtual ~CConditionHost() = default;
    // Whether input may reach the editor at all (screens unlocked, not a
    // display-only page).
    virtual bool InputEnabled() const = 0;
    // The change confirmation after a run.
    virtual ConfirmResult ConfirmEdit() = 0;
    // After the editor stored a change; uChanged holds CHANGED_ bits of the
    // rules (the burst values a frequency change corrected among them).
    virtual void EditorChanged(uint32_t uChanged) = 0;
    // An entry that left the condition as it was.
    virtual void EditorUnchanged() {}
};

} // namespace torvex
