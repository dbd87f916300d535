// Times one download-and-replace of a large file through the dialog against the local
// update server, and curl fetching the same file, and prints both with their ratio.
// Usage: update_benchmark <served folder> <port> [megabytes]   (run it in a program folder
// that has a Template\ folder; the served file is written by the benchmark itself).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "framework/App.h"
#include "framework/Module.h"
#include "SeamRecorder.h"
#include "TestSupport.h"
#include "UpdateDialog.h"

namespace {

double SecondsOf(const std::function<void()>& work) {
    const auto begin = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
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

    // curl runs as a Unix program; Wine's start /unix waits for it with /wait.
    const double curl = SecondsOf([&] {
        std::system(("start /wait /unix /usr/bin/curl -s -o /dev/null " + url).str().c_str());
    });
    CUpdateDialog dialog(directory + "bench.xml");
    dialog.Create();
    int result = 0;
    const double updater = SecondsOf([&] { result = dialog.DownloadAndReplace(0); });
    const double mb = static_cast<double>(size) / (1 << 20);
    std::printf("file: %.0f MB, result %d\n", mb, result);
    std::printf("updater download-and-replace: %.2f s, %.1f MB/s\n", updater, mb / updater);
    std::printf("curl:                         %.2f s, %.1f MB/s\n", curl, mb / curl);
    std::printf("updater / curl throughput:    %.2f\n", curl / updater);
    dialog.DestroyWindow();
    ::DeleteFileA(served + "\\bench.exe");
    return result == 1 ? 0 : 1;
}
