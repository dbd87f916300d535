#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/com/XmlDom.h"
#include "framework/windows/App.h"

namespace {

// Resource 1 of type RT_MANIFEST, the one Windows reads when it starts the program.
std::string EmbeddedManifest(const char* program) {
    HMODULE module = ::LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return std::string();
    std::string bytes;
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    if (const void* data = loaded ? ::LockResource(loaded) : nullptr)
        bytes.assign(static_cast<const char*>(data), ::SizeofResource(module, resource));
    ::FreeLibrary(module);
    return bytes;
}

// The text of each element of that name and namespace, or the value of its attribute.
std::vector<std::string> Values(IXMLDOMDocument* document, const char* name, const char* space,
                                const char* attribute) {
    std::vector<std::string> values;
    CComPtr<IXMLDOMNodeList> nodes;
    CComBSTR tag(name);
    if (FAILED(document->getElementsByTagName(tag.m_str, &nodes)) || !nodes)
        return values;
    CComPtr<IXMLDOMNode> node;
    while (nodes->nextNode(&node) == S_OK && node) {
        CComBSTR uri;
        if (FAILED(node->get_namespaceURI(&uri)) || uri.ToAnsi().str() != space)
            continue;
        CComBSTR text;
        if (attribute)
            values.push_back(XmlAttribute(AsXmlElement(node), attribute).str());
        else if (SUCCEEDED(node->get_text(&text)))
            values.push_back(text.ToAnsi().str());
    }
    return values;
}

class ProgramManifestTest : public testing::TestWithParam<const char*> {};

TEST_P(ProgramManifestTest, RunsAsInvokerOnVistaTo11AtTheSystemDpi) {
    const std::string manifest = EmbeddedManifest(GetParam());
    ASSERT_FALSE(manifest.empty()) << "no RT_MANIFEST resource 1";
    AfxEnableControlContainer();
    CComPtr<IXMLDOMDocument> document = CreateXmlDocument();
    ASSERT_TRUE(LoadXmlDocument(document, manifest)) << "not well-formed";

    const char* const asmV3 = "urn:schemas-microsoft-com:asm.v3";
    const struct {
        const char* element;
        const char* space;
        const char* attribute;
        std::vector<std::string> values;
    } expected[] = {
        {"requestedExecutionLevel", asmV3, "level", {"asInvoker"}},
        {"requestedExecutionLevel", asmV3, "uiAccess", {"false"}},
        {"supportedOS",
         "urn:schemas-microsoft-com:compatibility.v1",
         "Id",
         {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
          "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
          "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}},
        {"dpiAware", "http://schemas.microsoft.com/SMI/2005/WindowsSettings", nullptr, {"true"}},
        {"dpiAwareness",
         "http://schemas.microsoft.com/SMI/2016/WindowsSettings",
         nullptr,
         {"system"}},
        // A dependency on Common Controls 6 would change the controls' look.
        {"dependency", "urn:schemas-microsoft-com:asm.v1", nullptr, {}},
    };
    for (const auto& setting : expected)
        EXPECT_EQ(Values(document, setting.element, setting.space, setting.attribute),
                  setting.values)
            << setting.element << (setting.attribute ? " " : "")
            << (setting.attribute ? setting.attribute : "");
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramManifestTest,
                         testing::Values(ZIPDEX_EXE, PACKAGE_EXE, UPDATE_EXE, CONTROLS_DEMO_EXE));

} // namespace
