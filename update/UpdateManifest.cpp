#include "UpdateManifest.h"

#include <msxml.h>

#include <algorithm>

#include "framework/Com.h"

namespace {

const CLSID kClsidDomDocument = {
    0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidDomDocument = {
    0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidDomElement = {
    0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

CString Attribute(IXMLDOMElement* element, const char* name) {
    CComBSTR attributeName(name);
    CComVariant value;
    if (FAILED(element->getAttribute(attributeName, &value)))
        return CString();
    return value.ToAnsi();
}

CComPtr<IXMLDOMDocument> CreateDocument() {
    CComPtr<IUnknown> unknown;
    if (FAILED(::CoCreateInstance(kClsidDomDocument, nullptr, CLSCTX_ALL, IID_IUnknown,
                                  reinterpret_cast<void**>(&unknown))) ||
        FAILED(::OleRun(unknown)))
        return CComPtr<IXMLDOMDocument>();
    return unknown.QueryInterface<IXMLDOMDocument>(kIidDomDocument);
}

} // namespace

UpdateManifest::Result UpdateManifest::Load(const char* path) {
    return Read(CComVariant(path));
}

// The bytes go to the parser as they are, so that it reads their encoding declaration.
UpdateManifest::Result UpdateManifest::Parse(const std::string& bytes) {
    SAFEARRAY* array = ::SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    void* data = nullptr;
    if (!array || FAILED(::SafeArrayAccessData(array, &data))) {
        if (array)
            ::SafeArrayDestroy(array);
        return Result::Unreadable;
    }
    std::copy(bytes.begin(), bytes.end(), static_cast<char*>(data));
    ::SafeArrayUnaccessData(array);
    VARIANT source;
    ::VariantInit(&source);
    source.vt = VT_ARRAY | VT_UI1;
    source.parray = array;
    const Result result = Read(source);
    ::VariantClear(&source);
    return result;
}

UpdateManifest::Result UpdateManifest::Read(const VARIANT& source) {
    m_strStart.Empty();
    m_entries.clear();
    CComPtr<IXMLDOMDocument> document = CreateDocument();
    if (!document || FAILED(document->put_async(VARIANT_FALSE)))
        return Result::Unreadable;
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (FAILED(document->load(source, &loaded)) || loaded != VARIANT_TRUE)
        return Result::Unreadable;

    CComPtr<IXMLDOMElement> root;
    if (SUCCEEDED(document->get_documentElement(&root)) && root)
        m_strStart = Attribute(root, "Start");

    CComPtr<IXMLDOMNode> files;
    CComBSTR filesQuery("//Files");
    if (FAILED(document->selectSingleNode(filesQuery, &files)) || !files)
        return Result::NoEntryList;
    CComPtr<IXMLDOMNodeList> nodes;
    CComBSTR query("//Files/*");
    if (FAILED(document->selectNodes(query, &nodes)) || !nodes)
        return Result::NoEntryList;
    long count = 0;
    for (long i = 0; SUCCEEDED(nodes->get_length(&count)) && i < count; ++i) {
        CComPtr<IXMLDOMNode> node;
        if (FAILED(nodes->get_item(i, &node)) || !node)
            continue;
        CComPtr<IXMLDOMElement> element = node.QueryInterface<IXMLDOMElement>(kIidDomElement);
        if (!element)
            continue;
        m_entries.push_back({Attribute(element, "Name"), Attribute(element, "Version"),
                             Attribute(element, "Class"), Attribute(element, "Length"),
                             Attribute(element, "URL"), Attribute(element, "SHA256")});
    }
    return Result::Read;
}
