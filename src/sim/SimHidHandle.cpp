#include "sim/SimHidHandle.h"

#include <utility>

#include "sim/SimulatedProcessor.h"

namespace vantor::sim {

SimHidHandle::SimHidHandle(std::shared_ptr<SimulatedProcessor> unit, std::uint64_t id,
                           std::string path)
    : m_unit(std::move(unit)), m_id(id), m_path(std::move(path)) {}

SimHidHandle::~SimHidHandle() { m_unit->HandleClose(m_id); }

bool SimHidHandle::WriteReport(const Report& report, std::chrono::milliseconds timeout) {
  return m_unit->HandleWrite(m_id, report, timeout);
}

HidReadResult SimHidHandle::ReadReport(Report& report, std::chrono::milliseconds timeout) {
  return m_unit->HandleRead(m_id, report, timeout);
}

void SimHidHandle::DiscardPending() { m_unit->HandleDiscard(m_id); }

}  // namespace vantor::sim
