#pragma once
// The core's UTF-8 texts as Qt strings.

#include <QString>
#include <string_view>

namespace vantor {

inline QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

}  // namespace vantor
