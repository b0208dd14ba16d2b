#pragma once

#include <cstdint>
#include <functional>

class CTorvexDoc;
class CRunEngine;
class CTestProperty;
class CStepListView;
class COperatorDialog;

// What the STANDARD and MANUAL screens work on. Everything is owned elsewhere
// and outlives the screen.
struct SCREEN_CONTEXT {
    CTorvexDoc* m_pDoc = nullptr;
    CRunEngine* m_pEngine = nullptr;
    CTestProperty* m_pProperty = nullptr;
    CStepListView* m_pList = nullptr;
    COperatorDialog* m_pDialog = nullptr;
    uint32_t m_ulMachineType = 1; // 1 or 17
    // The view's screens-enabled flag: false while a run locks the screens.
    // Unset means always enabled.
    std::function<bool()> m_fnScreensEnabled;
};
