#include <winsock2.h>
#include <ws2tcpip.h>

#include "framework/net/AsyncSocket.h"

#include <cstdio>

namespace {

struct WinsockSession {
    WinsockSession() : started(::WSAStartup(MAKEWORD(2, 2), &data) == 0) {}
    ~WinsockSession() {
        if (started)
            ::WSACleanup();
    }
    WSADATA data{};
    bool started;
};

} // namespace

static_assert((FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE) ==
              CAsyncSocket::kAllEvents);
static_assert(sizeof(SOCKET) == sizeof(UINT_PTR) && INVALID_SOCKET == ~static_cast<UINT_PTR>(0));

void handle_traits::Socket::Close(Handle handle) {
    ::closesocket(handle);
}

int CAsyncSocket::GetLastError() {
    return ::WSAGetLastError();
}

BOOL AfxSocketInit() {
    static WinsockSession session;
    return session.started;
}

BOOL CAsyncSocket::Create(UINT port, int type, long events, const char* address) {
    Close();
    m_nType = type;
    m_nLocalPort = port;
    m_strLocalAddress = address ? address : "";
    m_bLocalAddress = address != nullptr;
    m_bBlocking = IsBlocking(events);
    CSocketHandle created = MakeSocket();
    if (!created)
        return FALSE;
    m_socket = std::move(created);
    return TRUE;
}

CSocketHandle CAsyncSocket::MakeSocket() const {
    CSocketHandle created(::socket(AF_INET, m_nType, 0));
    if (!created)
        return created;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = ::htons(static_cast<u_short>(m_nLocalPort));
    local.sin_addr.s_addr = m_bLocalAddress ? ::inet_addr(m_strLocalAddress.c_str()) : INADDR_ANY;
    u_long nonBlocking = m_bBlocking ? 0 : 1;
    if (local.sin_addr.s_addr == INADDR_NONE ||
        ::bind(created, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        ::ioctlsocket(created, FIONBIO, &nonBlocking) != 0)
        created.Reset();
    return created;
}

bool CAsyncSocket::ConnectWithin(const void* address, int length, DWORD limitMs) {
    u_long nonBlocking = 1;
    if (::ioctlsocket(m_socket, FIONBIO, &nonBlocking) != 0)
        return false;
    bool connected = ::connect(m_socket, static_cast<const sockaddr*>(address), length) == 0;
    int error = ::WSAGetLastError();
    if (!connected && error == WSAEWOULDBLOCK) {
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(m_socket.Get(), &writable);
        FD_SET(m_socket.Get(), &failed);
        timeval limit{static_cast<long>(limitMs / 1000), static_cast<long>(limitMs % 1000) * 1000};
        const int ready = ::select(0, nullptr, &writable, &failed, &limit);
        int length = sizeof error;
        if (ready == 0)
            error = WSAETIMEDOUT;
        else if (ready > 0 && ::getsockopt(m_socket, SOL_SOCKET, SO_ERROR,
                                           reinterpret_cast<char*>(&error), &length) == 0)
            connected = error == 0 && FD_ISSET(m_socket.Get(), &writable);
        else
            error = ::WSAGetLastError();
    }
    nonBlocking = m_bBlocking ? 0 : 1;
    ::ioctlsocket(m_socket, FIONBIO, &nonBlocking);
    ::WSASetLastError(connected ? 0 : error);
    return connected;
}

BOOL CAsyncSocket::Connect(const char* host, UINT port, DWORD limitMs) {
    if (!m_socket || !host)
        return FALSE;
    char service[16];
    std::snprintf(service, sizeof service, "%u", port);
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host, service, &hints, &found) != 0 || !found)
        return FALSE;
    BOOL connected = FALSE;
    const DWORD start = ::GetTickCount();
    for (const addrinfo* candidate = found; candidate && !connected;
         candidate = candidate->ai_next) {
        // A socket whose connect failed cannot connect again: each address gets a fresh one.
        if (candidate != found) {
            CSocketHandle fresh = MakeSocket();
            if (!fresh)
                break;
            m_socket = std::move(fresh);
        }
        const int length = static_cast<int>(candidate->ai_addrlen);
        if (limitMs == INFINITE) {
            connected = ::connect(m_socket, candidate->ai_addr, length) == 0;
            continue;
        }
        // The addresses of a name share the one limit.
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= limitMs) {
            ::WSASetLastError(WSAETIMEDOUT);
            break;
        }
        connected = ConnectWithin(candidate->ai_addr, length, limitMs - elapsed);
    }
    const int error = ::WSAGetLastError();
    ::freeaddrinfo(found);
    ::WSASetLastError(connected ? 0 : error);
    return connected;
}
