#pragma once

#include "framework/MessagePump.h"

// Lets through what is queued for this thread, as the programs' loops would.
inline void PumpMessages() {
    AfxPumpWaitingMessages();
}
