#pragma once

#include <cstddef>

// The most markup the XML component is given. Its duplicate-attribute check is quadratic and
// its tree has no bound of its own, so a document beyond these is refused before it is
// parsed. Lengths count bytes, or code units in a UTF-16 document.
struct XmlShapeLimits {
    // Namespace declarations count as attributes.
    static constexpr size_t kAttributesPerElement = 16;
    static constexpr size_t kDepth = 32;
    // Elements, comments, CDATA sections and processing instructions together.
    static constexpr size_t kNodes = 32768;
    static constexpr size_t kNameLength = 128;
    static constexpr size_t kValueLength = 4096;
};

// True when the document's markup keeps within XmlShapeLimits; one pass that reads nothing
// beyond size. Also refused: a document type declaration, an encoding the pass cannot follow
// (it reads UTF-8, UTF-16, ASCII, ISO-8859-n, windows-125n, GBK, GB2312 and GB18030), a zero
// character, a '<' inside an attribute value and markup cut short.
bool IsXmlShapeWithinLimits(const char* bytes, size_t size);
