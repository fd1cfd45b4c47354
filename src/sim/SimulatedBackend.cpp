#include "sim/SimulatedBackend.h"

#include <algorithm>
#include <utility>

namespace vantor::sim {

SimulatedBackend::~SimulatedBackend() {
  StopHotPlug();
  if (m_thread.joinable()) m_thread.join();
  std::lock_guard lock(m_unitsMutex);
  for (const auto& a : m_units) a.unit->RemoveListener(a.listener);
}

void SimulatedBackend::Attach(std::shared_ptr<SimulatedProcessor> unit) {
  std::lock_guard lock(m_unitsMutex);
  const bool known = std::any_of(m_units.begin(), m_units.end(),
                                 [&](const Attached& a) { return a.unit == unit; });
  if (known || !unit) return;
  const bool processor = unit->Info().IsProcessor();
  const int listener = unit->AddListener([this, processor](const HotPlugEvent& event) {
    if (processor) Post(event);
  });
  m_units.push_back({std::move(unit), listener});
}

void SimulatedBackend::Detach(const std::shared_ptr<SimulatedProcessor>& unit) {
  std::lock_guard lock(m_unitsMutex);
  auto it = std::find_if(m_units.begin(), m_units.end(),
                         [&](const Attached& a) { return a.unit == unit; });
  if (it == m_units.end()) return;
  it->unit->RemoveListener(it->listener);
  m_units.erase(it);
}

std::vector<HidDeviceInfo> SimulatedBackend::Enumerate() {
  std::lock_guard lock(m_unitsMutex);
  std::vector<HidDeviceInfo> present;
  for (const auto& a : m_units) {
    if (a.unit->IsPlugged()) present.push_back(a.unit->Info());
  }
  return present;
}

std::unique_ptr<HidDevice> SimulatedBackend::OpenExclusive(const std::string& path,
                                                           HidOpenError* error) {
  std::shared_ptr<SimulatedProcessor> unit;
  {
    std::lock_guard lock(m_unitsMutex);
    for (const auto& a : m_units) {
      if (a.unit->Info().path == path && a.unit->IsPlugged()) unit = a.unit;
    }
  }
  if (!unit) {
    if (error) *error = HidOpenError::kNotFound;
    return nullptr;
  }
  return unit->Open(error);
}

void SimulatedBackend::StartHotPlug(HotPlugCallback callback) {
  StopHotPlug();
  if (m_thread.joinable()) m_thread.join();
  std::lock_guard lock(m_eventsMutex);
  m_events.clear();
  m_callback = std::move(callback);
  m_running = true;
  m_thread = std::thread([this] { Run(); });
}

void SimulatedBackend::StopHotPlug() {
  {
    std::lock_guard lock(m_eventsMutex);
    if (!m_running) return;
    m_running = false;
    m_events.clear();
  }
  m_eventsChanged.notify_all();
  if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

void SimulatedBackend::Post(const HotPlugEvent& event) {
  {
    std::lock_guard lock(m_eventsMutex);
    if (!m_running) return;
    m_events.push_back(event);
  }
  m_eventsChanged.notify_all();
}

void SimulatedBackend::Run() {
  std::unique_lock lock(m_eventsMutex);
  for (;;) {
    m_eventsChanged.wait(lock, [this] { return !m_running || !m_events.empty(); });
    if (!m_running) return;
    const HotPlugEvent event = std::move(m_events.front());
    m_events.pop_front();
    const HotPlugCallback callback = m_callback;
    lock.unlock();
    callback(event);
    lock.lock();
  }
}

}  // namespace vantor::sim
