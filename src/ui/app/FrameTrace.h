#pragma once
// The link's frames as text lines for --trace (or VANTOR_TRACE=1): what each frame is, then
// its bytes. The status poll and its answer, which run back to back whenever the link is
// idle, are left out unless every frame is asked for (VANTOR_TRACE=all).

#include <cstdint>
#include <span>
#include <string>

#include "link/FrameTap.h"

namespace vantor {

// "> write slot 0 block 3 index 2 item 5 link 0 L=8 | A2 A2 A2 A3 B3 ..."
std::string FormatTraceLine(FrameDirection direction, std::span<const std::uint8_t> frame);

// The idle status poll or its answer.
bool IsStatusPollTraffic(FrameDirection direction, std::span<const std::uint8_t> frame);

enum class TraceLevel { kOff, kEdits, kAll };
// From the --trace flag and the VANTOR_TRACE variable ("1"/"yes"/"on" or "all").
TraceLevel TraceLevelFrom(bool flag, const char* environment);

// A tap that writes the lines on standard error.
FrameTap StderrTraceTap(TraceLevel level);

}  // namespace vantor
