#pragma once
// The main form's edits that do more than call one setter of the model: the master volume
// and master switch (system block, item 144), and the whole-channel actions (EQ reset, EQ
// mode, all-bypass), which rewrite whole outputs while the outputs of the link group are
// switched off on the device. Each runs under the queue lock, so the worker never sees half
// of it; nothing is queued while no device is connected, and the model changes all the same.

#include <array>
#include <functional>

#include "link/CommandSequences.h"
#include "link/KTVCommand.h"
#include "model/KTV_Data.h"
#include "tuning/LinkCopyRules.h"

namespace vantor {

class PanelCommands {
 public:
  PanelCommands(CKTV_Data& model, CKTVCommand& queue);

  // The master slider moved to `code`: when it differs from the stored volume, the volume
  // is stored, master is switched on and the pending-change scan sends the system block.
  // False when nothing changed (same value or outside 0..66).
  bool SetMasterVolumeFromSlider(int code);
  // The master edit or spin: as the slider, but the system block is queued at once (when
  // connected) instead of being left to the scan.
  bool SetMasterVolumeFromEdit(int code);
  // Master on toggled; the system block is queued when connected. Returns the new value.
  int ToggleMasterOn();

  // Byte `index` of the limiter block := value (the caller keeps it in the byte's range).
  // When it changed the block (system item 64) is queued at once while connected; false
  // when the byte already held the value or there is no such byte.
  bool SetLimiterByte(int index, int value);

  // Outputs of `channel`'s link group switched off on the device: each output's on value is
  // remembered, set to 0 and its item 31 queued at once (its pending flag cleared, since the
  // queued write carries it). Only when connected; otherwise nothing happens.
  struct MutedGroup {
    std::array<bool, rec::kOutputCount> muted{};
    std::array<int, rec::kOutputCount> on{};
  };
  MutedGroup MuteGroup(int channel);
  // Puts the remembered on values back and queues item 31 of each again.
  void UnmuteGroup(const MutedGroup& group);

  // Every band of output `channel` back to its default (third-octave frequency, 0.2 octave,
  // 0 dB, flat); when connected, its whole output block is written between the mute and
  // the un-mute of its link group. `partner` (another output, or −1) is reset and written
  // too: the channel link passes the partner of an active link pair. With `linkingActive`
  // the write of output 1 ends the busy state the link panel started.
  SequenceResult ResetEq(int channel, int partner = -1, bool linkingActive = false);

  // A whole-channel action on output `channel` and every output linked with it, under the
  // queue lock: the group goes silent (MuteGroup); then, output by output in channel order,
  // `step` changes the output's objects and its whole block is written; then the group is
  // switched back on. `step` runs also without a device, when nothing is queued.
  struct TransferShape {
    // Item 31 (output off) once more right before and right after each block write.
    bool offAroundBlocks = false;
    // Linking is active: the block write of output 1 ends the busy state.
    bool linkingActive = false;
  };
  using ChannelStep = std::function<void(CKTV_OutData&)>;
  SequenceResult TransferGroup(int channel, const ChannelStep& step, TransferShape shape);

  // The whole block of output `channel`, packed from its objects, without silencing it (the
  // caller has muted its group); with `busyEnd` the write ends the busy state it sets.
  SequenceResult WriteOutput(int channel, bool busyEnd);

  // The queue whose lock a caller holds around a sequence of these commands.
  CKTVCommand& Queue() { return m_queue; }
  bool Connected() const;

 private:
  void QueueSystemBlock();
  void QueueSettings(int channel);
  // Mutes `muteChannel`'s group, then for each output of `outputs` runs `step` and writes
  // its block, then un-mutes.
  SequenceResult Transfer(int muteChannel, const OutputMask& outputs, const ChannelStep& step,
                          TransferShape shape);

  CKTV_Data& m_model;
  CKTVCommand& m_queue;
  CommandSequences m_sequences;
};

}  // namespace vantor
