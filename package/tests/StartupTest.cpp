#include <gtest/gtest.h>

#include "ConfigDownload.h"
#include "PackageApp.h"
#include "PackageTestSupport.h"
#include "VendorSite.h"
#include "framework/Module.h"

namespace {

const char kConfigAddress[] = LUMIVANE_VENDOR_ADDRESS "/Package/Application/configs.xml";

TEST(Startup, TheNetworkCheckNeedsTheVendorsPort) {
    SiteRestorer restore;
    CPackageApp app;
    EXPECT_TRUE(app.CheckNetwork());
    vendor_site::SetMode("refuse");
    EXPECT_FALSE(app.CheckNetwork());
    vendor_site::SetMode("normal");
    EXPECT_TRUE(app.CheckNetwork());
}

class ConfigDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = (GetModuleDirectory() + "download").str();
        ::CreateDirectoryA(folder.c_str(), nullptr);
        local = folder + "\\configs.xml";
        WriteBytes(local, old);
    }
    void TearDown() override {
        ::DeleteFileA(local.c_str());
        ::RemoveDirectoryA(folder.c_str());
    }
    BOOL Download() {
        CInternetSession session;
        return DownloadToFile(session, kConfigAddress, local.c_str());
    }

    SiteRestorer restore;
    std::string folder;
    std::string local;
    const std::string old = ConfigXml({{"Old", "u:old"}});
};

TEST_F(ConfigDownloadTest, WholeAnswersAreStoredByteForByte) {
    for (size_t size : {1024u, 1025u, 200u * 1024u + 7u}) {
        const std::string served = ConfigXml({{"顺丰", "https://sf"}}, size);
        ASSERT_EQ(size, served.size());
        WriteBytes(vendor_site::ServedConfig(), served);
        EXPECT_TRUE(Download()) << size;
        EXPECT_EQ(served, ReadBytes(local)) << size;
        EXPECT_EQ("configs.xml", ListFolder(folder)) << "no temporary file stays";
    }
}

TEST_F(ConfigDownloadTest, FailedAnswersKeepTheOldCopy) {
    WriteBytes(vendor_site::ServedConfig(), ConfigXml({{"New", "u:new"}}, 5000));
    for (const char* mode : {"error", "empty", "cut", "refuse"}) {
        vendor_site::SetMode(mode);
        EXPECT_FALSE(Download()) << mode;
        EXPECT_EQ(old, ReadBytes(local)) << mode;
        EXPECT_EQ("configs.xml", ListFolder(folder)) << mode;
    }
    vendor_site::SetMode("normal");
    ::DeleteFileA(local.c_str());
    EXPECT_TRUE(Download()) << "a first download needs no old copy";
    EXPECT_TRUE(FileExists(local));
}

} // namespace
