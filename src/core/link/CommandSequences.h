#pragma once
// The command batches that move whole outputs and whole programs between the application
// and the device, and the edits that queue a system item at once. Each runs under the queue
// lock from the first packed byte to the last queued command, so the worker sees none or
// all of a batch and never packs into the live record in between. A batch is built
// completely before anything is queued: it is queued whole or not at all.
//
// Progress: batch commands carry running progress indexes (the batch counter); the result
// gives the counter after the batch. Sequences that show progress set the progress bar's
// range to 0..counter, position 0, and set the busy flag; showing the transfer window is
// the caller's. When no device is connected nothing is queued and kNotConnected is
// returned: the caller shows the connection error where the user asked for the transfer.

#include <optional>

#include "link/KTVCommand.h"
#include "link/TransferProgress.h"
#include "model/KTV_Data.h"

namespace vantor {

enum class SequenceStatus {
  kQueued,
  kNotConnected,
  kRefused,  // an argument the device has no address for; nothing queued
};

struct SequenceResult {
  SequenceStatus status = SequenceStatus::kRefused;
  int commands = 0;  // commands queued
  int counter = 0;   // batch counter after the batch (the progress range is 0..counter)

  bool Queued() const { return status == SequenceStatus::kQueued; }
};

class CommandSequences {
 public:
  CommandSequences(CKTV_Data& model, CKTVCommand& queue);

  // Whole-output rewrite of output `channel` in the live program: item 31 with the output
  // off (it goes silent), the whole output (link flag as the link table says), item 31 with
  // the output on again. The object's output-on value is restored without marking item 31.
  // With `busyEnd` the block write carries the busy-end flag and the busy flag is set.
  SequenceResult RewriteOutput(int channel, bool busyEnd = false);
  // The same for several outputs at once: every chosen output silenced first, then their
  // whole blocks in channel order, then each switched back on, so no output plays a mix of
  // old and new blocks. With `busyEnd` the last block write carries the busy-end flag.
  using OutputMask = std::array<bool, rec::kOutputCount>;
  SequenceResult RewriteOutputs(const OutputMask& outputs, bool busyEnd = false);
  // The whole output only, packed from the objects (copying settings onto an output).
  SequenceResult WriteOutput(int channel, bool busyEnd = false);

  // Whole-program write: the live record into device slot `slot` (0..20). With
  // `storeModelFirst` the objects are stored into the live record first; otherwise the
  // device's live outputs are silenced around the transfer (item 31 with output on = 0,
  // restored after). Then the program name, the music block and the eight outputs. Blocks
  // for slot 0 go out silenced (the closing item 31 writes switch them back on); blocks for
  // a slot 1..20 carry the program's own output switches. Progress indexes 0..n-1; the
  // last command carries the notice flag.
  SequenceResult WriteProgram(int slot, bool storeModelFirst);

  // Whole-device write: outputs silenced; the live music block and outputs and the limiter
  // block (system item 64, index 0, not counted); outputs restored; then for slots 1..6 the
  // name, music block and outputs from the slot records. The last command (slot 6, output
  // 7) carries the notice flag; the counter ends at 84.
  SequenceResult WriteDevice();

  // Whole-program read of slot `slot`: the music block and outputs 0..7, indexes from
  // `firstIndex`, output 7 not counted and marked batch end. With `liveTarget` (or slot 0)
  // the replies go to the live record and the live-sync flag is cleared first (also when
  // not connected); otherwise to slot record `slot`.
  SequenceResult ReadProgram(int slot, bool liveTarget, int firstIndex = 0);
  // Read of device slots 1..6 into the slot records: 54 requests with the slot-store flag,
  // each counted; the last (slot 6, output 7) marks batch end.
  SequenceResult ReadAllSlots();

  // After connecting: the identity read alone (no progress).
  SequenceResult QueueIdentityRead();
  // After the identity matched: system items 144, 146, 145, then the names of slots 1..6,
  // indexes from `firstIndex`, each counted. Does not touch the progress bar or busy flag
  // (the read-back queued after it does).
  SequenceResult QueueInfoReads(int firstIndex = 0);

  // One system-item write (program name 134, limiter 64, system block 144, ...); no
  // progress.
  SequenceResult SendSystemItem(int subCode, int slot);

  // The model's routing edits; when the model says so (connected), system item 144 / 145
  // is queued at once.
  RoutingResult SelectInputSource(int value);
  RoutingResult SetSpeakerType(int channel, int type);

  // The last preset transfer (store, file push, send all, recall, read all) while it is
  // under way; nothing once every command of it has been answered or it was forgotten.
  std::optional<TransferProgress> CurrentTransfer() const;
  // The queue was cleared (a new connection, a link error): no transfer is under way.
  void ForgetTransfer();

 private:
  struct TrackedBatch {
    TextId operation = TextId::TransferOpPush;
    bool writes = false;
    std::uint64_t firstAnswer = 0;  // the queue's answer count when the batch's turn comes
    int commands = 0;
  };

  using Batch = std::vector<std::unique_ptr<CSendData>>;

  bool Connected() const;
  std::unique_ptr<CSendData> Item31(int channel);
  // Sets output on := 0 in the live record of every output, queuing item 31 for each, and
  // returns the previous bytes.
  std::array<std::uint8_t, rec::kOutputCount> SilenceOutputs(Batch& batch);
  // Puts the bytes back, queuing item 31 for each when `batch` is given.
  void RestoreOutputs(const std::array<std::uint8_t, rec::kOutputCount>& on, Batch* batch);
  // Queues the batch whole, or nothing when a command could not be built. A batch with an
  // `operation` is followed for CurrentTransfer.
  SequenceResult Queue(Batch batch, int counter, bool showProgress,
                       std::optional<TextId> operation = std::nullopt, bool writes = false);

  CKTV_Data& m_model;
  CKTVCommand& m_queue;
  std::optional<TrackedBatch> m_tracked;  // guarded by the queue lock
};

}  // namespace vantor
