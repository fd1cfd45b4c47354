#pragma once
// A small streaming JSON writer for the tool's --json output: commas and escaping are its
// business, the caller only says what comes next.

#include <iosfwd>
#include <string_view>
#include <vector>

namespace vantor::cli {

class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out) : m_out(out) {}

  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(std::string_view name);
  JsonWriter& String(std::string_view value);
  JsonWriter& Int(long long value);
  // Locale-free, shortest form that reads back as the same number.
  JsonWriter& Double(double value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

 private:
  void BeforeValue();
  void WriteString(std::string_view s);

  std::ostream& m_out;
  // Per open container: whether something was written in it yet.
  std::vector<bool> m_hasItems;
  bool m_afterKey = false;
};

}  // namespace vantor::cli
