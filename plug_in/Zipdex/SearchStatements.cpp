#include "SearchStatements.h"

#include <windows.h>

const char kProvinceListStatement[] = "SELECT DISTINCT PROVINCE FROM [Zipdex]";

namespace {

const char* const kSearchFormats[] = {
    "SELECT * FROM [zipdex] WHERE PROVINCE LIKE '%%%s%%'",
    "SELECT * FROM [zipdex] WHERE DC LIKE '%%%s%%'",
    "SELECT * FROM [zipdex] WHERE YZBM LIKE '%%%s%%'",
    "SELECT * FROM [zipdex] WHERE DHQH LIKE '%%%s%%'",
};

// Rewrites single-byte characters; a GBK trail byte can look like '[' or '_' and is kept.
template <typename Rewrite> CString RewriteCharacters(const CString& value, Rewrite rewrite) {
    CString result;
    for (int i = 0; i < value.GetLength(); ++i) {
        const char ch = value.GetAt(i);
        if (IsDBCSLeadByte(static_cast<BYTE>(ch)) && i + 1 < value.GetLength()) {
            result += ch;
            result += value.GetAt(++i);
        } else {
            result += rewrite(ch);
        }
    }
    return result;
}

} // namespace

CString QuoteLiteral(const CString& value) {
    return RewriteCharacters(value,
                             [](char ch) { return ch == '\'' ? CString("''") : CString(ch); });
}

CString EscapeLikeLiteral(const CString& value) {
    return RewriteCharacters(value, [](char ch) {
        if (ch == '\'')
            return CString("''");
        if (ch == '%' || ch == '_' || ch == '[')
            return "[" + CString(ch) + "]";
        return CString(ch);
    });
}

CString BuildProvinceStatement(const CString& province) {
    CString statement;
    statement.Format("SELECT * FROM [zipdex] WHERE PROVINCE = '%s'",
                     static_cast<const char*>(QuoteLiteral(province)));
    return statement;
}

CString BuildSearchStatement(int field, const CString& value) {
    CString statement;
    if (field < 0 || field > 3)
        return statement;
    statement.Format(kSearchFormats[field], static_cast<const char*>(EscapeLikeLiteral(value)));
    return statement;
}
