#include <gtest/gtest.h>

#include <set>

#include "DialogHelpers.h"
#include "SeamRecorder.h"

namespace {

struct ConfigCase {
    const char* what;
    std::string document; // UTF-8 unless it says otherwise
    std::vector<std::string> items;
    std::vector<std::pair<std::string, std::string>> urls;
};

const char kDecl[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

TEST(ExpressConfig, SelectorAndMapFollowTheDocument) {
    const ConfigCase cases[] = {
        {"document order C, A, B",
         std::string(kDecl) + "<Expresses><E Name=\"C\" URL=\"u:c\"/><E Name=\"A\" URL=\"u:a\"/>"
                              "<E Name=\"B\" URL=\"u:b\"/></Expresses>",
         {"A", "B", "C"},
         {{"A", "u:a"}, {"B", "u:b"}, {"C", "u:c"}}},
        {"a name twice leads to the later URL",
         std::string(kDecl) + "<Expresses><E Name=\"D\" URL=\"u:1\"/><E Name=\"D\" URL=\"u:2\"/>"
                              "<E Name=\"\" URL=\"u:empty\"/></Expresses>",
         {"", "D", "D"},
         {{"D", "u:2"}, {"", "u:empty"}}},
        {"any tag counts, grandchildren and text do not",
         std::string(kDecl) + "<Expresses>text<X Name=\"X\" URL=\"u:x\"><G Name=\"G\" URL=\"u:g\"/>"
                              "</X><!-- c --><Y Name=\"Y\"/></Expresses>",
         {"X", "Y"},
         {{"X", "u:x"}, {"Y", ""}}},
        {"nested and repeated Expresses, in document order; expresses is not one",
         std::string(kDecl) + "<Root><A><Expresses><E Name=\"N2\" URL=\"u:1\"/></Expresses></A>"
                              "<Expresses><E Name=\"N1\" URL=\"u:2\"/></Expresses>"
                              "<expresses><E Name=\"lower\" URL=\"u:3\"/></expresses></Root>",
         {"N1", "N2"},
         {{"N1", "u:2"}, {"N2", "u:1"}}},
        {"Chinese names come through",
         std::string(kDecl) + u8"<Expresses><E Name=\"顺丰速运\" URL=\"u:sf\"/>"
                              u8"<E Name=\"EMS\" URL=\"u:ems\"/></Expresses>",
         {"EMS", "顺丰速运"},
         {{"顺丰速运", "u:sf"}}},
        {"a GBK document",
         "<?xml version=\"1.0\" encoding=\"GBK\"?><Expresses><E Name=\"\xd6\xd0\xcd\xa8\" "
         "URL=\"u:zto\"/></Expresses>",
         {"中通"},
         {{"中通", "u:zto"}}},
        {"malformed", std::string(kDecl) + "<Expresses><E Name=\"A\" URL=\"u\"/>", {}, {}},
        {"an HTML error page", "<html><body><h1>500</h1><br></body></html>", {}, {}},
        {"no entries", std::string(kDecl) + "<Expresses/>", {}, {}},
    };
    for (const ConfigCase& c : cases) {
        WriteLocalConfig(c.document);
        SeamRecorder seams;
        CTrackDialog dialog;
        ASSERT_TRUE(dialog.Create()) << c.what;
        EXPECT_EQ(c.items, Items(dialog)) << c.what;
        const std::set<std::string> names(c.items.begin(), c.items.end());
        EXPECT_EQ(static_cast<int>(names.size()), dialog.m_mapExpressUrl.GetCount()) << c.what;
        for (const auto& [name, url] : c.urls) {
            CString found;
            EXPECT_TRUE(dialog.m_mapExpressUrl.Lookup(name.c_str(), found)) << c.what;
            EXPECT_EQ(url, found.str()) << c.what;
        }
        EXPECT_TRUE(seams.boxes.empty()) << c.what;
        dialog.DestroyWindow();
    }
}

TEST(ExpressConfig, AMissingFileGivesAnEmptySelectorAndNoMessage) {
    ::DeleteFileA(GetModuleDirectory() + kConfigFileName);
    SeamRecorder seams;
    CTrackDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(0, dialog.m_comboCompany.GetCount());
    EXPECT_TRUE(seams.boxes.empty());
}

} // namespace
