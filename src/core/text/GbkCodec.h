#pragma once
// Conversions between the screen's Unicode (UTF-8) and the GBK bytes that names take in
// records and files. Invalid input is an error value, never a crash and never garbage
// written into a record.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantor {

// UTF-8 text as GBK bytes; nullopt when the text is not valid UTF-8 or holds a character
// GBK cannot encode.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// GBK bytes as UTF-8; nullopt when the bytes are not valid GBK (a broken double-byte
// character, a lead byte at the end).
std::optional<std::string> GbkToUtf8(std::string_view gbk);

// GBK bytes as UTF-8 for showing whatever a record holds: each byte that does not start a
// valid character becomes U+FFFD.
std::string GbkToUtf8Lossy(std::string_view gbk);

// The length of the longest prefix of gbk that fits in maxBytes without splitting a
// double-byte character (a lead byte at the very end, half a character, is left out).
std::size_t GbkFitLength(std::string_view gbk, std::size_t maxBytes);

// gbk cut to at most maxBytes at a character boundary.
inline std::string_view GbkCutToFit(std::string_view gbk, std::size_t maxBytes) {
  return gbk.substr(0, GbkFitLength(gbk, maxBytes));
}

}  // namespace vantor
