#pragma once
// Field codecs shared by the output, input and effect objects: the 8-byte crossover item
// and the fixed-size name fields. Byte positions come from DataDefine.h.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vantor {

class CFilter;

// Crossover item: i16 high-pass sent frequency, u8 family, u8 slope, then the same for the
// low-pass filter.
void PackCrossover(std::span<std::uint8_t> item, const CFilter& highPass, const CFilter& lowPass);
// Frequency (not as from the user), family and slope of each filter, then
// StepSentFrequency(0), so neither is left pending. A frequency of 0 or below (only a damaged
// image holds one) reads as 20 Hz.
void UnpackCrossover(std::span<const std::uint8_t> item, CFilter& highPass, CFilter& lowPass);

// A name field as stored: the bytes up to the first zero byte, with leading and trailing
// white space trimmed (GBK trail bytes are never white space, so trimming bytes is safe).
std::string ReadNameField(std::span<const std::uint8_t> field);
// Writes gbk into the field and pads it with zero bytes. gbk must be shorter than the field.
void WriteNameField(std::span<std::uint8_t> field, std::string_view gbk);
// Writes gbk cut at a character boundary to leave room for at least one zero byte.
void WriteNameFieldCut(std::span<std::uint8_t> field, std::string_view gbk);

}  // namespace vantor
