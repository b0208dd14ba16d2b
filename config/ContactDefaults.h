#pragma once

namespace torvex {

// At start-up: every maker contact entry of the settings file that is empty or
// missing gets the maker's own contact details; entries the user filled in
// stay as they are.
void WriteContactDefaults();

} // namespace torvex
