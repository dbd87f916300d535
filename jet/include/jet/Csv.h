#pragma once

#include <string>
#include <vector>

namespace jet::csv {

// Splits RFC 4180 text into records of fields. Accepts LF or CRLF line ends and skips a
// leading UTF-8 byte order mark. Throws jet::Error on a quote left open.
std::vector<std::vector<std::string>> parse(const std::string& text);

// One record as an RFC 4180 line with CRLF; fields holding a comma, quote or line break
// are quoted.
std::string formatRecord(const std::vector<std::string>& fields);
// The same line appended to `out`.
void appendRecord(std::string& out, const std::vector<std::string>& fields);

} // namespace jet::csv
