#include "link/SendData.h"

#include <algorithm>

namespace vantor {

CSendData::CSendData(std::vector<std::uint8_t> frame) : m_data(std::move(frame)) {}

void CSendData::SetSendCursor(int cursor) { m_sendCursor = std::clamp(cursor, 0, Length()); }

bool CSendData::NextReportChunk(Report& report) {
  if (m_sendCursor >= Length()) return false;
  report.fill(0);
  const int n = std::min<int>(Length() - m_sendCursor, static_cast<int>(kReportPayload));
  std::copy_n(m_data.begin() + m_sendCursor, n, report.begin() + 1);
  m_sendCursor += n;
  return true;
}

}  // namespace vantor
