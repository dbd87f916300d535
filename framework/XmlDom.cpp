#include "framework/XmlDom.h"

namespace {

const CLSID kClsidDomDocument = {
    0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidDomDocument = {
    0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidDomElement = {
    0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

} // namespace

CComPtr<IXMLDOMDocument> CreateXmlDocument() {
    CComPtr<IUnknown> unknown;
    if (FAILED(::CoCreateInstance(kClsidDomDocument, nullptr, CLSCTX_ALL, IID_IUnknown,
                                  reinterpret_cast<void**>(&unknown))) ||
        FAILED(::OleRun(unknown)))
        return CComPtr<IXMLDOMDocument>();
    return unknown.QueryInterface<IXMLDOMDocument>(kIidDomDocument);
}

BOOL LoadXmlDocument(IXMLDOMDocument* document, const VARIANT& source) {
    if (!document || FAILED(document->put_async(VARIANT_FALSE)))
        return FALSE;
    VARIANT_BOOL loaded = VARIANT_FALSE;
    return SUCCEEDED(document->load(source, &loaded)) && loaded == VARIANT_TRUE;
}

BOOL LoadXmlDocument(IXMLDOMDocument* document, const char* location) {
    return LoadXmlDocument(document, CComVariant(location));
}

CComPtr<IXMLDOMElement> AsXmlElement(IXMLDOMNode* node) {
    CComPtr<IXMLDOMElement> element;
    if (node)
        node->QueryInterface(kIidDomElement, reinterpret_cast<void**>(&element));
    return element;
}

CString XmlAttribute(IXMLDOMElement* element, const char* name) {
    CComBSTR attributeName(name);
    CComVariant value;
    if (!element || FAILED(element->getAttribute(attributeName, &value)))
        return CString();
    return value.ToAnsi();
}
