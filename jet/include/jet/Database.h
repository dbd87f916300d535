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

// A read-only Access database: Jet3 (Access 97) or Jet4 (Access 2000-2003).
// Pages are read on demand through a small cache; the file is never loaded whole.
//
// Values read as text the way the Access ODBC driver hands them to SQL_C_CHAR:
//   byte, integer, long integer, autonumber  decimal ("-42")
//   single, double         shortest text that reads back as the same number ("444.555", "1e+20")
//   currency               four decimals, as the driver's NUMERIC(19,4) ("3.5000", "-0.0100")
//   decimal (numeric)      exactly the column's scale in decimals ("12.30" for scale 2)
//   date/time              "YYYY-MM-DD hh:mm:ss", rounded to the second
//   yes/no                 "1" or "0"
//   text, memo             the text itself
//   binary, OLE            upper-case hexadecimal digits, two per byte
//   replication ID (GUID)  "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
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

    // 3 for Access 97 files, 4 for Access 2000-2003 files.
    int jetVersion() const;

private:
    std::shared_ptr<Engine> engine_;
};

} // namespace jet
