#pragma once

#include "jet/Cursor.h"
#include "jet/Error.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace jet {

class Engine;

// The sort key of a UTF-8 text: texts are ordered as their keys compare byte by byte (unsigned,
// a prefix first, as std::string compares). DISTINCT asks once for each value it keeps.
using Collation = std::function<std::string(const std::string&)>;

// A read-only Access database: Jet3 (Access 97), Jet4 (Access 2000-2003) or ACE (Access 2007,
// 2010, 2013, 2016 and 2019 .accdb files). Pages are read on demand through a small cache; the
// file is never loaded whole. Access 2007 and later files encrypted with a password are refused.
//
// Values read as text the way the Access ODBC driver hands them to SQL_C_CHAR:
//   byte, integer, long integer, autonumber, large number   decimal ("-42")
//   single, double         plain decimal with 7 and 15 significant digits ("100000", "0.0001",
//                          "444.555"); an exponent ("1E+20") only where that form would pass the
//                          type's display size of 14 and 24 characters
//   currency               four decimals, as the driver's NUMERIC(19,4) ("3.5000", "-0.0100")
//   decimal (numeric)      exactly the column's scale in decimals ("12.30" for scale 2)
//   date/time              "YYYY-MM-DD hh:mm:ss", rounded to the second
//   date/time extended     "YYYY-MM-DD hh:mm:ss.fffffff"
//   yes/no                 "1" or "0"
//   text, memo             the text itself; Jet3 text in the database's code page as Windows
//                          reads it (936, 874, 1250-1258; others as 1252), so 1252's 0x81
//                          is U+0081
//   binary, OLE            upper-case hexadecimal digits, two per byte
//   replication ID (GUID)  "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", 36 characters
//   attachment, multi-value, memo history   the values ("a, b"), of an attachment its file
//                          names, "" when it has none
//   calculated             the result, as its type reads
//   NULL                   ""
//
// Statements: SELECT [DISTINCT] * | column [, column ...] FROM table [WHERE condition], where a
// condition is column = 'text', column <> 'text', column [NOT] LIKE 'pattern', combined with
// AND, OR, NOT and parentheses. Names may be bracketed ([Zipdex]) and ignore letter case;
// comparisons and LIKE ignore letter case and use the value's text form. LIKE takes % and _ and
// bracket classes ([abc], [!abc], [a-z], [%]). Rows of a plain SELECT stream in storage order;
// DISTINCT rows are collected, rows differing only in letter case counting once, and sorted
// ascending by the selected columns, NULL counting as
// empty text. A Database and its cursors belong to one thread at a time.
class Database {
public:
    // `path` goes to std::fopen unchanged (on Windows: the ANSI code page file name).
    explicit Database(const std::string& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // User tables in catalog order.
    std::vector<std::string> tableNames() const;

    // Runs a SELECT given as UTF-8. DISTINCT sorts by the keys `collation` gives (default: UTF-8
    // byte order). Throws jet::Error for a bad statement, an unknown table or column, a damaged
    // file.
    std::unique_ptr<Cursor> execute(const std::string& statement,
                                    const Collation& collation = Collation()) const;

    // 3 for Access 97 files, 4 for Access 2000-2003 files, and the ACE version of later files:
    // 12 (Access 2007), 14 (2010), 15 (2013), 16 (2016), 17 (2019).
    int jetVersion() const;

private:
    std::shared_ptr<Engine> engine_;
};

} // namespace jet
