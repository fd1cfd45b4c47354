#include "link/CommandSequences.h"

#include <algorithm>
#include <mutex>

#include "link/FrameBuilders.h"
#include "model/DataDefine.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

constexpr std::size_t OutOnByte(int channel) { return rec::OutputOffset(channel) + rec::kOutOn; }

// Gives the commands running progress indexes from `counter`, advancing after each one, and
// after the last one only when `countLast`. Returns the counter after the batch.
int Number(std::vector<std::unique_ptr<CSendData>>& batch, int counter, bool countLast) {
  for (std::size_t i = 0; i < batch.size(); ++i) {
    if (!batch[i]) continue;
    batch[i]->SetProgressIndex(counter);
    if (i + 1 < batch.size() || countLast) ++counter;
  }
  return counter;
}

}  // namespace

CommandSequences::CommandSequences(CKTV_Data& model, CKTVCommand& queue)
    : m_model(model), m_queue(queue) {}

bool CommandSequences::Connected() const { return m_model.State().connected.load(); }

std::unique_ptr<CSendData> CommandSequences::Item31(int channel) {
  return BuildItemWrite(m_model.State(), rec::kBlockOutput, channel, rec::kItemSettings);
}

std::array<std::uint8_t, rec::kOutputCount> CommandSequences::SilenceOutputs(Batch& batch) {
  std::array<std::uint8_t, rec::kOutputCount> on{};
  auto& live = m_model.State().Live();
  for (int c = 0; c < rec::kOutputCount; ++c) {
    on[static_cast<std::size_t>(c)] = live[OutOnByte(c)];
    live[OutOnByte(c)] = 0;
    batch.push_back(Item31(c));
  }
  return on;
}

void CommandSequences::RestoreOutputs(const std::array<std::uint8_t, rec::kOutputCount>& on,
                                      Batch* batch) {
  auto& live = m_model.State().Live();
  for (int c = 0; c < rec::kOutputCount; ++c) {
    live[OutOnByte(c)] = on[static_cast<std::size_t>(c)];
    if (batch) batch->push_back(Item31(c));
  }
}

SequenceResult CommandSequences::Queue(Batch batch, int counter, bool showProgress,
                                       std::optional<TextId> operation, bool writes) {
  for (const auto& c : batch) {
    if (!c) return SequenceResult{SequenceStatus::kRefused, 0, counter};
  }
  const int n = static_cast<int>(batch.size());
  std::lock_guard lock(m_queue.QueueLock());
  if (operation) {
    // Everything queued before the batch is answered first.
    m_tracked = TrackedBatch{*operation, writes,
                             m_queue.Answered() + static_cast<std::uint64_t>(m_queue.Count()), n};
  }
  m_queue.AddBatch(std::move(batch));
  if (showProgress) {
    m_queue.StartProgress(counter);
    m_model.State().busy = true;
  }
  return SequenceResult{SequenceStatus::kQueued, n, counter};
}

SequenceResult CommandSequences::RewriteOutput(int channel, bool busyEnd) {
  if (channel < 0 || channel >= rec::kOutputCount) return {};
  OutputMask one{};
  one[static_cast<std::size_t>(channel)] = true;
  return RewriteOutputs(one, busyEnd);
}

SequenceResult CommandSequences::RewriteOutputs(const OutputMask& outputs, bool busyEnd) {
  if (!Connected()) return SequenceResult{SequenceStatus::kNotConnected, 0, 0};
  std::lock_guard lock(m_queue.QueueLock());
  auto chosen = [&outputs](int c) { return outputs[static_cast<std::size_t>(c)]; };
  if (std::none_of(outputs.begin(), outputs.end(), [](bool b) { return b; })) {
    return SequenceResult{SequenceStatus::kQueued, 0, 0};
  }
  Batch batch;

  // Silent while the whole blocks change, without leaving item 31 pending behind us.
  std::array<int, rec::kOutputCount> on{};
  for (int c = 0; c < rec::kOutputCount; ++c) {
    if (!chosen(c)) continue;
    CKTV_OutData& out = m_model.Output(c);
    on[static_cast<std::size_t>(c)] = out.OutputOn();
    out.StoreOutputOn(0);
    out.PackSettings();
    batch.push_back(Item31(c));
  }
  CSendData* last = nullptr;
  for (int c = 0; c < rec::kOutputCount; ++c) {
    if (!chosen(c)) continue;
    m_model.Output(c).PackAll();
    batch.push_back(
        BuildBlockWrite(m_model.State(), 0, rec::kBlockOutput, c, true, m_model.IsLinked(c)));
    last = batch.back().get();
  }
  if (last != nullptr) last->SetBusyEnd(busyEnd);
  for (int c = 0; c < rec::kOutputCount; ++c) {
    if (!chosen(c)) continue;
    CKTV_OutData& out = m_model.Output(c);
    out.StoreOutputOn(on[static_cast<std::size_t>(c)]);
    out.PackSettings();
    batch.push_back(Item31(c));
  }

  SequenceResult r = Queue(std::move(batch), 0, false);
  if (r.Queued() && busyEnd) m_model.State().busy = true;
  return r;
}

