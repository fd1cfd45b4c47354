#pragma once
// The one send queue and the frame receiver that answers it. Exactly one command is in
// flight: the head is sent, and it leaves the queue only when the device has answered it.
//
// Locking: one re-entrant mutex, QueueLock(), guards the queue, the head command and the
// receiver. Every operation here takes it itself, so single calls are safe from any
// thread. The worker holds it for a whole transfer cycle (send the head, read until Feed
// reports an answer); producers hold it around a batch so the worker sees none or all of
// it (AddBatch does that). Notices go to the event sink while the lock is held, which is
// why the sink must never wait for the user interface.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "link/DeviceEvents.h"
#include "link/FrameReceiver.h"
#include "link/FrameTap.h"
#include "link/SendData.h"

namespace vantor {

class ProgramState;

class CKTVCommand {
 public:
  // Replies are stored into `state`, which must outlive the queue.
  explicit CKTVCommand(ProgramState& state);
  CKTVCommand(const CKTVCommand&) = delete;
  CKTVCommand& operator=(const CKTVCommand&) = delete;
  ~CKTVCommand();

  std::recursive_mutex& QueueLock() const { return m_lock; }
  ProgramState& State() { return m_state; }

  // Where notices go (none: they are dropped). Set before the worker starts.
  void SetEventSink(DeviceEventSink* sink);
  // The transfer progress bar the progress step moves (none: not shown).
  void SetProgressDisplay(ProgressDisplay* display);
  // Runs for an answered command that carries a firmware-update stage code and a progress
  // index, instead of moving the transfer progress bar.
  void SetStageProgress(std::function<void(CSendData&)> step);
  // Sees every frame the receiver decodes (traces); none by default.
  void SetFrameTap(FrameTap tap);

  // A batch with progress starts: the progress bar gets the range 0..high, position 0.
  void StartProgress(int high);

  // --- Queue. Add takes ownership; a null command is ignored.
  void Add(std::unique_ptr<CSendData> command);
  // Appends all commands under one hold of the lock (null entries are skipped).
  void AddBatch(std::vector<std::unique_ptr<CSendData>> commands);
  // The head command, or null when the queue is empty. Valid while the caller holds the
  // lock (or, without it, until the worker answers it).
  CSendData* Head();
  int Count() const;
  // Deletes the head command; nothing when the queue is empty.
  void PopHead();
  // The head command is sent again from its first byte.
  void RewindHead();
  // Deletes every command and resets the receiver.
  void ClearAll();
  // Commands answered (popped) since the queue was made; a batch's progress is counted
  // against it.
  std::uint64_t Answered() const;
  // Resend answers the head command got in a row (0 after it is answered or cleared).
  int HeadResends() const;

  // --- Receiver. Feed takes bytes 1..64 of each input report; true when this call
  // completed a valid frame, which has then been acted upon (progress step, then the reply
  // code: 0x64 pops the head, 0x65 rewinds it, 0x66 stores the data and pops it).
  bool Feed(std::span<const std::uint8_t> bytes);
  bool Feed(const std::uint8_t* bytes, std::size_t n) { return Feed(std::span(bytes, n)); }
  // Back to hunting; `clear` also wipes the frame buffer.
  void ResetReceiver(bool clear = false);
  const FrameReceiver& Receiver() const { return m_receiver; }

 private:
  void ProgressStep(CSendData& head);
  void Post(DeviceEvent id, std::intptr_t wParam, std::intptr_t lParam);
  void HandleFrame(const ReceivedFrame& frame);

  mutable std::recursive_mutex m_lock;
  ProgramState& m_state;
  DeviceEventSink* m_sink = nullptr;
  ProgressDisplay* m_progress = nullptr;
  std::function<void(CSendData&)> m_stageProgress;
  FrameTap m_tap;
  std::deque<std::unique_ptr<CSendData>> m_queue;
  FrameReceiver m_receiver;
  std::uint64_t m_answered = 0;
  int m_headResends = 0;
};

}  // namespace vantor
