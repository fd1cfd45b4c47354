#include "ui/app/FrameTrace.h"

#include <cstdio>
#include <mutex>
#include <string_view>

#include "link/Frame.h"
#include "model/DataDefine.h"

namespace vantor {
namespace {

void AppendHex(std::string& s, std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i != 0) s += ' ';
    s += kDigits[bytes[i] >> 4];
    s += kDigits[bytes[i] & 0xF];
  }
}

std::string_view ClassName(std::uint8_t cls) {
  switch (cls) {
    case frame::kWriteClass:
      return "write";
    case frame::kReadClass:
      return "read";
    case frame::kReplyAccepted:
      return "accepted";
    case frame::kReplyResend:
      return "resend";
    case frame::kReplyData:
      return "data";
    default:
      return "frame";
  }
}

}  // namespace

std::string FormatTraceLine(FrameDirection direction, std::span<const std::uint8_t> frame) {
  std::string s = direction == FrameDirection::kSent ? "> " : "< ";
  if (frame.size() >= frame::kOverhead) {
    const std::size_t length = frame[frame::kLength] | (frame[frame::kLength + 1] << 8);
    s += ClassName(frame[frame::kClass]);
    s += " slot " + std::to_string(frame[frame::kSlot]);
    s += " block " + std::to_string(frame[frame::kBlockType]);
    s += " index " + std::to_string(frame[frame::kIndex]);
    s += " item " + std::to_string(frame[frame::kItem]);
    s += " link " + std::to_string(frame[frame::kLink]);
    s += " L=" + std::to_string(length);
    s += " | ";
  }
  AppendHex(s, frame);
  return s;
}

bool IsStatusPollTraffic(FrameDirection direction, std::span<const std::uint8_t> frame) {
  if (frame.size() <= frame::kIndex) return false;
  const std::uint8_t cls = frame[frame::kClass];
  const bool expected =
      direction == FrameDirection::kSent ? cls == frame::kReadClass : cls == frame::kReplyData;
  return expected && frame[frame::kBlockType] == rec::kBlockSystem &&
         frame[frame::kIndex] == rec::kSysItemStatus;
}

TraceLevel TraceLevelFrom(bool flag, const char* environment) {
  const std::string_view env = environment != nullptr ? environment : "";
  if (env == "all") return TraceLevel::kAll;
  if (flag || env == "1" || env == "yes" || env == "on" || env == "true") return TraceLevel::kEdits;
  return TraceLevel::kOff;
}

FrameTap StderrTraceTap(TraceLevel level) {
  if (level == TraceLevel::kOff) return {};
  return [level](FrameDirection direction, std::span<const std::uint8_t> frame) {
    if (level != TraceLevel::kAll && IsStatusPollTraffic(direction, frame)) return;
    static std::mutex lock;
    const std::string line = FormatTraceLine(direction, frame);
    std::lock_guard guard(lock);
    std::fprintf(stderr, "vantor: %s\n", line.c_str());
  };
}

}  // namespace vantor
