#pragma once

#include "config/InstrumentLink.h"
#include "model/OperatorDialog.h"

#include <QString>
#include <cstdint>

enum RECONNECT_OUTCOME {
    RECONNECT_NOT_FOUND,    // no instrument answered
    RECONNECT_QUERY_FAILED, // found, but it did not tell its model: nothing changes
    RECONNECT_OTHER_MODEL,  // another model than at start-up: port closed, operator told
    RECONNECT_CONNECTED,    // connected; demo mode ended
};

// The model fixed at start-up and the program state a reconnection changes.
struct RECONNECT_STATE {
    int32_t m_nMachineType = 0;
    int32_t* m_pnHWVersion = nullptr;
    int32_t* m_pbNotConnected = nullptr;
};

// Closes the port, searches again and accepts only the model the program
// started with. On success the model type is stored, the hardware version
// copied and the not-connected flag cleared.
RECONNECT_OUTCOME Reconnect(CInstrumentLink& rLink, const RECONNECT_STATE& state, COperatorDialog& rDialog);

// The main window title once connected again: the not-connected mark is taken
// off its end; any other title stays as it is.
QString TitleAfterReconnect(const QString& strTitle);
