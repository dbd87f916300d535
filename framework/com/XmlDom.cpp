#include "framework/com/XmlDom.h"

#include <algorithm>

#include "framework/base/File.h"
#include "framework/com/XmlShape.h"

namespace {

const CLSID kClsidDomDocument = {
    0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidDomDocument = {
    0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidDomDocument2 = {
    0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidDomElement = {
    0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

// The component's own refusal where it has one; Wine's may ignore it.
void ProhibitDocumentType(IXMLDOMDocument* document) {
    CComPtr<IXMLDOMDocument2> properties;
    if (FAILED(document->QueryInterface(kIidDomDocument2, reinterpret_cast<void**>(&properties))) ||
        !properties)
        return;
    CComBSTR name("ProhibitDTD");
    VARIANT value;
    value.vt = VT_BOOL;
    value.boolVal = VARIANT_TRUE;
    properties->setProperty(name, value);
}

} // namespace

CComPtr<IXMLDOMDocument> CreateXmlDocument() {
    CComPtr<IUnknown> unknown;
    if (FAILED(::CoCreateInstance(kClsidDomDocument, nullptr, CLSCTX_ALL, IID_IUnknown,
                                  reinterpret_cast<void**>(&unknown))) ||
        FAILED(::OleRun(unknown)))
        return CComPtr<IXMLDOMDocument>();
    return unknown.QueryInterface<IXMLDOMDocument>(kIidDomDocument);
}

// The bytes go to the parser as they are, so that it reads their encoding declaration.
BOOL LoadXmlDocument(IXMLDOMDocument* document, const std::string& bytes) {
    if (!document || !IsXmlShapeWithinLimits(bytes.data(), bytes.size()) ||
        FAILED(document->put_async(VARIANT_FALSE)))
        return FALSE;
    ProhibitDocumentType(document);
    SAFEARRAY* array = ::SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    void* data = nullptr;
    if (!array || FAILED(::SafeArrayAccessData(array, &data))) {
        if (array)
            ::SafeArrayDestroy(array);
        return FALSE;
    }
    std::copy(bytes.begin(), bytes.end(), static_cast<char*>(data));
    ::SafeArrayUnaccessData(array);
    CComVariant source;
    source.vt = VT_ARRAY | VT_UI1;
    source.parray = array;
    VARIANT_BOOL loaded = VARIANT_FALSE;
    return SUCCEEDED(document->load(source, &loaded)) && loaded == VARIANT_TRUE;
}

BOOL LoadXmlFile(IXMLDOMDocument* document, const char* path, size_t maxBytes) {
    std::string bytes;
    return ReadWholeFile(path, maxBytes, bytes) && LoadXmlDocument(document, bytes);
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
