#include "framework/base/Encoding.h"

#include <windows.h>

namespace {

std::wstring ToWide(UINT codePage, const char* text, int length) {
    const int needed = ::MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    if (needed > 0)
        ::MultiByteToWideChar(codePage, 0, text, length, &wide[0], needed);
    return wide;
}

std::string FromWide(UINT codePage, const wchar_t* text, int length) {
    const int needed =
        ::WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(needed), '\0');
    if (needed > 0)
        ::WideCharToMultiByte(codePage, 0, text, length, &narrow[0], needed, nullptr, nullptr);
    return narrow;
}

} // namespace

std::wstring AnsiToWide(const char* text) {
    const std::string narrow(text ? text : "");
    return ToWide(CP_ACP, narrow.data(), static_cast<int>(narrow.size()));
}

CString WideToAnsi(const wchar_t* text) {
    const std::wstring wide(text ? text : L"");
    return CString(FromWide(CP_ACP, wide.data(), static_cast<int>(wide.size())));
}

std::string AnsiToUtf8(const char* text) {
    const std::wstring wide = AnsiToWide(text);
    return FromWide(CP_UTF8, wide.data(), static_cast<int>(wide.size()));
}

CString Utf8ToAnsi(const std::string& text) {
    const std::wstring wide = ToWide(CP_UTF8, text.data(), static_cast<int>(text.size()));
    return WideToAnsi(wide.c_str());
}
