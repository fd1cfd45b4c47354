#include "cli/JsonWriter.h"

#include <cmath>
#include <cstdio>
#include <ostream>

#include "base/NumberFormat.h"

namespace vantor::cli {

void JsonWriter::BeforeValue() {
  if (m_afterKey) {
    m_afterKey = false;
    return;
  }
  if (!m_hasItems.empty()) {
    if (m_hasItems.back()) m_out << ',';
    m_hasItems.back() = true;
  }
}

JsonWriter& JsonWriter::BeginObject() {
  BeforeValue();
  m_out << '{';
  m_hasItems.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  m_out << '}';
  m_hasItems.pop_back();
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  BeforeValue();
  m_out << '[';
  m_hasItems.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  m_out << ']';
  m_hasItems.pop_back();
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name) {
  BeforeValue();
  WriteString(name);
  m_out << ':';
  m_afterKey = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view value) {
  BeforeValue();
  WriteString(value);
  return *this;
}

JsonWriter& JsonWriter::Int(long long value) {
  BeforeValue();
  m_out << value;
  return *this;
}

JsonWriter& JsonWriter::Double(double value) {
  BeforeValue();
  if (!std::isfinite(value)) {
    m_out << "null";
  } else {
    m_out << FormatShortest(value);
  }
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  m_out << (value ? "true" : "false");
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  m_out << "null";
  return *this;
}

void JsonWriter::WriteString(std::string_view s) {
  m_out << '"';
  for (const char c : s) {
    switch (c) {
      case '"':
        m_out << "\\\"";
        break;
      case '\\':
        m_out << "\\\\";
        break;
      case '\n':
        m_out << "\\n";
        break;
      case '\r':
        m_out << "\\r";
        break;
      case '\t':
        m_out << "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x",
                        static_cast<unsigned>(static_cast<unsigned char>(c)));
          m_out << buf;
        } else {
          m_out << c;  // UTF-8 passes through
        }
    }
  }
  m_out << '"';
}

}  // namespace vantor::cli
