#include "sim/SimFrameParser.h"

#include "base/LittleEndian.h"

namespace vantor::sim {

std::vector<HostFrame> SimFrameParser::Feed(std::span<const std::uint8_t> bytes) {
  std::vector<HostFrame> out;
  std::vector<std::uint8_t> in(bytes.begin(), bytes.end());
  for (std::size_t i = 0; i < in.size(); ++i) {
    const std::uint8_t b = in[i];
    if (!m_inFrame) {
      if (b == kPreambleByte) {
        ++m_preambleRun;
      } else if (b == kStartByte && m_preambleRun >= 3) {
        m_inFrame = true;
        m_preambleRun = 0;
        m_frame.assign({kPreambleByte, kPreambleByte, kPreambleByte, kStartByte});
      } else {
        m_preambleRun = 0;
      }
      continue;
    }

    m_frame.push_back(b);
    if (m_frame.size() < kFrameHeaderSize) continue;
    const std::size_t length = le::GetU16(m_frame, kFrameLength);
    if (length > kMaxHostPayload) {
      // A damaged header: report it, then look for a frame in what followed the preamble.
      out.push_back(HostFrame{m_frame});
      std::vector<std::uint8_t> rest(m_frame.begin() + kFramePreambleLength, m_frame.end());
      in.insert(in.begin() + static_cast<std::ptrdiff_t>(i) + 1, rest.begin(), rest.end());
      Reset();
      continue;
    }
    if (m_frame.size() == length + kFrameOverhead) {
      out.push_back(HostFrame{std::move(m_frame)});
      Reset();
    }
  }
  return out;
}

void SimFrameParser::Reset() {
  m_frame.clear();
  m_inFrame = false;
  m_preambleRun = 0;
}

}  // namespace vantor::sim
