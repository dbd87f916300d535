#include <gtest/gtest.h>

#include <windows.h>

#include <string>

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

// How many nodes the XPath expression selects; the prefixes are the manifest's namespaces.
long Count(IXMLDOMDocument* document, const char* path) {
    const IID iidDocument2 = {
        0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
    CComPtr<IXMLDOMDocument2> queries;
    document->QueryInterface(iidDocument2, reinterpret_cast<void**>(&queries));
    CComBSTR language("SelectionLanguage"), spaces("SelectionNamespaces"), expression(path);
    queries->setProperty(language, CComVariant("XPath"));
    queries->setProperty(
        spaces, CComVariant("xmlns:a='urn:schemas-microsoft-com:asm.v1' "
                            "xmlns:v3='urn:schemas-microsoft-com:asm.v3' "
                            "xmlns:c='urn:schemas-microsoft-com:compatibility.v1' "
                            "xmlns:w5='http://schemas.microsoft.com/SMI/2005/WindowsSettings' "
                            "xmlns:w6='http://schemas.microsoft.com/SMI/2016/WindowsSettings'"));
    CComPtr<IXMLDOMNodeList> nodes;
    long length = -1;
    if (SUCCEEDED(queries->selectNodes(expression, &nodes)) && nodes)
        nodes->get_length(&length);
    return length;
}

class ProgramManifestTest : public testing::TestWithParam<const char*> {};

TEST_P(ProgramManifestTest, RunsAsInvokerOnVistaTo11AtTheSystemDpi) {
    const std::string manifest = EmbeddedManifest(GetParam());
    ASSERT_FALSE(manifest.empty()) << "no RT_MANIFEST resource 1";
    AfxEnableControlContainer();
    CComPtr<IXMLDOMDocument> document = CreateXmlDocument();
    ASSERT_TRUE(LoadXmlDocument(document, manifest)) << "not well-formed";
    const struct {
        const char* path;
        long count;
    } expected[] = {
        {"/a:assembly/v3:trustInfo/v3:security/v3:requestedPrivileges/"
         "v3:requestedExecutionLevel[@level='asInvoker' and @uiAccess='false']",
         1},
        {"//v3:requestedExecutionLevel", 1},
        // Vista, 7, 8, 8.1, 10 and 11, and nothing else.
        {"/a:assembly/c:compatibility/c:application/c:supportedOS", 5},
        {"//c:supportedOS[@Id='{e2011457-1546-43c5-a5fe-008deee3d3f0}' or "
         "@Id='{35138b9a-5d96-4fbd-8e2d-a2440225f93a}' or "
         "@Id='{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}' "
         "or @Id='{1f676c76-80e1-4239-95bb-83d0f6d0da78}' or "
         "@Id='{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}']",
         5},
        {"/a:assembly/v3:application/v3:windowsSettings/w5:dpiAware[.='true']", 1},
        {"/a:assembly/v3:application/v3:windowsSettings/w6:dpiAwareness[.='system']", 1},
        // A dependency on Common Controls 6 would change the controls' look.
        {"//a:dependency", 0},
    };
    for (const auto& node : expected)
        EXPECT_EQ(node.count, Count(document, node.path)) << node.path;
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramManifestTest,
                         testing::Values(ZIPDEX_EXE, PACKAGE_EXE, UPDATE_EXE, CONTROLS_DEMO_EXE));

} // namespace