SequenceResult CommandSequences::WriteOutput(int channel, bool busyEnd) {
  if (channel < 0 || channel >= rec::kOutputCount) return {};
  if (!Connected()) return SequenceResult{SequenceStatus::kNotConnected, 0, 0};
  std::lock_guard lock(m_queue.QueueLock());
  m_model.Output(channel).PackAll();
  Batch batch;
  batch.push_back(BuildBlockWrite(m_model.State(), 0, rec::kBlockOutput, channel, true,
                                  m_model.IsLinked(channel)));
  if (batch.back()) batch.back()->SetBusyEnd(busyEnd);
  SequenceResult r = Queue(std::move(batch), 0, false);
  if (r.Queued() && busyEnd) m_model.State().busy = true;
  return r;
}

SequenceResult CommandSequences::WriteProgram(int slot, bool storeModelFirst) {
  if (slot < 0 || slot > rec::kSlotRecordCount) return {};
  if (!Connected()) return SequenceResult{SequenceStatus::kNotConnected, 0, 0};
  std::lock_guard lock(m_queue.QueueLock());
  ProgramState& state = m_model.State();
  Batch batch;

  std::array<std::uint8_t, rec::kOutputCount> on{};
  if (storeModelFirst) {
    m_model.Store();  // a name that does not fit is reported and the old one is sent
  } else {
    on = SilenceOutputs(batch);
    // Silencing is for what the device plays meanwhile (its live program). A program
    // stored into a slot keeps its own output switches, or recalling it later would
    // bring every output back switched off.
    if (slot != 0) RestoreOutputs(on, nullptr);
  }
  batch.push_back(BuildSystemWrite(state, rec::kSysItemProgramName, slot));
  batch.push_back(BuildBlockWrite(state, slot, rec::kBlockMusic, rec::kMusicInputIndex, true));
  for (int c = 0; c < rec::kOutputCount; ++c) {
    batch.push_back(BuildBlockWrite(state, slot, rec::kBlockOutput, c, true, m_model.IsLinked(c)));
  }
  if (!storeModelFirst) RestoreOutputs(on, &batch);

  if (batch.back()) batch.back()->SetNotice(true);
  const int counter = Number(batch, 0, false);
  const TextId operation =
      slot == 0 && !storeModelFirst ? TextId::TransferOpPush : TextId::TransferOpStore;
  return Queue(std::move(batch), counter, true, operation, true);
}

SequenceResult CommandSequences::WriteDevice() {
  if (!Connected()) return SequenceResult{SequenceStatus::kNotConnected, 0, 0};
  std::lock_guard lock(m_queue.QueueLock());
  ProgramState& state = m_model.State();

  Batch live;
  const auto on = SilenceOutputs(live);
  live.push_back(BuildBlockWrite(state, 0, rec::kBlockMusic, rec::kMusicInputIndex, true));
  for (int c = 0; c < rec::kOutputCount; ++c) {
    live.push_back(BuildBlockWrite(state, 0, rec::kBlockOutput, c, true, m_model.IsLinked(c)));
  }
  int counter = Number(live, 0, true);
  // The limiter block goes with index 0 and leaves the counter alone.
  live.push_back(BuildSystemWrite(state, rec::kSysItemLimiter, 0));

  Batch rest;
  RestoreOutputs(on, &rest);
  for (int slot = 1; slot <= rec::kDeviceSlots; ++slot) {
    rest.push_back(BuildSystemWrite(state, rec::kSysItemProgramName, slot));
    rest.push_back(BuildBlockWrite(state, slot, rec::kBlockMusic, rec::kMusicInputIndex, false));
    for (int c = 0; c < rec::kOutputCount; ++c) {
      rest.push_back(
          BuildBlockWrite(state, slot, rec::kBlockOutput, c, false, m_model.IsLinked(c)));
    }
  }
  if (rest.back()) rest.back()->SetNotice(true);
  counter = Number(rest, counter, false);

  for (auto& c : rest) live.push_back(std::move(c));
  return Queue(std::move(live), counter, true, TextId::TransferOpSendAll, true);
}

