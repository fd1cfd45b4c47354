#pragma once
// Texts put together from the catalogue's: a pattern with named values filled in, and a
// failed file operation's reason in the interface language.

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace vantor {

// `pattern` with each "{name}" replaced by its value (names without a value stay).
std::string FormatText(std::string_view pattern,
                       std::initializer_list<std::pair<std::string_view, std::string>> values);

// The system's reason for a failed file operation (an errno value), in words.
std::string DescribeFileError(int error, bool chinese);

}  // namespace vantor
