#pragma once
// The fixed vocabulary of the channels: the output route's tags, curve colours and
// crossover drag-limit modes, and the two inputs' names and colours.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/DataDefine.h"

namespace vantor {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The same colour fully opaque as 0xAARRGGBB, for the smooth curve.
inline constexpr std::uint32_t OpaqueArgb(Rgb c) {
  return 0xFF000000U | (static_cast<std::uint32_t>(c.r) << 16) |
         (static_cast<std::uint32_t>(c.g) << 8) | c.b;
}

struct OutputChannelInfo {
  std::string_view tag;  // the object's initial name
  Rgb colour;
  int crossoverLimitMode;  // how far a dragged crossover handle may move
};

inline constexpr std::array<OutputChannelInfo, rec::kOutputCount> kOutputChannels = {{
    {"FL", {255, 14, 198}, 9},
    {"FR", {255, 0, 0}, 8},
    {"SL", {255, 127, 39}, 7},
    {"SR", {255, 180, 0}, 9},
    {"Center", {0, 255, 0}, 8},
    {"ULF", {0, 0, 255}, 7},
    {"CH7", {255, 128, 192}, 7},
    {"CH8", {45, 244, 235}, 7},
}};

// Filter-set shapes of the channel table: bands minus one, and the crossovers' band number.
inline constexpr int kOutputBandCountArg = 30;
inline constexpr int kOutputCrossoverBand = 32;
inline constexpr int kInputBandCountArg = 8;
inline constexpr int kInputCrossoverBand = 10;
inline constexpr int kEffectBandCountArg = 2;
inline constexpr int kEffectCrossoverBand = 8;

inline constexpr std::string_view kMicName = "Mic 1";
inline constexpr Rgb kMicColour = {255, 128, 51};
inline constexpr int kMicInputIndex = 0;
inline constexpr std::string_view kMusicName = "Music 1";
inline constexpr Rgb kMusicColour = {54, 121, 237};
inline constexpr int kMusicInputIndex = 2;
inline constexpr std::string_view kEffectObjectName = "Effect";

// "CH1".."CH8", the label of output c on the main form.
inline std::string ChannelLabel(int channel) { return "CH" + std::to_string(channel + 1); }

}  // namespace vantor
