#include "model/RecordCodec.h"

#include <algorithm>

#include "base/LittleEndian.h"
#include "dsp/Filter.h"
#include "text/GbkCodec.h"

namespace vantor {
namespace {

// Offsets inside a crossover item (the same as output record bytes 256..263).
constexpr std::size_t kXHighFreq = 0;
constexpr std::size_t kXHighFamily = 2;
constexpr std::size_t kXHighSlope = 3;
constexpr std::size_t kXLowFreq = 4;
constexpr std::size_t kXLowFamily = 6;
constexpr std::size_t kXLowSlope = 7;

void UnpackOne(std::span<const std::uint8_t> item, std::size_t freq, std::size_t family,
               std::size_t slope, CFilter& f) {
  const int hz = le::GetI16(item, freq);
  f.SetFrequency(hz > 0 ? hz : kFrequencyMin, false);
  f.SetFamily(item[family], false);
  f.SetSlope(item[slope], false);
  f.StepSentFrequency(0);
}

bool IsSpace(std::uint8_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

void PackCrossover(std::span<std::uint8_t> item, const CFilter& highPass, const CFilter& lowPass) {
  le::PutI16(item, kXHighFreq, static_cast<std::int16_t>(highPass.SentFrequency()));
  item[kXHighFamily] = static_cast<std::uint8_t>(highPass.Family());
  item[kXHighSlope] = static_cast<std::uint8_t>(highPass.Slope());
  le::PutI16(item, kXLowFreq, static_cast<std::int16_t>(lowPass.SentFrequency()));
  item[kXLowFamily] = static_cast<std::uint8_t>(lowPass.Family());
  item[kXLowSlope] = static_cast<std::uint8_t>(lowPass.Slope());
}

void UnpackCrossover(std::span<const std::uint8_t> item, CFilter& highPass, CFilter& lowPass) {
  UnpackOne(item, kXHighFreq, kXHighFamily, kXHighSlope, highPass);
  UnpackOne(item, kXLowFreq, kXLowFamily, kXLowSlope, lowPass);
}

std::string ReadNameField(std::span<const std::uint8_t> field) {
  auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  auto begin = field.begin();
  while (begin != end && IsSpace(*begin)) ++begin;
  while (end != begin && IsSpace(*(end - 1))) --end;
  return std::string(begin, end);
}

void WriteNameField(std::span<std::uint8_t> field, std::string_view gbk) {
  const std::size_t n = std::min(gbk.size(), field.size());
  std::copy_n(gbk.begin(), n, field.begin());
  std::fill(field.begin() + static_cast<std::ptrdiff_t>(n), field.end(), std::uint8_t{0});
}

void WriteNameFieldCut(std::span<std::uint8_t> field, std::string_view gbk) {
  if (field.empty()) return;
  WriteNameField(field, GbkCutToFit(gbk, field.size() - 1));
}

}  // namespace vantor
