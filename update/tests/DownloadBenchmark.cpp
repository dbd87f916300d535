// Times one download-and-replace of a large file through the dialog against the local
// update server, and curl fetching the same file, and prints both with their ratio.
// Usage: update_benchmark <served folder> <port> [megabytes]   (run it in a program folder
// that has a Template\ folder; the served file is written by the benchmark itself).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "App.h"
#include "Module.h"
#include "SeamRecorder.h"
#include "TestSupport.h"
#include "UpdateRes.h"
#include "UpdateDialog.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// curl runs as a Unix program; Wine's start /unix waits for it with /wait.
double CurlSeconds(const CString& url) {
    CString command;
    command.Format("start /wait /unix /usr/bin/curl -s -o /dev/null %s",
                   static_cast<const char*>(url));
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::string line = "cmd /c " + command.str();
    LARGE_INTEGER begin, end;
    ::QueryPerformanceCounter(&begin);
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return -1;
    ::WaitForSingleObject(process.hProcess, 600000);
    ::QueryPerformanceCounter(&end);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return Seconds(begin, end);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: update_benchmark <served folder> <port> [megabytes]\n");
        return 2;
    }
    AfxEnableControlContainer();
    SeamRecorder seams; // a benchmark starts no program
    const CString served(argv[1]);
    const int port = std::atoi(argv[2]);
    const size_t megabytes = argc > 3 ? static_cast<size_t>(std::atoi(argv[3])) : 50;
    const size_t size = megabytes << 20;
    const CString directory = GetModuleDirectory();
    MakeFolder(directory + "Template");
    ::CopyFileA(directory + "version_1_2_3_4.exe", directory + "bench.exe", FALSE);
    WriteBytes(served + "\\bench.exe", PatternBytes(size, 7));
    CString url;
    url.Format("http://127.0.0.1:%d/bench.exe", port);
    WriteBytes(directory + "bench.xml",
               ManifestText("")
                   .Entry("Name=\"bench.exe\" Version=\"9.0.0.0\" URL=\"" + url.str() + "\"")
                   .Xml());

    const double curl = CurlSeconds(url);
    CUpdateDialog dialog(directory + "bench.xml");
    dialog.Create();
    LARGE_INTEGER begin, end;
    ::QueryPerformanceCounter(&begin);
    const int result = dialog.DownloadAndReplace(0);
    ::QueryPerformanceCounter(&end);
    const double updater = Seconds(begin, end);
    const double mb = static_cast<double>(size) / (1 << 20);
    std::printf("file: %.0f MB, result %d\n", mb, result);
    std::printf("updater download-and-replace: %.2f s, %.1f MB/s\n", updater, mb / updater);
    std::printf("curl:                         %.2f s, %.1f MB/s\n", curl, mb / curl);
    std::printf("updater / curl throughput:    %.2f\n", curl / updater);
    dialog.DestroyWindow();
    ::DeleteFileA(served + "\\bench.exe");
    return result == 1 ? 0 : 1;
}
