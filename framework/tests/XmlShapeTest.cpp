#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TestFiles.h"
#include "framework/base/Encoding.h"
#include "framework/com/XmlDom.h"
#include "framework/com/XmlShape.h"
#include "framework/windows/App.h"

namespace {

using Limits = XmlShapeLimits;

std::string Repeat(const std::string& text, size_t count) {
    std::string repeated;
    for (size_t i = 0; i < count; ++i)
        repeated += text;
    return repeated;
}

std::string Attributes(size_t count, const char* prefix) {
    std::string attributes;
    for (size_t i = 0; i < count; ++i)
        attributes += " " + std::string(prefix) + std::to_string(i) + "='1'";
    return "<E" + attributes + "/>";
}

// Each byte widened to one code unit, big- or little-endian, with or without a mark.
std::string Utf16(const std::string& narrow, bool bigEndian, bool mark) {
    std::string wide = mark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (char byte : narrow)
        wide += bigEndian ? std::string{'\0', byte} : std::string{byte, '\0'};
    return wide;
}

bool Scan(const std::string& bytes) {
    return IsXmlShapeWithinLimits(bytes.data(), bytes.size());
}

// Each document at a limit and one past it, in UTF-8 and in UTF-16 of both byte orders.
TEST(XmlShape, LimitsHoldInEveryEncoding) {
    const std::string markupInside = "<!-- " + Attributes(99, "a") + " --><![CDATA[" +
                                     Repeat("<E>", 99) + "]]><?pi " + Attributes(99, "a") + "?>";
    const struct {
        std::string document;
        bool narrow;
        bool wide;
    } cases[] = {
        {Attributes(Limits::kAttributesPerElement, "a"), true, true},
        {Attributes(Limits::kAttributesPerElement + 1, "a"), false, false},
        {Attributes(Limits::kAttributesPerElement + 1, "xmlns:p"), false, false},
        {Repeat("<E>", Limits::kDepth) + Repeat("</E >", Limits::kDepth), true, true},
        {Repeat("<E>", Limits::kDepth) + "<E/>" + Repeat("</E>", Limits::kDepth), false, false},
        {"<R>" + Repeat("<E/>", Limits::kNodes - 2) + "<!---->" + "</R>", true, true},
        {"<R>" + Repeat("<E/>", Limits::kNodes - 1) + "<?p?>" + "</R>", false, false},
        {"<" + std::string(Limits::kNameLength, 'n') + "/>", true, true},
        {"<" + std::string(Limits::kNameLength + 1, 'n') + "/>", false, false},
        {"<E a=\"" + std::string(Limits::kValueLength, 'v') + "\"/>", true, true},
        {"<E a=\"" + std::string(Limits::kValueLength + 1, 'v') + "\"/>", false, false},
        {"<E a=\"x>y\" b='\">'/>", true, true},
        {"<E a=\"<F/>\"/>", false, false},
        {"<R>" + markupInside + "</R>", true, true},
        {"<R><!-- a -- b --></R>", false, false},
        {"<!DOCTYPE R><R/>", false, false},
        {"<?xml version=\"1.0\" encoding=\"GBK\"?><R 名=\"申通\"/>", true, false},
        {"<?xml version=\"1.0\" encoding='UTF-16'?><R/>", false, true},
        {"<?xml version=\"1.0\" encoding=\"UTF-7\"?><R/>", false, false},
        {"<?xml version='1.0' encoding='ISO-8859-15'?><R/>", true, false},
        {std::string("<R a=\"\0\"/>", 10), false, false},
        {"<R></R></R>", false, false},
        {"<R>", false, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string& narrow = cases[i].document;
        EXPECT_EQ(cases[i].narrow, Scan(narrow)) << i;
        EXPECT_EQ(cases[i].narrow, Scan("\xEF\xBB\xBF" + narrow)) << i;
        EXPECT_EQ(cases[i].wide, Scan(Utf16(narrow, false, true))) << i;
        EXPECT_EQ(cases[i].wide, Scan(Utf16(narrow, true, false))) << i;
    }
}

// Every cut of a document is refused, read up to a page that may not be read.
TEST(XmlShape, CutDocumentsAreReadNoFurtherThanTheirEnd) {
    const std::string narrow = "<?xml version=\"1.0\"?><R a=\"x>y\"><!-- c --><![CDATA[<]]>"
                               "<?p d?><E b='1'/></R>";
    SYSTEM_INFO system;
    ::GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    auto* pages = static_cast<char*>(
        ::VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old = 0;
    ASSERT_TRUE(pages && ::VirtualProtect(pages + page, page, PAGE_NOACCESS, &old));
    for (const std::string& document : {narrow, Utf16(narrow, false, false)}) {
        for (size_t size = 0; size <= document.size(); ++size) {
            char* end = pages + page;
            document.copy(end - size, size);
            EXPECT_EQ(size == document.size(), IsXmlShapeWithinLimits(end - size, size)) << size;
        }
    }
    ::VirtualFree(pages, 0, MEM_RELEASE);
}

// The number of nodes a query selects in the loaded document; -1 when it does not load.
long Selected(const std::string& bytes, const char* query) {
    CComPtr<IXMLDOMDocument> document = CreateXmlDocument();
    CComPtr<IXMLDOMNodeList> nodes;
    long count = -1;
    if (LoadXmlDocument(document, bytes) &&
        SUCCEEDED(document->selectNodes(CComBSTR(query), &nodes)) && nodes)
        nodes->get_length(&count);
    return count;
}

// What the suite reads still loads: the vendor site's configs.xml, and a manifest of 10 000
// entries of the length the publishing tool writes, in UTF-8 and UTF-16.
TEST(XmlShape, TheSuitesDocumentsStillLoad) {
    AfxEnableControlContainer();
    std::string manifest = "<Update Start=\"zipdex.exe\">\n  <Files>\n";
    for (int i = 0; i < 10000; ++i) {
        const std::string name = "plug_in\\Zipdex\\邮编模块" + std::to_string(i) + ".dll";
        manifest += "    <File Name=\"" + name + "\" Version=\"1.2.3." + std::to_string(i) +
                    "\" Class=\"ZipdexLookupWindow\" Length=\"1048576\" URL=\"" +
                    "http://www.lumivane.cn/update/" + name + "\" SHA256=\"" +
                    std::string(64, 'e') + "\"/>\n";
    }
    manifest += "  </Files>\n</Update>\n";
    const std::wstring wide =
        L"\xFEFF<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + AnsiToWide(manifest.c_str());
    const std::string utf8 =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + AnsiToUtf8(manifest.c_str());
    EXPECT_GT(utf8.size(), 2u << 20);
    const std::string config = test_files::Read(LUMIVANE_VENDOR_CONFIG);
    const std::pair<std::string, const char*> documents[] = {
        {config, "//Expresses/*"},
        {utf8, "//Files/*"},
        {std::string(reinterpret_cast<const char*>(wide.data()), 2 * wide.size()), "//Files/*"},
    };
    const long expected[] = {19, 10000, 10000};
    for (size_t i = 0; i < std::size(documents); ++i)
        EXPECT_EQ(expected[i], Selected(documents[i].first, documents[i].second)) << i;
}

} // namespace
