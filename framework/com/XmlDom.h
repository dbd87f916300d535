#pragma once

#include <windows.h>
#include <msxml2.h>

#include <string>

#include "framework/com/Com.h"
#include "framework/base/String.h"

// The Microsoft XML DOM document through COM (created, run, asked for IXMLDOMDocument);
// empty when the component is missing.
CComPtr<IXMLDOMDocument> CreateXmlDocument();
// Parses the bytes synchronously, their encoding as they declare it; TRUE when they were
// well-formed. A document beyond XmlShapeLimits is refused, and so is a document type
// declaration: nothing we read needs one, and its entities let a few kilobytes cost minutes.
BOOL LoadXmlDocument(IXMLDOMDocument* document, const std::string& bytes);
// The same for a file of at most maxBytes; a larger one is not parsed.
BOOL LoadXmlFile(IXMLDOMDocument* document, const char* path, size_t maxBytes);
// The element of a selected node, or empty when the node is not one.
CComPtr<IXMLDOMElement> AsXmlElement(IXMLDOMNode* node);
// An attribute's value in narrow text; empty when it is missing.
CString XmlAttribute(IXMLDOMElement* element, const char* name);