SequenceResult CommandSequences::ReadProgram(int slot, bool liveTarget, int firstIndex) {
  if (slot < 0 || slot > rec::kSlotRecordCount) return {};
  // Edits made while the device's values are on their way would be overwritten unseen.
  if (liveTarget || slot == 0) m_model.State().liveSync = false;
  if (!Connected()) return SequenceResult{SequenceStatus::kNotConnected, 0, firstIndex};
  std::lock_guard lock(m_queue.QueueLock());
  Batch batch;
  batch.push_back(BuildBlockRead(slot, rec::kBlockMusic, rec::kMusicInputIndex, liveTarget));
  for (int c = 0; c < rec::kOutputCount; ++c) {
    batch.push_back(BuildBlockRead(slot, rec::kBlockOutput, c, liveTarget));
  }
  if (batch.back()) batch.back()->SetBatchEnd(true);
  const int counter = Number(batch, firstIndex, false);
  // The read-back of a new connection is part of connecting; a recall is a transfer.
  if (slot == 0) return Queue(std::move(batch), counter, true);
  return Queue(std::move(batch), counter, true, TextId::TransferOpRecall, false);
}

SequenceResult CommandSequences::ReadAllSlots() {
  if (!Connected()) return SequenceResult{SequenceStatus::kNotConnected, 0, 0};
  std::lock_guard lock(m_queue.QueueLock());
  Batch batch;
  for (int slot = 1; slot <= rec::kDeviceSlots; ++slot) {
    batch.push_back(BuildBlockRead(slot, rec::kBlockMusic, rec::kMusicInputIndex, false));
    for (int c = 0; c < rec::kOutputCount; ++c) {
      batch.push_back(BuildBlockRead(slot, rec::kBlockOutput, c, false));
    }
  }
  if (batch.back()) batch.back()->SetBatchEnd(true);
  const int counter = Number(batch, 0, true);
  return Queue(std::move(batch), counter, true, TextId::TransferOpReadAll, false);
}

SequenceResult CommandSequences::QueueIdentityRead() {
  if (!Connected()) return SequenceResult{SequenceStatus::kNotConnected, 0, 0};
  Batch batch;
  batch.push_back(BuildSystemRead(rec::kSysItemIdentity, 0));
  return Queue(std::move(batch), 0, false);
}

SequenceResult CommandSequences::QueueInfoReads(int firstIndex) {
  if (!Connected()) return SequenceResult{SequenceStatus::kNotConnected, 0, firstIndex};
  Batch batch;
  for (int item :
       {rec::kSysItemSystemBlock, rec::kSysItemHiddenLevels, rec::kSysItemSpeakerTypes}) {
    batch.push_back(BuildSystemRead(item, 0));
  }
  for (int slot = 1; slot <= rec::kDeviceSlots; ++slot) {
    batch.push_back(BuildSystemRead(rec::kSysItemProgramName, slot));
  }
  const int counter = Number(batch, firstIndex, true);
  return Queue(std::move(batch), counter, false);
}

SequenceResult CommandSequences::SendSystemItem(int subCode, int slot) {
  if (!Connected()) return SequenceResult{SequenceStatus::kNotConnected, 0, 0};
  Batch batch;
  batch.push_back(BuildSystemWrite(m_model.State(), subCode, slot));
  return Queue(std::move(batch), 0, false);
}

std::optional<TransferProgress> CommandSequences::CurrentTransfer() const {
  std::lock_guard lock(m_queue.QueueLock());
  if (!m_tracked) return std::nullopt;
  const std::uint64_t answered = m_queue.Answered();
  TransferProgress p;
  p.operation = m_tracked->operation;
  p.writes = m_tracked->writes;
  p.commands = m_tracked->commands;
  p.answered =
      answered <= m_tracked->firstAnswer
          ? 0
          : static_cast<int>(std::min<std::uint64_t>(answered - m_tracked->firstAnswer,
                                                     static_cast<std::uint64_t>(p.commands)));
  if (p.Complete()) return std::nullopt;
  return p;
}

void CommandSequences::ForgetTransfer() {
  std::lock_guard lock(m_queue.QueueLock());
  m_tracked.reset();
}

RoutingResult CommandSequences::SelectInputSource(int value) {
  std::lock_guard lock(m_queue.QueueLock());
  const RoutingResult r = m_model.SelectInputSource(value);
  if (r == RoutingResult::QueueSystem)
    m_queue.Add(BuildSystemWrite(m_model.State(), rec::kSysItemSystemBlock, 0));
  return r;
}

RoutingResult CommandSequences::SetSpeakerType(int channel, int type) {
  std::lock_guard lock(m_queue.QueueLock());
  const RoutingResult r = m_model.SetSpeakerType(channel, type);
  if (r == RoutingResult::QueueSystem)
    m_queue.Add(BuildSystemWrite(m_model.State(), rec::kSysItemSpeakerTypes, 0));
  return r;
}

}  // namespace vantor
