#pragma once
// Typed little-endian accessors for byte images (records, frames, files).
// Every multi-byte field of the device's images is little-endian; reading and writing
// through these keeps the images byte-exact whatever the host's own byte order is.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace vantor::le {

inline std::uint8_t GetU8(std::span<const std::uint8_t> b, std::size_t at) { return b[at]; }

inline std::uint16_t GetU16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

inline std::int16_t GetI16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::int16_t>(GetU16(b, at));
}

inline std::uint32_t GetU32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
         (static_cast<std::uint32_t>(b[at + 2]) << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

inline std::int32_t GetI32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::int32_t>(GetU32(b, at));
}

inline std::uint64_t GetU64(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint64_t>(GetU32(b, at)) |
         (static_cast<std::uint64_t>(GetU32(b, at + 4)) << 32);
}

inline double GetF64(std::span<const std::uint8_t> b, std::size_t at) {
  const std::uint64_t bits = GetU64(b, at);
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

inline void PutU8(std::span<std::uint8_t> b, std::size_t at, std::uint8_t v) { b[at] = v; }

inline void PutU16(std::span<std::uint8_t> b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v & 0xFF);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void PutI16(std::span<std::uint8_t> b, std::size_t at, std::int16_t v) {
  PutU16(b, at, static_cast<std::uint16_t>(v));
}

inline void PutU32(std::span<std::uint8_t> b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void PutI32(std::span<std::uint8_t> b, std::size_t at, std::int32_t v) {
  PutU32(b, at, static_cast<std::uint32_t>(v));
}

inline void PutU64(std::span<std::uint8_t> b, std::size_t at, std::uint64_t v) {
  PutU32(b, at, static_cast<std::uint32_t>(v));
  PutU32(b, at + 4, static_cast<std::uint32_t>(v >> 32));
}

inline void PutF64(std::span<std::uint8_t> b, std::size_t at, double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  PutU64(b, at, bits);
}

}  // namespace vantor::le
