#include "presets/PresetFormat.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace vantor {
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string_view PresetExtension(PresetKind kind) {
  switch (kind) {
    case PresetKind::kSingle:
      return "dsps";
    case PresetKind::kAll:
      return "dspa";
    case PresetKind::kNone:
      break;
  }
  return {};
}

std::size_t PresetFileSize(PresetKind kind) {
  switch (kind) {
    case PresetKind::kSingle:
      return kSinglePresetFileSize;
    case PresetKind::kAll:
      return kAllPresetsFileSize;
    case PresetKind::kNone:
      break;
  }
  return 0;
}

PresetKind PresetKindOfPath(const std::filesystem::path& path) {
  const std::string text = path.string();
  const std::size_t dot = text.rfind('.');
  if (dot == std::string::npos) return PresetKind::kNone;
  const std::string_view extension = std::string_view(text).substr(dot + 1);
  if (SameIgnoringCase(extension, PresetExtension(PresetKind::kSingle))) return PresetKind::kSingle;
  if (SameIgnoringCase(extension, PresetExtension(PresetKind::kAll))) return PresetKind::kAll;
  return PresetKind::kNone;
}

std::filesystem::path WithPresetExtension(const std::filesystem::path& path, PresetKind kind) {
  if (kind == PresetKind::kNone || PresetKindOfPath(path) == kind) return path;
  std::filesystem::path result = path;
  result += ".";
  result += std::string(PresetExtension(kind));
  return result;
}

}  // namespace vantor
