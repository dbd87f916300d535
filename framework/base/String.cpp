#include "framework/base/String.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

bool IsLeadByte(char ch) {
    return IsDBCSLeadByte(static_cast<BYTE>(ch)) != FALSE;
}

size_t Clamp(int value, size_t limit) {
    return value < 0 ? 0 : std::min(static_cast<size_t>(value), limit);
}

} // namespace

CString& CString::operator=(const char* text) {
    m_text = text ? text : "";
    return *this;
}

CString& CString::operator+=(const CString& other) {
    m_text += other.m_text;
    return *this;
}

CString& CString::operator+=(const char* text) {
    m_text += text ? text : "";
    return *this;
}

CString& CString::operator+=(char ch) {
    m_text += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    return CString(a.m_text + b.m_text);
}
CString operator+(const CString& a, const char* b) {
    return CString(a.m_text + (b ? b : ""));
}
CString operator+(const char* a, const CString& b) {
    return CString((a ? a : "") + b.m_text);
}

int CString::Find(const char* sub, int start) const {
    const size_t subLength = std::strlen(sub);
    for (size_t i = Clamp(start, m_text.size()); i + subLength <= m_text.size();) {
        if (m_text.compare(i, subLength, sub) == 0)
            return static_cast<int>(i);
        i += (IsLeadByte(m_text[i]) && i + 1 < m_text.size()) ? 2 : 1;
    }
    return -1;
}

int CString::Find(char ch, int start) const {
    const char sub[2] = {ch, 0};
    return Find(sub, start);
}

int CString::ReverseFind(char ch) const {
    int found = -1;
    for (int at = Find(ch); at >= 0; at = Find(ch, at + 1))
        found = at;
    return found;
}

CString CString::Left(int count) const {
    return CString(m_text.substr(0, Clamp(count, m_text.size())));
}

CString CString::Mid(int first) const {
    return CString(m_text.substr(Clamp(first, m_text.size())));
}

CString CString::Mid(int first, int count) const {
    const size_t from = Clamp(first, m_text.size());
    return CString(m_text.substr(from, Clamp(count, m_text.size() - from)));
}

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) {
        m_text.clear();
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    m_text.assign(buffer.data(), static_cast<size_t>(length));
}

char* CString::GetBuffer(int minLength) {
    if (m_text.size() < Clamp(minLength, SIZE_MAX))
        m_text.resize(static_cast<size_t>(minLength));
    return &m_text[0];
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0)
        newLength = static_cast<int>(std::strlen(m_text.c_str()));
    m_text.resize(Clamp(newLength, m_text.size()));
}
