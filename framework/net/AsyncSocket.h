#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "framework/base/ScopedHandle.h"

namespace handle_traits {

// A Winsock SOCKET (an unsigned handle; INVALID_SOCKET is all bits set). Winsock's header
// stays out of this one, as it must come before <windows.h> wherever it is read.
struct Socket {
    using Handle = UINT_PTR;
    static Handle None() { return ~static_cast<UINT_PTR>(0); }
    static bool IsValid(Handle handle) { return handle != None(); }
    static void Close(Handle handle);
};

} // namespace handle_traits

using CSocketHandle = CScopedHandle<handle_traits::Socket>;

// Starts Winsock for the process once (it is released at exit); TRUE when usable.
BOOL AfxSocketInit();

// A Winsock socket. Network events are not delivered as messages here (no program needs
// them): a socket created with events is non-blocking, so Connect returns at once and
// GetLastError tells WSAEWOULDBLOCK while the connection is under way.
class CAsyncSocket {
public:
    // FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE
    static constexpr long kAllEvents = 63;

    CAsyncSocket() = default;
    CAsyncSocket(const CAsyncSocket&) = delete;
    CAsyncSocket& operator=(const CAsyncSocket&) = delete;
    virtual ~CAsyncSocket() = default;

    // A socket of the type bound to the local port and address (0 and null: any).
    BOOL Create(UINT port = 0, int type = SOCK_STREAM, long events = kAllEvents,
                const char* address = nullptr);
    // Connects to the host (a name the platform resolves, or a dotted address) and port. With
    // a limit, the attempt waits no longer whatever the socket's mode, and fails with
    // WSAETIMEDOUT when the host never answers (a firewall that drops, a full queue).
    BOOL Connect(const char* host, UINT port, DWORD limitMs = INFINITE);
    void Close() { m_socket.Reset(); }
    static int GetLastError();

protected:
    // Whether Create leaves the socket blocking for the given events.
    virtual bool IsBlocking(long events) const { return events == 0; }

private:
    // Connects within the limit (not INFINITE); the socket is blocking again afterwards when it
    // was before.
    bool ConnectWithin(const void* address, int length, DWORD limitMs);
    // A socket as Create was asked for; empty when it cannot be made.
    CSocketHandle MakeSocket() const;

    CSocketHandle m_socket;
    bool m_bBlocking = false;
    int m_nType = SOCK_STREAM;
    UINT m_nLocalPort = 0;
    bool m_bLocalAddress = false;
    std::string m_strLocalAddress;
};
