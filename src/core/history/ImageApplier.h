#pragma once
// Puts a program image back into the model as edits: only what differs from the model now
// is touched, through the model's setters and the filters' settings, so the processor gets
// it the way it gets any edit. Outputs either go out item by item through the pending scan,
// or as whole blocks with the outputs silenced around them (what the whole-channel actions
// and a file load do). Global blocks that differ are sent as their system items.

#include <array>
#include <mutex>

#include "history/ProgramImage.h"
#include "link/CommandSequences.h"
#include "link/KTVCommand.h"
#include "model/KTV_Data.h"

namespace vantor {

// How the outputs an image changes reach the processor.
enum class StepTransfer {
  kPendingScan,  // item by item, as the setters mark them
  kWholeBlocks,  // each changed output as one block write, silenced around it
};

struct ApplyResult {
  CommandSequences::OutputMask outputs{};  // outputs that changed
  bool globals = false;                    // a global block changed
  int commands = 0;                        // commands queued now (the scan sends the rest)

  bool Changed() const;
};

class ImageApplier {
 public:
  ImageApplier(CKTV_Data& model, CKTVCommand& queue);

  // Makes the model hold `target`. With `systemBlock` false the system block (input source,
  // master level and switch, speaker mode) is left as it is.
  ApplyResult Apply(const ProgramImage& target, StepTransfer transfer, bool systemBlock = true);

  std::recursive_mutex& QueueLock() const { return m_queue.QueueLock(); }

 private:
  void ApplyOutput(int channel, const ProgramImage& now, const ProgramImage& target, bool asEdit);
  void ApplySettings(CKTV_OutData& out, std::span<const std::uint8_t> now,
                     std::span<const std::uint8_t> target);
  void ApplyLimiter(CKTV_OutData& out, std::span<const std::uint8_t> now,
                    std::span<const std::uint8_t> target);
  void ApplyMixer(CKTV_OutData& out, std::span<const std::uint8_t> now,
                  std::span<const std::uint8_t> target);
  // The blocks carry every value of the output: no item of it is left for the scan, except
  // a filter whose sent frequency is still on its way to an earlier target.
  void ForgetPending(CKTV_OutData& out);
  bool ApplyGlobals(const ProgramImage& now, const ProgramImage& target, bool systemBlock,
                    int& commands);

  CKTV_Data& m_model;
  CKTVCommand& m_queue;
  CommandSequences m_sequences;
};

}  // namespace vantor
