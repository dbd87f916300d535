#pragma once

#include "framework/net/AsyncSocket.h"

// A blocking socket: Connect returns once connected, or when the connection is refused, the
// host name cannot be resolved or the platform's connection time-out passes.
class CSocket : public CAsyncSocket {
protected:
    bool IsBlocking(long) const override { return true; }
};
