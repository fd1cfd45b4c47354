#pragma once
// One whole field of a text file as a number, whatever locale the process runs in.

#include <optional>
#include <string_view>

namespace vantor {

// The field as a finite double: an optional sign, digits with one decimal mark ('.' or, for
// files from comma-decimal locales, ','), an optional exponent. Nothing else may follow;
// NaN, infinities, hexadecimal and values beyond the double range are refused.
std::optional<double> ParseDecimalField(std::string_view field, bool commaDecimal = false);

}  // namespace vantor
