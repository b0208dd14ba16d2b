#pragma once

#include "config/InstrumentLink.h"
#include "model/OperatorDialog.h"

#include <QString>
#include <cstdint>

namespace torvex {

enum RECONNECT_OUTCOME {
    RECONNECT_NOT_FOUND,    // no instrument answered
    RECONNECT_QUERY_FAILED, // found, but it did not tell its model: nothing changes
    RECONNECT_OTHER_MODEL,  // another model than at start-up: port closed, operator told
    RECONNECT_CONNECTED,    // connected; demo mode ended
};

// Closes the port, searches again and accepts only the model the program
// started with (nMachineType). On success the model type is stored; the
// caller takes over the hardware version and the connection state.
RECONNECT_OUTCOME Reconnect(CInstrumentLink& rLink, int32_t nMachineType, COperatorDialog& rDialog);

// The main window title once connected again: the not-connected mark is taken
// off its end; any other title stays as it is.
QString TitleAfterReconnect(const QString& strTitle);

} // namespace torvex
