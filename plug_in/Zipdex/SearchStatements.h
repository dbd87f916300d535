#pragma once

#include "framework/base/String.h"

// The statements zipdex sends. Values are taken literally: quotes are doubled and, in LIKE
// patterns, the wildcard characters are bracketed so that they match themselves.
extern const char kProvinceListStatement[];

// The rows of one province, as the tree names it.
CString BuildProvinceStatement(const CString& province);
// A substring search in field 0 to 3 (province, district, postal code, area code);
// empty for any other field.
CString BuildSearchStatement(int field, const CString& value);

// The text of a SQL literal: each quote doubled.
CString QuoteLiteral(const CString& value);
// Also % _ [ written as [%] [_] [[] so that LIKE matches them as themselves.
CString EscapeLikeLiteral(const CString& value);
