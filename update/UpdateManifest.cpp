#include "UpdateManifest.h"

#include "framework/com/XmlDom.h"

UpdateManifest::Result UpdateManifest::Parse(const std::string& bytes) {
    *this = UpdateManifest();
    CComPtr<IXMLDOMDocument> document = CreateXmlDocument();
    if (!LoadXmlDocument(document, bytes))
        return Result::Unreadable;

    CComPtr<IXMLDOMElement> root;
    if (SUCCEEDED(document->get_documentElement(&root)) && root) {
        m_strStart = XmlAttribute(root, "Start");
        m_strSerial = XmlAttribute(root, "Serial");
        m_strExpires = XmlAttribute(root, "Expires");
    }

    CComPtr<IXMLDOMNode> files;
    CComBSTR filesQuery("//Files");
    if (FAILED(document->selectSingleNode(filesQuery, &files)) || !files)
        return Result::NoEntryList;
    CComPtr<IXMLDOMNodeList> nodes;
    CComBSTR query("//Files/*");
    if (FAILED(document->selectNodes(query, &nodes)) || !nodes)
        return Result::NoEntryList;
    long count = 0;
    if (FAILED(nodes->get_length(&count)) || count > kMaxEntries) {
        m_strStart.Empty();
        return Result::Unreadable;
    }
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
