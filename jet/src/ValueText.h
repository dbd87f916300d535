#pragma once

#include "Bytes.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Stored values as the Access ODBC driver hands them to SQL_C_CHAR (see Database.h).
namespace jet::value_text {

// Plain decimal with the significant digits of the driver's conversion: 7 for single, 15
// for double. An exponent ("1.5E+20") only where the plain form would not fit the type's
// display size (14 and 24 characters).
std::string single(float value);
std::string real(double value);
std::string currency(std::int64_t tenThousandths);
std::string bigInteger(std::int64_t value);
std::string dateTime(double days);
// Access 2019's 42-byte text form; throws jet::Error when it is malformed.
std::string extendedDateTime(Bytes stored);
std::string guid(Bytes stored);
std::string numeric(Bytes stored, unsigned scale);
std::string hex(const std::uint8_t* data, std::size_t size);

} // namespace jet::value_text
