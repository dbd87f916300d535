// Times the dialog's download-and-replace of one large file against a bare loop of 1 KB
// WinINet reads of the same file from the same server, alternating, and prints the medians
// and their ratio; then the time from a manifest of 1 000 and of 4 000 installed files to the
// dialog's listing. Usage: update_benchmark <served folder> <port> [megabytes] [rounds]
// (run beside update.exe; it makes its own Template\ folder, served file and manifests).
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "framework/windows/App.h"
#include "framework/base/Module.h"
#include "framework/base/ScopedHandle.h"
#include "FileVersionInfo.h"
#include "UpdateDialog.h"

namespace {

double SecondsOf(const std::function<void()>& work) {
    const auto begin = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void WriteFileBytes(const char* path, const std::string& bytes) {
    CHandle file(::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// What any program would do at the least: one request, 1 KB reads until the end, no cache.
std::uint64_t BareReadLoop(int port, const char* object) {
    CInternetHandle session(
        ::InternetOpenA("bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    CInternetHandle connection(::InternetConnectA(session, "127.0.0.1", static_cast<WORD>(port),
                                                  nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    CInternetHandle request(::HttpOpenRequestA(connection, "GET", object, nullptr, nullptr, nullptr,
                                               INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE,
                                               0));
    std::uint64_t total = 0;
    if (!::HttpSendRequestA(request, nullptr, 0, nullptr, 0))
        return 0;
    char buffer[1024];
    DWORD read = 0;
    while (::InternetReadFile(request, buffer, sizeof(buffer), &read) && read > 0)
        total += read;
    return total;
}

// Seconds from a manifest of `count` installed files, each of another version, to the dialog
// with its rows; the files are links to update.exe.
double ListingSeconds(int count, int& failures, double& readsAlone) {
    const CString directory = GetModuleDirectory();
    const CString folder = directory + "listing";
    ::CreateDirectoryA(folder, nullptr);
    std::string manifest = "<Update Start=\"\"><Files>";
    for (int i = 0; i < count; ++i) {
        CString name;
        name.Format("listing\\f%05d.exe", i);
        if (::GetFileAttributesA(directory + name) == INVALID_FILE_ATTRIBUTES)
            ::CreateHardLinkA(directory + name, directory + "update.exe", nullptr);
        manifest += "<File Name=\"" + name.str() + "\" Version=\"9.0.0.0\" URL=\"http://x/\"/>";
    }
    WriteFileBytes(directory + "listing.xml", manifest + "</Files></Update>");
    CUpdateDialog dialog(directory + "listing.xml");
    const double seconds = SecondsOf([&] {
        dialog.Create();
        dialog.ShowWindow(SW_SHOWNA);
    });
    failures += dialog.m_listFiles.GetItemCount() != count;
    readsAlone = SecondsOf([&] {
        for (int i = 0; i < count; ++i) {
            CString name;
            name.Format("listing\\f%05d.exe", i);
            FileVersionInfo info;
            failures += !info.Read(directory + name);
        }
    });
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: update_benchmark <served folder> <port> [megabytes] [rounds]\n");
        return 2;
    }
    AfxEnableControlContainer();
    const CString served(argv[1]);
    const int port = std::atoi(argv[2]);
    const size_t size = (argc > 3 ? static_cast<size_t>(std::atoi(argv[3])) : 20) << 20;
    const int rounds = argc > 4 ? std::atoi(argv[4]) : 5;
    const CString directory = GetModuleDirectory();
    ::CreateDirectoryA(directory + "Template", nullptr);
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 2654435761u) >> 13);
    WriteFileBytes(served + "\\bench.exe", bytes);
    CString url;
    url.Format("http://127.0.0.1:%d/bench.exe", port);
    WriteFileBytes(directory + "bench.xml",
                   "<Update Start=\"\"><Files><File Name=\"bench.exe\" Version=\"9.0.0.0\" URL=\"" +
                       url.str() + "\"/></Files></Update>");

    std::vector<double> updater;
    std::vector<double> bare;
    int failures = 0;
    for (int round = 0; round < rounds; ++round) {
        std::uint64_t received = 0;
        bare.push_back(SecondsOf([&] { received = BareReadLoop(port, "/bench.exe"); }));
        failures += received != size;
        // Any program with a version other than the manifest's will do.
        ::CopyFileA(directory + "update.exe", directory + "bench.exe", FALSE);
        CUpdateDialog dialog(directory + "bench.xml");
        dialog.Create();
        updater.push_back(
            SecondsOf([&] { failures += dialog.DownloadAndReplace(0) != RowResult::Replaced; }));
        dialog.DestroyWindow();
    }
    const double mb = static_cast<double>(size) / (1 << 20);
    std::printf("file: %.0f MB, %d rounds, %d failed\n", mb, rounds, failures);
    std::printf("updater download-and-replace: median %.2f s, %.1f MB/s\n", Median(updater),
                mb / Median(updater));
    std::printf("bare 1 KB WinINet read loop:  median %.2f s, %.1f MB/s\n", Median(bare),
                mb / Median(bare));
    std::printf("updater / bare loop time:     %.2f\n", Median(updater) / Median(bare));
    for (int count : {1000, 4000}) {
        double readsAlone = 0;
        const double listing = ListingSeconds(count, failures, readsAlone);
        std::printf("listing %d installed files:  %.2f s (their versions read alone: %.2f s)\n",
                    count, listing, readsAlone);
    }
    ::DeleteFileA(served + "\\bench.exe");
    return failures == 0 ? 0 : 1;
}
