#include "UpdateManifest.h"

#include <algorithm>

#include "framework/XmlDom.h"

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
    CComPtr<IXMLDOMDocument> document = CreateXmlDocument();
    if (!LoadXmlDocument(document, source))
        return Result::Unreadable;

    CComPtr<IXMLDOMElement> root;
    if (SUCCEEDED(document->get_documentElement(&root)) && root)
        m_strStart = XmlAttribute(root, "Start");

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
        CComPtr<IXMLDOMElement> element = AsXmlElement(node);
        if (!element)
            continue;
        m_entries.push_back({XmlAttribute(element, "Name"), XmlAttribute(element, "Version"),
                             XmlAttribute(element, "Class"), XmlAttribute(element, "Length"),
                             XmlAttribute(element, "URL"), XmlAttribute(element, "SHA256")});
    }
    return Result::Read;
}
