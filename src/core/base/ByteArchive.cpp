#include "base/ByteArchive.h"

#include <algorithm>

#include "base/LittleEndian.h"

namespace vantor {

ByteArchive::ByteArchive() : m_storing(true) {}

ByteArchive::ByteArchive(std::span<const std::uint8_t> source)
    : m_storing(false), m_source(source) {}

void ByteArchive::WriteBytes(std::span<const std::uint8_t> bytes) {
  m_out.insert(m_out.end(), bytes.begin(), bytes.end());
}

void ByteArchive::WriteI32(std::int32_t v) {
  const std::size_t at = m_out.size();
  m_out.resize(at + 4);
  le::PutI32(m_out, at, v);
}

void ByteArchive::WriteU16(std::uint16_t v) {
  const std::size_t at = m_out.size();
  m_out.resize(at + 2);
  le::PutU16(m_out, at, v);
}

void ByteArchive::WriteF64(double v) {
  const std::size_t at = m_out.size();
  m_out.resize(at + 8);
  le::PutF64(m_out, at, v);
}

bool ByteArchive::Take(std::size_t n) {
  if (!m_ok || m_storing || m_source.size() - m_pos < n) {
    m_ok = false;
    return false;
  }
  return true;
}

bool ByteArchive::ReadBytes(std::span<std::uint8_t> to) {
  if (!Take(to.size())) return false;
  std::copy_n(m_source.begin() + static_cast<std::ptrdiff_t>(m_pos), to.size(), to.begin());
  m_pos += to.size();
  return true;
}

std::int32_t ByteArchive::ReadI32() {
  if (!Take(4)) return 0;
  const auto v = le::GetI32(m_source, m_pos);
  m_pos += 4;
  return v;
}

std::uint16_t ByteArchive::ReadU16() {
  if (!Take(2)) return 0;
  const auto v = le::GetU16(m_source, m_pos);
  m_pos += 2;
  return v;
}

double ByteArchive::ReadF64() {
  if (!Take(8)) return 0.0;
  const auto v = le::GetF64(m_source, m_pos);
  m_pos += 8;
  return v;
}

}  // namespace vantor
