#pragma once
// A serialisation archive over a byte buffer: the object model's Serialize operations
// either store into it or load from it, field by field, little-endian.
// Loading past the end never reads out of bounds; it marks the archive failed and
// yields zeros, and the caller checks Ok() before using what it read.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vantor {

class ByteArchive {
 public:
  // A storing archive that appends to its own buffer.
  ByteArchive();
  // A loading archive over bytes the caller keeps alive while loading.
  explicit ByteArchive(std::span<const std::uint8_t> source);

  bool IsStoring() const { return m_storing; }
  bool IsLoading() const { return !m_storing; }
  bool Ok() const { return m_ok; }
  // Loading: every byte of the source has been consumed.
  bool AtEnd() const { return m_pos == m_source.size(); }
  std::size_t Remaining() const { return m_source.size() - m_pos; }

  const std::vector<std::uint8_t>& Bytes() const { return m_out; }

  // Raw bytes, copied as they are (images inside a file).
  void WriteBytes(std::span<const std::uint8_t> bytes);
  void WriteI32(std::int32_t v);
  void WriteU16(std::uint16_t v);
  void WriteF64(double v);

  // Fills `to` from the source; when fewer bytes are left the archive fails and `to` is
  // left as it was.
  bool ReadBytes(std::span<std::uint8_t> to);
  std::int32_t ReadI32();
  std::uint16_t ReadU16();
  double ReadF64();

 private:
  bool Take(std::size_t n);

  bool m_storing;
  bool m_ok = true;
  std::vector<std::uint8_t> m_out;
  std::span<const std::uint8_t> m_source;
  std::size_t m_pos = 0;
};

}  // namespace vantor
