#pragma once

#include <string>

#include "framework/base/String.h"

// Conversions between the programs' narrow text (the ANSI code page), UTF-16 (COM, the
// platform's wide calls) and UTF-8 (the database engine, resource data). Characters
// without an equivalent become the code page's default character.
std::wstring AnsiToWide(const char* text);
CString WideToAnsi(const wchar_t* text);
std::string AnsiToUtf8(const char* text);
CString Utf8ToAnsi(const std::string& text);
