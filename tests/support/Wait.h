#pragma once

#include <functional>

namespace torvex {

// Lets the event loop run until the condition holds; false when it did not
// within ms milliseconds.
bool WaitFor(const std::function<bool()>& cond, int ms = 30000);
// Lets the event loop run for ms milliseconds.
void Idle(int ms);

} // namespace torvex
