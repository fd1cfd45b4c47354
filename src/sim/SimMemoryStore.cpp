#include "sim/SimMemoryStore.h"

#include "base/FileIo.h"
#include "sim/SimulatedProcessor.h"

namespace vantor::sim {

std::unique_ptr<SimMemoryStore> SimMemoryStore::Open(const std::filesystem::path& path,
                                                     std::shared_ptr<SimulatedProcessor> unit,
                                                     const Options& options,
                                                     SimStoreProblem& problem) {
  problem = {};
  std::unique_ptr<SimMemoryStore> store(new SimMemoryStore(path, unit, options));
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    // Created whole, from the unit's first memory; when another program was quicker, its
    // file is the one we take.
    if (options.initialise) options.initialise(*unit);
    const FileResult created = CreateNewFile(path, unit->MemoryImage());
    if (!created.Ok() && created.error != EEXIST) {
      problem = {SimFileStatus::kCannotWrite, created.error};
      return nullptr;
    }
  }
  const FileResult locked = store->m_lock.Acquire(path, options.lockWait, options.waiting);
  if (!locked.Ok()) {
    problem = {locked.error == EAGAIN ? SimFileStatus::kInUse : SimFileStatus::kCannotRead,
               locked.error};
    return nullptr;
  }
  // Read under the lock: what the program before us left is what we start from.
  int error = 0;
  const SimFileStatus loaded = unit->LoadMemory(store->m_lock.Target(), &error);
  if (loaded != SimFileStatus::kOk) {
    // Left as it is: nothing of ours is written over a file we could not read.
    store->m_lock.Release();
    problem = {loaded, error};
    return nullptr;
  }
  store->m_savedGeneration = unit->MemoryGeneration();
  store->m_saver = std::thread([s = store.get()] { s->Run(); });
  return store;
}

SimMemoryStore::SimMemoryStore(std::filesystem::path path, std::shared_ptr<SimulatedProcessor> unit,
                               const Options& options)
    : m_path(std::move(path)), m_unit(std::move(unit)), m_options(options) {}

SimMemoryStore::~SimMemoryStore() { Close(); }

void SimMemoryStore::Run() {
  std::unique_lock lock(m_mutex);
  while (!m_stop) {
    m_wake.wait_for(lock, m_options.saveInterval, [this] { return m_stop; });
    if (m_stop) break;
    lock.unlock();
    {
      std::lock_guard save(m_saveLock);
      SaveIfChanged();
    }
    lock.lock();
  }
}

void SimMemoryStore::SaveIfChanged() {
  if (!m_lock.Held()) return;
  std::uint64_t generation = 0;
  const std::vector<std::uint8_t> image = m_unit->MemoryImage(&generation);
  if (generation == m_savedGeneration) return;
  const FileResult written = ReplaceFile(m_lock.Target(), image, &m_lock);
  m_lastSave = written.Ok() ? SimStoreProblem{}
                            : SimStoreProblem{SimFileStatus::kCannotWrite, written.error};
  // A failed save is tried again at the next interval.
  if (written.Ok()) {
    m_savedGeneration = generation;
    ++m_saves;
  }
}

SimStoreProblem SimMemoryStore::Flush() {
  std::lock_guard save(m_saveLock);
  SaveIfChanged();
  return m_lastSave;
}

SimStoreProblem SimMemoryStore::Close() {
  {
    std::lock_guard lock(m_mutex);
    if (m_closed) {
      std::lock_guard save(m_saveLock);
      return m_lastSave;
    }
    m_closed = true;
    m_stop = true;
  }
  m_wake.notify_all();
  if (m_saver.joinable()) m_saver.join();
  std::lock_guard save(m_saveLock);
  SaveIfChanged();
  m_lock.Release();
  return m_lastSave;
}

int SimMemoryStore::Saves() const {
  std::lock_guard save(m_saveLock);
  return m_saves;
}

}  // namespace vantor::sim
