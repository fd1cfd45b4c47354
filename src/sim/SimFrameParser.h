#pragma once
// The processor's receiver: finds host frames in the stream of output-report bytes. A frame
// may span several reports; the zero fill after an end byte and any bytes before a preamble
// are skipped.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "sim/SimFrame.h"

namespace vantor::sim {

class SimFrameParser {
 public:
  // Takes the next stream bytes; returns every frame they complete, in order. Frames whose
  // checksum or end byte is wrong are returned too (HostFrame::Intact says which), so that
  // the processor can ask for them again. A header claiming an impossible length comes back
  // as a 14-byte frame (never intact) and the bytes after its preamble are searched again.
  std::vector<HostFrame> Feed(std::span<const std::uint8_t> bytes);

  // Forgets a partly received frame.
  void Reset();

  bool InFrame() const { return m_inFrame; }

 private:
  std::vector<std::uint8_t> m_frame;
  int m_preambleRun = 0;
  bool m_inFrame = false;
};

}  // namespace vantor::sim
