#include "presets/SlotNames.h"

#include <algorithm>

#include "model/ProgramState.h"
#include "text/GbkCodec.h"

namespace vantor {
namespace {

constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";
constexpr std::size_t kSaveLabelLongest = 15;
constexpr std::size_t kSaveLabelCut = 16;

// The length in bytes of the first `count` UTF-8 characters of `text`.
std::size_t Utf8Prefix(std::string_view text, std::size_t count) {
  std::size_t at = 0;
  for (std::size_t n = 0; n < count && at < text.size(); ++n) {
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
  }
  return at;
}

std::size_t Utf8Length(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

std::string_view TrimWhiteSpace(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kWhiteSpace);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kWhiteSpace);
  return text.substr(first, last - first + 1);
}

std::string DefaultSlotLabel(int slot, bool chinese) {
  return std::string(Tr(TextId::SlotLabelPrefix, chinese)) + std::to_string(slot);
}

void StoreSlotName(rec::StateRecord& record, std::string_view gbk) {
  const std::string_view kept = GbkCutToFit(gbk, kSlotNameBytes);
  auto field = std::span(record).subspan(rec::kProgramName, rec::kProgramNameSize);
  std::fill(field.begin(), field.end(), std::uint8_t{0});
  std::copy(kept.begin(), kept.end(), field.begin());
}

std::string SlotNameText(const rec::StateRecord& record) {
  const auto field = std::span(record).subspan(rec::kProgramName, rec::kProgramNameSize);
  std::string raw(field.begin(), field.end());
  raw.resize(std::min(raw.find('\0'), raw.size()));
  // A name read back from the device keeps 13 bytes, which may end inside a double-byte
  // character (its second half replaced by a space): that half character is not shown.
  const std::string_view trimmed = TrimWhiteSpace(raw);
  return GbkToUtf8Lossy(TrimWhiteSpace(GbkCutToFit(trimmed, trimmed.size())));
}

std::string SlotLabel(const ProgramState& state, int slot, bool connected) {
  if (slot < 1 || slot > kPresetSlots) return {};
  const bool chinese = state.chinese.load();
  if (!connected) return DefaultSlotLabel(slot, chinese);
  std::string name = SlotNameText(state.Slot(slot));
  return name.empty() ? DefaultSlotLabel(slot, chinese) : name;
}

std::array<std::string, kPresetSlots> SlotLabels(const ProgramState& state, bool connected) {
  std::array<std::string, kPresetSlots> labels;
  for (int n = 1; n <= kPresetSlots; ++n)
    labels[static_cast<std::size_t>(n - 1)] = SlotLabel(state, n, connected);
  return labels;
}

std::optional<TextId> CheckSlotName(std::string_view utf8) {
  if (TrimWhiteSpace(utf8).empty()) return TextId::SlotNameAllSpaces;
  return std::nullopt;
}

std::string SaveDialogLabel(std::string_view utf8) {
  if (Utf8Length(utf8) <= kSaveLabelLongest) return std::string(utf8);
  return std::string(utf8.substr(0, Utf8Prefix(utf8, kSaveLabelCut)));
}

}  // namespace vantor
