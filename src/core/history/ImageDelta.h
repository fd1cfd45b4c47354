#pragma once
// The bytes in which two program images differ, kept as runs with the bytes before and
// after: what one step of the edit history holds. A band edit costs a few bytes; a whole
// channel reset a few hundred.

#include <cstdint>
#include <span>
#include <vector>

namespace vantor {

class ImageDelta {
 public:
  // Runs of differing bytes; runs closer than a few equal bytes are kept as one.
  static ImageDelta Between(std::span<const std::uint8_t> before,
                            std::span<const std::uint8_t> after);

  bool Empty() const { return m_runs.empty(); }
  // Writes the "before" (or "after") bytes of every run into `image`.
  void WriteBefore(std::span<std::uint8_t> image) const;
  void WriteAfter(std::span<std::uint8_t> image) const;
  // Bytes held, for the history's memory bound.
  std::size_t Size() const { return m_before.size() + m_after.size(); }

 private:
  struct Run {
    std::uint32_t offset = 0;  // in the image
    std::uint32_t length = 0;
    std::uint32_t at = 0;  // in m_before and m_after
  };
  static void Write(const std::vector<Run>& runs, const std::vector<std::uint8_t>& bytes,
                    std::span<std::uint8_t> image);

  std::vector<Run> m_runs;
  std::vector<std::uint8_t> m_before;
  std::vector<std::uint8_t> m_after;
};

}  // namespace vantor
