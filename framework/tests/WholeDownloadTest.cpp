#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "LocalServer.h"
#include "TestFiles.h"
#include "framework/crypto/Sha256.h"
#include "framework/net/WholeDownload.h"

namespace {

using R = DownloadResult;

// A list of one company, its entry at the end, so that no part of it reads as a list.
std::string CompanyList(size_t size) {
    const std::string entry = "<E Name=\"A\" URL=\"http://a\"/></Expresses>";
    return "<Expresses>" + std::string(size - entry.size() - 11, '\n') + entry;
}

std::string Hex(const std::string& bytes) {
    CSha256 digest;
    digest.Update(bytes.data(), static_cast<DWORD>(bytes.size()));
    BYTE hash[32] = {};
    digest.Finish(hash);
    std::string hex;
    for (BYTE b : hash)
        hex += "0123456789ABCDEF"[b >> 4], hex += "0123456789abcdef"[b & 15];
    return hex;
}

// The callers' policies: the company list (same-host redirects, the bytes must read as a list
// of companies), the update manifest (same-host redirects, read into memory and checked by its
// parser) and an update file (no redirect; its length or digest from the manifest).
enum Policy { kList, kManifest, kFile };

DownloadPolicy PolicyFor(Policy kind, std::uint64_t expected, const std::string& sha256) {
    DownloadPolicy policy;
    policy.maxBytes = 8192;
    policy.limits = {500, 1024, 1024, 1500};
    if (kind != kFile)
        policy.redirects = DownloadPolicy::kMaxRedirects;
    if (kind == kManifest)
        policy.checkedLater = true;
    if (kind == kList)
        policy.validator = [](const char* path) {
            return test_files::Read(path).find("<E Name=") != std::string::npos;
        };
    policy.expectedLength = expected;
    policy.sha256 = sha256.c_str();
    policy.temporaryPrefix = "wdt";
    return policy;
}

// Whatever a server answers, the caller gets the whole body or a reason, and a file target
// is either replaced by exactly that body or stays byte for byte, with no temporary file left
// beside it (nor one a killed run left).
TEST(WholeDownload, EveryAnswerGivesTheWholeBodyOrLeavesTheTargetAsItWas) {
    const std::string body = CompanyList(3000);
    const CString served = LocalServerFolder();
    test_files::Write((served + "wd.xml").str(), body);
    test_files::Write((served + "wd-page.xml").str(), "<html><body>500</body></html>");
    test_files::Write((served + "wd-big.xml").str(), CompanyList(8193));
    const std::string sha = Hex(body);
    const struct {
        Policy policy;
        const char* path;
        R result;
        std::uint64_t expected = 0;
        std::string sha256 = {};
    } cases[] = {
        {kList, "wd.xml", R::Complete},
        {kList, "nolength/wd.xml", R::Complete},
        {kList, "chunked/wd.xml", R::Complete},
        {kList, "redirect/redirect/wd.xml", R::Complete},
        {kList, "wd-page.xml", R::Invalid},
        {kList, "cut/wd.xml", R::Invalid},
        {kList, "status/500/wd.xml", R::Refused},
        {kList, "partial/wd.xml", R::Refused},
        {kList, "short/wd.xml", R::Incomplete},
        {kList, "empty/wd.xml", R::Incomplete},
        {kList, "longlength/wd.xml", R::Incomplete},
        {kList, "chunkgarbage/wd.xml", R::Incomplete},
        {kList, "wd-big.xml", R::Incomplete},
        {kList, "endless/wd.xml", R::Incomplete},
        {kList, "silent/wd.xml", R::NotSent},
        {kList, "stall/wd.xml", R::TimedOut},
        {kList, "redirectloop/wd.xml", R::Refused},
        {kList, "redirecthost/wd.xml", R::Refused},
        {kManifest, "redirect/wd.xml", R::Complete},
        {kManifest, "nolength/wd.xml", R::Complete},
        {kManifest, "short/wd.xml", R::Incomplete},
        // Followed, these would fail to connect (nothing listens on port 1; the server speaks
        // no TLS) instead of being refused.
        {kManifest, "redirectport/1/wd.xml", R::Refused},
        {kManifest, "redirectsecure/wd.xml", R::Refused},
        {kFile, "wd.xml", R::Complete, 3000},
        {kFile, "chunked/wd.xml", R::Complete, 3000},
        {kFile, "nolength/wd.xml", R::Complete, 0, sha},
        {kFile, "nolength/wd.xml", R::Incomplete},
        {kFile, "wd.xml", R::Incomplete, 2999},
        {kFile, "wd.xml", R::DigestMismatch, 0, std::string(64, '0')},
        {kFile, "redirect/wd.xml", R::Refused},
        {kFile, "drop/wd.xml", R::Incomplete},
        // A length far beyond the cap does not lift it: the body stops at the cap.
        {kFile, "endless/wd.xml", R::Incomplete, 1u << 30},
        {kFile, "http09/wd.xml", R::Incomplete},
    };
    const std::string folder = test_files::TempPath("wd-target\\");
    test_files::MakeFolder(folder);
    const std::string target = folder + "target.xml";
    test_files::Write(folder + "wdtnote.tmp", "not ours");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        CWholeDownload run("framework_tests", PolicyFor(c.policy, c.expected, c.sha256));
        const CString url = LocalServerUrl(c.path);
        if (c.policy == kManifest) {
            std::string bytes = "old";
            EXPECT_EQ(c.result, run.ToMemory(url, bytes));
            EXPECT_TRUE((c.result == R::Complete ? body : "") == bytes);
            continue;
        }
        test_files::Write(target, "old");
        test_files::Write(folder + "wdtBEEF.tmp", "left by a killed run");
        EXPECT_EQ(c.result, run.ToFile(url, target.c_str()));
        EXPECT_TRUE((c.result == R::Complete ? body : "old") == test_files::Read(target));
        EXPECT_EQ("wdtnote.tmp", test_files::List(folder, "wdt"));
    }
    DownloadPolicy stopped = PolicyFor(kFile, 0, "");
    stopped.progress = [](std::uint64_t received, std::uint64_t) { return received < 4096; };
    EXPECT_EQ(R::Cancelled, CWholeDownload("framework_tests", stopped)
                                .ToFile(LocalServerUrl("endless/wd.xml"), target.c_str()));
    EXPECT_EQ("old", test_files::Read(target));
    // A read-only target keeps its bytes and its attribute, whether fetched or copied over.
    test_files::Write(target, "old");
    ASSERT_TRUE(::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    CWholeDownload download("framework_tests", PolicyFor(kList, 0, ""));
    EXPECT_EQ(R::ReplaceFailed, download.ToFile(LocalServerUrl("wd.xml"), target.c_str()));
    EXPECT_FALSE(AfxReplaceFileWithCopy(served + "wd.xml", target.c_str(), "wdt"));
    EXPECT_EQ("old", test_files::Read(target));
    EXPECT_NE(0u, ::GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(AfxReplaceFileWithCopy(served + "wd.xml", target.c_str(), "wdt"));
    EXPECT_TRUE(body == test_files::Read(target));
    EXPECT_EQ("target.xml wdtnote.tmp", test_files::List(folder));
    test_files::RemoveTree(folder);
}

} // namespace
