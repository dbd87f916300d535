#pragma once

#include <windows.h>
#include <msxml.h>

#include "framework/Com.h"
#include "framework/String.h"

// The Microsoft XML DOM document through COM (created, run, asked for IXMLDOMDocument);
// empty when the component is missing.
CComPtr<IXMLDOMDocument> CreateXmlDocument();
// Loads the document synchronously from a path or address, or from the bytes of a VT_UI1
// array; TRUE when it was well-formed.
BOOL LoadXmlDocument(IXMLDOMDocument* document, const VARIANT& source);
BOOL LoadXmlDocument(IXMLDOMDocument* document, const char* location);
// The element of a selected node, or empty when the node is not one.
CComPtr<IXMLDOMElement> AsXmlElement(IXMLDOMNode* node);
// An attribute's value in narrow text; empty when it is missing.
CString XmlAttribute(IXMLDOMElement* element, const char* name);
