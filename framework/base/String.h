#pragma once

#include <cstdarg>
#include <string>

// Narrow text in the thread's ANSI code page (GBK for the suite's programs), with value
// semantics. Searches step over two-byte characters, so a trail byte never matches.
class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}
    CString(const char* text, int length) : m_text(text, static_cast<size_t>(length)) {}
    CString(std::string text) : m_text(std::move(text)) {}
    explicit CString(char ch, int repeat = 1) : m_text(static_cast<size_t>(repeat), ch) {}

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    char GetAt(int index) const { return m_text.at(static_cast<size_t>(index)); }
    operator const char*() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }

    CString& operator=(const char* text);
    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);
    CString& operator+=(char ch);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);

    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.m_text == (b ? b : ""); }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }

    // Byte index of the first match at or after start, or -1.
    int Find(const char* sub, int start = 0) const;
    int Find(char ch, int start = 0) const;
    int ReverseFind(char ch) const;
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    void Format(const char* format, ...);
    void FormatV(const char* format, va_list args);

    // Room for a platform call that writes a zero-terminated text; ReleaseBuffer trims to it.
    char* GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);

private:
    std::string m_text;
};
