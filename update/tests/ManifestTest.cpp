#include <gtest/gtest.h>

#include <windows.h>

#include "Module.h"
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

TEST_F(ManifestFile, EntriesOfEveryFilesElementInDocumentOrder) {
    ManifestText text("主程序.exe");
    text.Entry("Name=\"a.exe\" Version=\"1.0.0.1\" Class=\"AppWindow\" Length=\"2048\" "
               "URL=\"http://h/a.exe\"")
        .Entry("Name=\"文件.dll\" Version=\"2.0.0.0\"")
        .NextFiles()
        .Entry("Name=\"c.exe\" Version=\"3.0.0.0\" SHA256=\"ab12\"");
    ASSERT_EQ(UpdateManifest::Result::Read, Load(text.Xml()));
    EXPECT_STREQ("主程序.exe", manifest.m_strStart);
    ASSERT_EQ(3u, manifest.m_entries.size());
    const ManifestEntry& first = manifest.m_entries[0];
    EXPECT_STREQ("a.exe", first.Name);
    EXPECT_STREQ("1.0.0.1", first.Version);
    EXPECT_STREQ("AppWindow", first.Class);
    EXPECT_STREQ("2048", first.Length);
    EXPECT_STREQ("http://h/a.exe", first.URL);
    EXPECT_STREQ("", first.SHA256);
    EXPECT_STREQ("文件.dll", manifest.m_entries[1].Name);
    EXPECT_STREQ("", manifest.m_entries[1].URL);
    EXPECT_STREQ("c.exe", manifest.m_entries[2].Name);
    EXPECT_STREQ("ab12", manifest.m_entries[2].SHA256);
}

TEST_F(ManifestFile, FilesAtAnyDepthAndOnlyTheirElementChildren) {
    ASSERT_EQ(UpdateManifest::Result::Read,
              Load("<Root><Group><Files><A Name=\"deep.exe\"/>text<!-- note --><B "
                   "Name=\"b.exe\"/></Files></Group><Other><C Name=\"no.exe\"/></Other></Root>"));
    EXPECT_STREQ("", manifest.m_strStart);
    ASSERT_EQ(2u, manifest.m_entries.size());
    EXPECT_STREQ("deep.exe", manifest.m_entries[0].Name);
    EXPECT_STREQ("b.exe", manifest.m_entries[1].Name);
}

} // namespace
