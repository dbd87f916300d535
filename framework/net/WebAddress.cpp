#include "framework/net/WebAddress.h"

#include <cstring>
#include <initializer_list>

bool IsWebAddress(const char* address) {
    if (!address)
        return false;
    // Blanks and quotes would end the address on a command line that opens it.
    for (const char* at = address; *at; ++at)
        if (static_cast<unsigned char>(*at) <= ' ' || *at == '"')
            return false;
    for (const char* scheme : {"http://", "https://"}) {
        const size_t length = std::strlen(scheme);
        if (_strnicmp(address, scheme, length) != 0)
            continue;
        const char host = address[length];
        return host != '\0' && host != '/' && host != '\\';
    }
    return false;
}
