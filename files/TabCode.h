#pragma once

#include <cstdint>

namespace torvex {

// The tabs of the main view, by the codes the settings file stores.
enum TabCode : int32_t { TAB_STANDARD = 0, TAB_MANUAL = 1, TAB_SEQUENCE = 2, TAB_SETTINGS = 3 };

} // namespace torvex
