#include <gtest/gtest.h>

#include <windows.h>

#include "framework/Encoding.h"
#include "framework/Module.h"
#include "TestSupport.h"
#include "UpdateManifest.h"

namespace {

class ManifestFile : public ::testing::Test {
protected:
    void TearDown() override { ::DeleteFileA(path); }
    UpdateManifest::Result Load(const std::string& xml) {
        WriteBytes(path, xml);
        return manifest.Load(path);
    }
    const CString path = GetModuleDirectory() + "manifest_test.xml";
    UpdateManifest manifest;
};

// Every element child of every Files element, at any depth, in document order.
TEST_F(ManifestFile, EntriesOfEveryFilesElementInDocumentOrder) {
    ASSERT_EQ(
        UpdateManifest::Result::Read,
        Load(AnsiToUtf8("<Update Start=\"主程序.exe\"><Files><A Name=\"a.exe\" Version=\"1.0.0.1\" "
                        "Class=\"W\" Length=\"2048\" URL=\"http://h/a\" SHA256=\"ab\"/>text"
                        "<!-- note --></Files><Group><Files><B Name=\"文件.dll\"/></Files></Group>"
                        "<Other><C Name=\"no.exe\"/></Other></Update>")));
    EXPECT_STREQ("主程序.exe", manifest.m_strStart);
    ASSERT_EQ(2u, manifest.m_entries.size());
    const ManifestEntry& first = manifest.m_entries[0];
    EXPECT_EQ("a.exe|1.0.0.1|W|2048|http://h/a|ab",
              (first.Name + "|" + first.Version + "|" + first.Class + "|" + first.Length + "|" +
               first.URL + "|" + first.SHA256)
                  .str());
    EXPECT_STREQ("文件.dll", manifest.m_entries[1].Name);
    EXPECT_STREQ("", manifest.m_entries[1].URL);
}

} // namespace
