#include "Text.h"

#include "CodePage936.h"
#include "SingleByteCodePages.h"

#include <algorithm>

namespace jet::text {

namespace {

constexpr char32_t replacement = 0xFFFD;

const char16_t* upperHalfOf(unsigned codePage) {
    const SingleByteCodePage* western = nullptr;
    for (const SingleByteCodePage& known : singleByteCodePages) {
        if (known.number == codePage)
            return known.upperHalf;
        if (known.number == 1252)
            western = &known;
    }
    return western->upperHalf;
}

class Utf16Decoder {
public:
    explicit Utf16Decoder(std::string& out) : out_(out) {}
    // Most text is ASCII: that case is kept small enough to inline.
    void unit(char16_t u) {
        if (u < 0x80 && !pendingHigh_)
            out_ += static_cast<char>(u);
        else
            anyUnit(u);
    }
    [[gnu::noinline]] void anyUnit(char16_t u) {
        if (pendingHigh_) {
            char16_t high = pendingHigh_;
            pendingHigh_ = 0;
            if (u >= 0xDC00 && u <= 0xDFFF) {
                appendUtf8(out_, 0x10000 + ((high - 0xD800) << 10) + (u - 0xDC00));
                return;
            }
            appendUtf8(out_, replacement);
        }
        if (u >= 0xD800 && u <= 0xDBFF)
            pendingHigh_ = u;
        else if (u >= 0xDC00 && u <= 0xDFFF)
            appendUtf8(out_, replacement);
        else
            appendUtf8(out_, u);
    }
    void finish() {
        if (pendingHigh_)
            appendUtf8(out_, replacement);
        pendingHigh_ = 0;
    }

private:
    std::string& out_;
    char16_t pendingHigh_ = 0;
};

} // namespace

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string fromJet4(const std::uint8_t* data, std::size_t size) {
    bool compressed = size >= 2 && data[0] == 0xFF && data[1] == 0xFE;
    // Compressed ASCII without a switch to two-byte characters (codes, numbers) is its own
    // UTF-8.
    if (compressed &&
        std::all_of(data + 2, data + size, [](std::uint8_t b) { return b - 1u < 0x7Fu; }))
        return std::string(reinterpret_cast<const char*>(data) + 2, size - 2);
    std::string out;
    out.reserve(size);
    Utf16Decoder decoder(out);
    if (compressed) {
        bool oneByte = true;
        std::size_t i = 2;
        while (i < size) {
            if (data[i] == 0) {
                oneByte = !oneByte;
                ++i;
            } else if (oneByte) {
                decoder.unit(data[i++]);
            } else if (i + 1 < size) {
                decoder.unit(static_cast<char16_t>(data[i] | data[i + 1] << 8));
                i += 2;
            } else {
                break;
            }
        }
    } else {
        for (std::size_t i = 0; i + 1 < size; i += 2)
            decoder.unit(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    }
    decoder.finish();
    return out;
}

std::string fromCodePage(const std::uint8_t* data, std::size_t size, unsigned codePage) {
    const char16_t* upperHalf = codePage == 936 ? nullptr : upperHalfOf(codePage);
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        std::uint8_t b = data[i];
        if (b < 0x80) {
            out += static_cast<char>(b);
        } else if (codePage == 936) {
            if (b == 0x80) {
                appendUtf8(out, 0x20AC);
            } else if (b == 0xFF || i + 1 >= size || data[i + 1] < 0x40 || data[i + 1] == 0xFF) {
                appendUtf8(out, replacement);
            } else {
                char16_t u = codePage936[b - 0x81][data[i + 1] - 0x40];
                appendUtf8(out, u ? u : replacement);
                ++i;
            }
        } else {
            char16_t u = upperHalf[b - 0x80];
            appendUtf8(out, u ? u : replacement);
        }
    }
    return out;
}

std::u32string decodeUtf8(const std::string& utf8) {
    std::u32string out;
    decodeUtf8(utf8, out);
    return out;
}

void decodeUtf8(const std::string& utf8, std::u32string& out) {
    // Never more characters than bytes: written in place, then cut to length.
    out.resize(utf8.size());
    std::size_t length = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out[length++] = b;
            ++i;
            continue;
        }
        int extra = (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || i + extra >= utf8.size()) {
            out[length++] = replacement;
            ++i;
            continue;
        }
        char32_t c = b & (0x3F >> extra);
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            c = c << 6 | (next & 0x3F);
        }
        if (!valid) {
            out[length++] = replacement;
            ++i;
            continue;
        }
        out[length++] = c;
        i += extra + 1;
    }
    out.resize(length);
}

std::u16string toUtf16(const std::string& utf8) {
    std::u16string out;
    for (char32_t c : decodeUtf8(utf8)) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

char32_t foldCase(char32_t c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 32 : c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F) || (c >= 0xFF21 && c <= 0xFF3A))
        return c + 32;
    if (c >= 0x400 && c <= 0x40F)
        return c + 80;
    if (((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) && c % 2 == 0)
        return c + 1;
    if (c == 0x178)
        return 0xFF;
    return c;
}

std::u32string folded(const std::string& utf8) {
    std::u32string out = decodeUtf8(utf8);
    for (char32_t& c : out)
        c = foldCase(c);
    return out;
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    if (a == b)
        return true;
    return folded(a) == folded(b);
}

} // namespace jet::text
