#include "history/ImageDelta.h"

#include <algorithm>
#include <cassert>

namespace vantor {
namespace {

// Equal bytes between two differences below which one run is cheaper than two.
constexpr std::size_t kJoinGap = 8;

}  // namespace

ImageDelta ImageDelta::Between(std::span<const std::uint8_t> before,
                               std::span<const std::uint8_t> after) {
  assert(before.size() == after.size());
  ImageDelta delta;
  const std::size_t n = std::min(before.size(), after.size());
  std::size_t i = 0;
  while (i < n) {
    if (before[i] == after[i]) {
      ++i;
      continue;
    }
    std::size_t end = i + 1;  // one past the last differing byte of the run
    std::size_t j = end;
    while (j < n && j - end < kJoinGap) {
      if (before[j] != after[j]) end = j + 1;
      ++j;
    }
    Run run;
    run.offset = static_cast<std::uint32_t>(i);
    run.length = static_cast<std::uint32_t>(end - i);
    run.at = static_cast<std::uint32_t>(delta.m_before.size());
    delta.m_before.insert(delta.m_before.end(), before.begin() + static_cast<std::ptrdiff_t>(i),
                          before.begin() + static_cast<std::ptrdiff_t>(end));
    delta.m_after.insert(delta.m_after.end(), after.begin() + static_cast<std::ptrdiff_t>(i),
                         after.begin() + static_cast<std::ptrdiff_t>(end));
    delta.m_runs.push_back(run);
    i = end;
  }
  return delta;
}

void ImageDelta::Write(const std::vector<Run>& runs, const std::vector<std::uint8_t>& bytes,
                       std::span<std::uint8_t> image) {
  for (const Run& r : runs) {
    if (r.offset + r.length > image.size()) continue;
    std::copy_n(bytes.begin() + r.at, r.length, image.begin() + r.offset);
  }
}

void ImageDelta::WriteBefore(std::span<std::uint8_t> image) const {
  Write(m_runs, m_before, image);
}

void ImageDelta::WriteAfter(std::span<std::uint8_t> image) const { Write(m_runs, m_after, image); }

}  // namespace vantor
