#include "tuning/PanelCommands.h"

#include <mutex>

#include "link/FrameBuilders.h"
#include "model/ProgramState.h"
#include "tuning/LinkCopyRules.h"

namespace vantor {

PanelCommands::PanelCommands(CKTV_Data& model, CKTVCommand& queue)
    : m_model(model), m_queue(queue), m_sequences(model, queue) {}

bool PanelCommands::Connected() const { return m_model.State().connected.load(); }

void PanelCommands::QueueSystemBlock() {
  if (!Connected()) return;
  m_queue.Add(BuildSystemWrite(m_model.State(), rec::kSysItemSystemBlock, 0));
}

void PanelCommands::QueueSettings(int channel) {
  CKTV_OutData& out = m_model.Output(channel);
  out.PackSettings();
  out.TakeChange(OutputChange::Settings);
  m_queue.Add(BuildItemWrite(m_model.State(), rec::kBlockOutput, channel, rec::kItemSettings));
}

// ---------------------------------------------------------------------------------------
// Master

bool PanelCommands::SetMasterVolumeFromSlider(int code) {
  std::lock_guard lock(m_queue.QueueLock());
  if (code == m_model.MasterVolume()) return false;
  if (!m_model.SetMasterVolume(code)) return false;  // flags the scan while live
  m_model.SetMasterOn(1);
  return true;
}

bool PanelCommands::SetMasterVolumeFromEdit(int code) {
  std::lock_guard lock(m_queue.QueueLock());
  if (code == m_model.MasterVolume()) return false;
  if (!m_model.SetMasterVolume(code)) return false;
  m_model.SetMasterOn(1);
  // The write queued now carries the whole block; the scan need not send it again.
  m_model.SetMasterVolumeChanged(false);
  QueueSystemBlock();
  return true;
}

int PanelCommands::ToggleMasterOn() {
  std::lock_guard lock(m_queue.QueueLock());
  const int on = m_model.MasterOn() != 0 ? 0 : 1;
  m_model.SetMasterOn(on);
  QueueSystemBlock();
  return on;
}

bool PanelCommands::SetLimiterByte(int index, int value) {
  if (index < 0 || index >= static_cast<int>(rec::kLimiterBlockSize)) return false;
  // The worker stores the device's answers into the same block.
  std::lock_guard lock(m_queue.QueueLock());
  auto& block = m_model.State().LimiterBlock();
  const auto byte = static_cast<std::uint8_t>(value);
  if (block[static_cast<std::size_t>(index)] == byte) return false;
  block[static_cast<std::size_t>(index)] = byte;
  if (Connected()) m_queue.Add(BuildSystemWrite(m_model.State(), rec::kSysItemLimiter, 0));
  return true;
}

// ---------------------------------------------------------------------------------------
// EQ reset

PanelCommands::MutedGroup PanelCommands::MuteGroup(int channel) {
  MutedGroup group;
  if (!Connected() || channel < 0 || channel >= rec::kOutputCount) return group;
  std::lock_guard lock(m_queue.QueueLock());
  const LinkTable& links = m_model.Links();
  for (int o = 0; o < rec::kOutputCount; ++o) {
    if (o != channel && !links.AreLinked(channel, o)) continue;
    CKTV_OutData& out = m_model.Output(o);
    const auto i = static_cast<std::size_t>(o);
    group.muted[i] = true;
    group.on[i] = out.OutputOn();
    out.StoreOutputOn(0);
    QueueSettings(o);
  }
  return group;
}

void PanelCommands::UnmuteGroup(const MutedGroup& group) {
  if (!Connected()) return;
  std::lock_guard lock(m_queue.QueueLock());
  for (int o = 0; o < rec::kOutputCount; ++o) {
    const auto i = static_cast<std::size_t>(o);
    if (!group.muted[i]) continue;
    m_model.Output(o).StoreOutputOn(group.on[i]);
    QueueSettings(o);
  }
}

SequenceResult PanelCommands::ResetEq(int channel, int partner, bool linkingActive) {
  if (channel < 0 || channel >= rec::kOutputCount) return {};
  OutputMask outputs{};
  outputs[static_cast<std::size_t>(channel)] = true;
  if (partner >= 0 && partner < rec::kOutputCount) {
    outputs[static_cast<std::size_t>(partner)] = true;
  }
  return Transfer(
      channel, outputs, [](CKTV_OutData& out) { out.ResetEq(); },
      TransferShape{false, linkingActive});
}

SequenceResult PanelCommands::TransferGroup(int channel, const ChannelStep& step,
                                            TransferShape shape) {
  if (channel < 0 || channel >= rec::kOutputCount) return {};
  return Transfer(channel, LinkGroupOf(m_model.Links(), channel), step, shape);
}

SequenceResult PanelCommands::WriteOutput(int channel, bool busyEnd) {
  return m_sequences.WriteOutput(channel, busyEnd);
}

SequenceResult PanelCommands::Transfer(int muteChannel, const OutputMask& outputs,
                                       const ChannelStep& step, TransferShape shape) {
  std::lock_guard lock(m_queue.QueueLock());
  const MutedGroup muted = MuteGroup(muteChannel);
  SequenceResult result{Connected() ? SequenceStatus::kQueued : SequenceStatus::kNotConnected, 0,
                        0};
  for (int o = 0; o < rec::kOutputCount; ++o) {
    if (!outputs[static_cast<std::size_t>(o)]) continue;
    step(m_model.Output(o));
    if (!Connected()) continue;
    if (shape.offAroundBlocks) QueueSettings(o);
    const SequenceResult w = m_sequences.WriteOutput(o, shape.linkingActive && o == 1);
    if (!w.Queued()) result.status = w.status;
    result.commands += w.commands;
    if (shape.offAroundBlocks) QueueSettings(o);
  }
  UnmuteGroup(muted);
  return result;
}

}  // namespace vantor
