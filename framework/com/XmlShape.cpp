#include "framework/com/XmlShape.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <string>

namespace {

constexpr int kEnd = -1;

bool IsSpace(int unit) {
    return unit == ' ' || unit == '\t' || unit == '\r' || unit == '\n';
}

bool IsNameUnit(int unit) {
    static const std::string kDelimiters = "<>/=\"'?!&";
    return unit > 0 && !IsSpace(unit) &&
           (unit > 0x7F || kDelimiters.find(static_cast<char>(unit)) == std::string::npos);
}

// No declared encoding, or one whose markup characters are ASCII bytes that never stand inside
// a character of more bytes.
bool IsAsciiMarkupEncoding(const std::string& name) {
    static const char* const kNames[] = {"",      "utf-8", "utf8",   "us-ascii",
                                         "ascii", "gbk",   "gb2312", "gb18030"};
    for (const std::string family : {"iso-8859-", "windows-125"})
        if (name.size() > family.size() && name.compare(0, family.size(), family) == 0 &&
            std::all_of(name.begin() + family.size(), name.end(), ::isdigit))
            return true;
    return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

// Markup is ASCII in every encoding read here, so the pass follows the document unit by unit:
// bytes, or UTF-16 code units in the byte order found at the start.
class ShapeScanner {
public:
    ShapeScanner(const unsigned char* units, size_t count, int width, bool bigEndian)
        : m_units(units), m_count(count), m_width(width), m_bigEndian(bigEndian) {}

    bool Run() {
        if (!Declaration())
            return false;
        while (m_pos < m_count) {
            const int unit = Peek();
            if (unit == 0)
                return false;
            ++m_pos;
            if (unit == '<' && !Markup())
                return false;
        }
        return m_depth == 0 && m_nodes > 0;
    }

private:
    int Unit(size_t at) const {
        if (at >= m_count)
            return kEnd;
        if (m_width == 1)
            return m_units[at];
        const unsigned char first = m_units[2 * at];
        const unsigned char second = m_units[2 * at + 1];
        return m_bigEndian ? first << 8 | second : second << 8 | first;
    }

    int Peek(size_t ahead = 0) const { return Unit(m_pos + ahead); }

    bool Starts(const char* text) const {
        for (size_t i = 0; text[i]; ++i)
            if (Peek(i) != static_cast<unsigned char>(text[i]))
                return false;
        return true;
    }

    bool Skip(const char* text) {
        if (!Starts(text))
            return false;
        m_pos += std::char_traits<char>::length(text);
        return true;
    }

    bool SkipSpace() {
        const size_t start = m_pos;
        while (IsSpace(Peek()))
            ++m_pos;
        return m_pos != start;
    }

    bool SkipPast(const char* terminator) {
        while (!Skip(terminator)) {
            if (Peek() <= 0)
                return false;
            ++m_pos;
        }
        return true;
    }

    // Lower-case ASCII of the units from start to end; anything else becomes '?'.
    std::string Text(size_t start, size_t end) const {
        std::string text;
        for (size_t at = start; at < end && text.size() < 32; ++at) {
            const int unit = Unit(at);
            text += unit < 0x80 ? static_cast<char>(std::tolower(unit)) : '?';
        }
        return text;
    }

    bool Node() { return ++m_nodes <= XmlShapeLimits::kNodes; }

    bool Name() {
        size_t length = 0;
        while (IsNameUnit(Peek())) {
            if (++length > XmlShapeLimits::kNameLength)
                return false;
            ++m_pos;
        }
        return length > 0;
    }

    // name = "value", the value between valueStart and valueEnd.
    bool Attribute(size_t& nameEnd, size_t& valueStart, size_t& valueEnd) {
        if (!Name())
            return false;
        nameEnd = m_pos;
        SkipSpace();
        if (!Skip("="))
            return false;
        SkipSpace();
        const int quote = Peek();
        if (quote != '"' && quote != '\'')
            return false;
        valueStart = ++m_pos;
        for (int unit; (unit = Peek()) != quote; ++m_pos)
            if (unit <= 0 || unit == '<' || m_pos - valueStart >= XmlShapeLimits::kValueLength)
                return false;
        valueEnd = m_pos++;
        return true;
    }

    // The attributes of a tag up to its end; an element's may also end with "/>".
    enum class TagEnd { Open, Closed, Broken };
    TagEnd Attributes(const char* end, std::string* encoding = nullptr) {
        for (size_t count = 0;; ++count) {
            const bool spaced = SkipSpace();
            if (Skip(end))
                return TagEnd::Open;
            if (!encoding && Skip("/>"))
                return TagEnd::Closed;
            const size_t nameStart = m_pos;
            size_t nameEnd = 0;
            size_t valueStart = 0;
            size_t valueEnd = 0;
            if (!spaced || count == XmlShapeLimits::kAttributesPerElement ||
                !Attribute(nameEnd, valueStart, valueEnd))
                return TagEnd::Broken;
            if (encoding && Text(nameStart, nameEnd) == "encoding")
                *encoding = Text(valueStart, valueEnd);
        }
    }

    // The XML declaration, whose encoding must be one the pass reads as the parser will: the
    // parser decodes what follows the declaration as it says.
    bool Declaration() {
        if (!Starts("<?xml") || !IsSpace(Peek(5)))
            return true;
        m_pos += 5;
        std::string encoding;
        if (Attributes("?>", &encoding) != TagEnd::Open)
            return false;
        if (m_width == 2)
            return encoding.empty() || encoding == "utf-16";
        return IsAsciiMarkupEncoding(encoding);
    }

    bool Markup() {
        if (Skip("!--")) // "--" ends a comment and must be followed by '>'.
            return Node() && SkipPast("--") && Skip(">");
        if (Skip("![CDATA["))
            return Node() && SkipPast("]]>");
        if (Skip("?"))
            return Node() && SkipPast("?>");
        if (Skip("/")) {
            if (!Name() || m_depth == 0)
                return false;
            SkipSpace();
            --m_depth;
            return Skip(">");
        }
        if (!Node() || m_depth == XmlShapeLimits::kDepth || !Name())
            return false;
        const TagEnd end = Attributes(">");
        if (end == TagEnd::Open)
            ++m_depth;
        return end != TagEnd::Broken;
    }

    const unsigned char* m_units;
    size_t m_count;
    int m_width;
    bool m_bigEndian;
    size_t m_pos = 0;
    size_t m_depth = 0;
    size_t m_nodes = 0;
};

} // namespace

bool IsXmlShapeWithinLimits(const char* data, size_t size) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    // Whether the bytes begin so; -1 stands for any byte but zero.
    const auto starts = [&](std::initializer_list<int> prefix) {
        size_t i = 0;
        for (int byte : prefix)
            if (i >= size || (byte >= 0 ? bytes[i++] != byte : bytes[i++] == 0))
                return false;
        return true;
    };
    // The byte order mark, or the zero byte of a UTF-16 document's first character.
    size_t offset = 0;
    int width = 1;
    bool bigEndian = false;
    if (starts({0xFF, 0xFE}) || starts({0xFE, 0xFF}))
        offset = 2, width = 2, bigEndian = bytes[0] == 0xFE;
    else if (starts({-1, 0x00}) || starts({0x00, -1}))
        width = 2, bigEndian = bytes[0] == 0;
    else if (starts({0xEF, 0xBB, 0xBF}))
        offset = 3;
    if ((size - offset) % width != 0)
        return false;
    return ShapeScanner(bytes + offset, (size - offset) / width, width, bigEndian).Run();
}
