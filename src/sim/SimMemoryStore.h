#pragma once
// Keeps a simulated unit's memory in its file while a program runs, as a real unit keeps
// its flash: the file is locked for the whole run (a second program on the same file waits
// for it or is refused, never undoes its changes), read once at the start, and written
// again shortly after every change (at most once per save interval), so that a program
// that crashes loses at most the last moment. Closing writes what is left.
//
//   auto store = SimMemoryStore::Open("unit.vsim", unit, {}, problem);
//   ... the unit works; its changes reach the file on their own ...
//   store->Close();

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "base/FileLock.h"
#include "sim/SimMemoryFile.h"

namespace vantor::sim {

class SimulatedProcessor;

struct SimStoreProblem {
  SimFileStatus status = SimFileStatus::kOk;
  int error = 0;  // the system's reason, when there is one

  bool Ok() const { return status == SimFileStatus::kOk; }
  std::string Describe(bool chinese) const { return DescribeSimFileStatus(status, chinese, error); }
};

class SimMemoryStore {
 public:
  struct Options {
    // At most one save per interval; a change is in the file this long after it at most.
    std::chrono::milliseconds saveInterval{500};
    // How long to wait for another program that has the file (0: refuse at once).
    std::chrono::milliseconds lockWait{0};
    // Told once when the wait begins.
    std::function<void()> waiting;
    // Gives a unit whose file does not exist yet its first contents (the file is then
    // created from it).
    std::function<void(SimulatedProcessor&)> initialise;
  };

  // Locks `path` (creating it from the unit's memory when it does not exist), loads it into
  // the unit and starts keeping it. Null, with the reason in `problem`, when the file is in
  // use, cannot be read or is no memory file (it is then left as it is).
  static std::unique_ptr<SimMemoryStore> Open(const std::filesystem::path& path,
                                              std::shared_ptr<SimulatedProcessor> unit,
                                              const Options& options, SimStoreProblem& problem);
  ~SimMemoryStore();
  SimMemoryStore(const SimMemoryStore&) = delete;
  SimMemoryStore& operator=(const SimMemoryStore&) = delete;

  // Writes a change that is not in the file yet, now. The outcome of the last save.
  SimStoreProblem Flush();
  // Stops keeping the file: the last changes are written and the lock is released. The
  // outcome of the last save (later calls return it again).
  SimStoreProblem Close();
  const std::filesystem::path& Path() const { return m_path; }
  // Saves made so far (the first load is none).
  int Saves() const;

 private:
  SimMemoryStore(std::filesystem::path path, std::shared_ptr<SimulatedProcessor> unit,
                 const Options& options);
  void Run();
  // Saves when the unit changed since the last save. With m_saveLock held.
  void SaveIfChanged();

  const std::filesystem::path m_path;
  const std::shared_ptr<SimulatedProcessor> m_unit;
  const Options m_options;
  FileLock m_lock;

  mutable std::mutex m_saveLock;  // one save at a time; guards the lock, the result and the count
  std::uint64_t m_savedGeneration = 0;
  SimStoreProblem m_lastSave;
  int m_saves = 0;

  std::mutex m_mutex;  // guards m_stop for the saver's wait
  std::condition_variable m_wake;
  bool m_stop = false;
  bool m_closed = false;
  std::thread m_saver;
};

}  // namespace vantor::sim
