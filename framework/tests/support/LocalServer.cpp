#include "LocalServer.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace {

CString Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

CString LocalServerUrl(const char* path) {
    std::ifstream state(("Z:" + Environment("UPDATE_SERVER_STATE")).str());
    int pid = 0;
    int port = 0;
    if (!(state >> pid >> port))
        throw std::runtime_error("no local test server: run the test through ctest");
    CString url;
    url.Format("http://127.0.0.1:%d/%s", port, path);
    return url;
}

CString LocalServerFolder() {
    return "Z:" + Environment("UPDATE_SERVED_ROOT") + "\\";
}
