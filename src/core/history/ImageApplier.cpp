#include "history/ImageApplier.h"

#include <algorithm>

#include "base/LittleEndian.h"

namespace vantor {
namespace {

// Mixer sources 0..7 travel in item 33, the others in item 34.
constexpr std::ptrdiff_t kLowMixerSources = 8;

bool Same(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

int I16(std::span<const std::uint8_t> r, std::size_t at) { return le::GetI16(r, at); }

MixerRow RowOf(std::span<const std::uint8_t> record) {
  MixerRow row{};
  std::copy_n(record.begin() + rec::kOutMixer, row.size(), row.begin());
  return row;
}

}  // namespace

bool ApplyResult::Changed() const {
  return globals || std::any_of(outputs.begin(), outputs.end(), [](bool b) { return b; });
}

ImageApplier::ImageApplier(CKTV_Data& model, CKTVCommand& queue)
    : m_model(model), m_queue(queue), m_sequences(model, queue) {}

ApplyResult ImageApplier::Apply(const ProgramImage& target, StepTransfer transfer,
                                bool systemBlock) {
  // One hold of the lock: the worker neither packs a half-applied output nor sees the
  // flags of outputs whose blocks are about to be queued.
  std::lock_guard lock(m_queue.QueueLock());
  const ProgramImage now = ProgramImage::Capture(m_model);
  const bool blocks = transfer == StepTransfer::kWholeBlocks;
  ApplyResult result;
  for (int c = 0; c < rec::kOutputCount; ++c) {
    if (!now.OutputDiffers(target, c)) continue;
    result.outputs[static_cast<std::size_t>(c)] = true;
    ApplyOutput(c, now, target, !blocks);
  }
  if (blocks) {
    for (int c = 0; c < rec::kOutputCount; ++c) {
      if (result.outputs[static_cast<std::size_t>(c)]) ForgetPending(m_model.Output(c));
    }
    const SequenceResult r = m_sequences.RewriteOutputs(result.outputs);
    result.commands += r.commands;
  }
  result.globals = ApplyGlobals(now, target, systemBlock, result.commands);
  return result;
}

void ImageApplier::ApplyOutput(int channel, const ProgramImage& now, const ProgramImage& target,
                               bool asEdit) {
  CKTV_OutData& out = m_model.Output(channel);
  const auto a = now.OutputRecord(channel);
  const auto b = target.OutputRecord(channel);

  for (int e = 0; e < out.Filters().Count(); ++e) {
    CFilter& f = out.Filter(e);
    const FilterSettings current = f.Settings();
    const FilterSettings wanted = target.FilterOf(channel, e, current);
    if (wanted != current) f.ApplySettings(wanted, asEdit);
  }
  ApplySettings(out, a, b);
  ApplyMixer(out, a, b);
  ApplyLimiter(out, a, b);
  // The name as its bytes stood, padding included: a name read from a record is trimmed,
  // and packing the trimmed name would change the bytes a block write carries.
  const auto name = b.subspan(rec::kOutName, rec::kOutNameSize);
  const std::string raw(name.begin(), std::find(name.begin(), name.end(), std::uint8_t{0}));
  if (!Same(a.subspan(rec::kOutName, rec::kOutNameSize), name) ||
      (!asEdit && raw != out.NameGbk())) {
    out.SetNameGbk(raw);
  }
  out.Filters().SumResponse();
}

void ImageApplier::ApplySettings(CKTV_OutData& out, std::span<const std::uint8_t> a,
                                 std::span<const std::uint8_t> b) {
  if (a[rec::kOutOn] != b[rec::kOutOn]) out.SetOutputOn(b[rec::kOutOn]);
  if (I16(a, rec::kOutDelay) != I16(b, rec::kOutDelay)) out.SetDelayCode(I16(b, rec::kOutDelay));
  if (a[rec::kOutAuxLevel] != b[rec::kOutAuxLevel]) out.SetAuxLevel(b[rec::kOutAuxLevel]);
  // The last three hand gain, EQ mode and auxiliary level to linked outputs, so each
  // comes after the values it hands on.
  if (a[rec::kOutPhase] != b[rec::kOutPhase]) out.SetPhase(b[rec::kOutPhase]);
  if (a[rec::kOutEqMode] != b[rec::kOutEqMode]) out.SetEqMode(b[rec::kOutEqMode]);
  if (I16(a, rec::kOutGain) != I16(b, rec::kOutGain)) out.SetGainCode(I16(b, rec::kOutGain));
}

void ImageApplier::ApplyMixer(CKTV_OutData& out, std::span<const std::uint8_t> a,
                              std::span<const std::uint8_t> b) {
  const MixerRow now = RowOf(a);
  const MixerRow wanted = RowOf(b);
  const auto low = kLowMixerSources;
  if (!std::equal(now.begin(), now.begin() + low, wanted.begin())) out.SetMixerLow(wanted);
  if (!std::equal(now.begin() + low, now.end(), wanted.begin() + low)) out.SetMixerHigh(wanted);
}

void ImageApplier::ApplyLimiter(CKTV_OutData& out, std::span<const std::uint8_t> a,
                                std::span<const std::uint8_t> b) {
  if (I16(a, rec::kOutLimiterThreshold) != I16(b, rec::kOutLimiterThreshold)) {
    out.SetThresholdCode(I16(b, rec::kOutLimiterThreshold));
  }
  if (a[rec::kOutLimiterAttack] != b[rec::kOutLimiterAttack]) {
    out.SetAttackCode(b[rec::kOutLimiterAttack]);
  }
  if (a[rec::kOutLimiterRelease] != b[rec::kOutLimiterRelease]) {
    out.SetReleaseCode(b[rec::kOutLimiterRelease]);
  }
}

void ImageApplier::ForgetPending(CKTV_OutData& out) {
  for (int c = 0; c < kOutputChangeCount; ++c) out.TakeChange(static_cast<OutputChange>(c));
  for (int e = 0; e < out.Filters().Count(); ++e) {
    CFilter& f = out.Filter(e);
    if (f.SentFrequency() == f.Frequency()) f.SetPending(0);
  }
}

bool ImageApplier::ApplyGlobals(const ProgramImage& now, const ProgramImage& target,
                                bool systemBlock, int& commands) {
  ProgramState& state = m_model.State();
  const auto a = now.SystemArea();
  const auto b = target.SystemArea();
  bool changed = false;
  auto queued = [&commands](const SequenceResult& r) { commands += r.commands; };

  if (systemBlock) {
    const auto blockA = a.subspan(rec::kSystemBlock, rec::kSystemBlockSize);
    const auto blockB = b.subspan(rec::kSystemBlock, rec::kSystemBlockSize);
    if (!Same(blockA, blockB)) {
      changed = true;
      const int volume = I16(blockB, rec::kSysMasterVolume);
      // The scan sends item 144 for a volume alone.
      if (volume != I16(blockA, rec::kSysMasterVolume)) m_model.SetMasterVolume(volume);
      auto blockNow = state.SystemBlock();
      // The other bytes of the block are sent at once, as their own controls do; the
      // write carries the volume too.
      bool others = false;
      for (std::size_t i = 0; i < rec::kSystemBlockSize; ++i) {
        if (i == rec::kSysMasterVolume || i == rec::kSysMasterVolume + 1) continue;
        if (blockNow[i] != blockB[i]) others = true;
        blockNow[i] = blockB[i];
      }
      if (others && state.connected.load()) {
        m_model.SetMasterVolumeChanged(false);
        queued(m_sequences.SendSystemItem(rec::kSysItemSystemBlock, 0));
      }
    }
  }

  const auto typesA = a.subspan(rec::kSpeakerTypes, rec::kSpeakerTypesSize);
  const auto typesB = b.subspan(rec::kSpeakerTypes, rec::kSpeakerTypesSize);
  if (!Same(typesA, typesB)) {
    changed = true;
    std::copy(typesB.begin(), typesB.end(), state.SpeakerTypes().begin());
    queued(m_sequences.SendSystemItem(rec::kSysItemSpeakerTypes, 0));
  }

  const auto spareB = b.subspan(rec::kSystemAreaSpare, rec::kHiddenLevels - rec::kSystemAreaSpare);
  if (!Same(a.subspan(rec::kSystemAreaSpare, spareB.size()), spareB)) {
    changed = true;
    std::copy(spareB.begin(), spareB.end(), state.SystemArea().begin() + rec::kSystemAreaSpare);
  }

  const auto hiddenB = b.subspan(rec::kHiddenLevels, rec::kHiddenLevelsSize);
  if (!Same(a.subspan(rec::kHiddenLevels, rec::kHiddenLevelsSize), hiddenB)) {
    changed = true;
    std::copy(hiddenB.begin(), hiddenB.end(), state.HiddenLevels().begin());
    m_model.SetHiddenLevelChanged(state.liveSync.load());  // as SetHiddenLevel marks it
  }

  if (!Same(now.LimiterBlock(), target.LimiterBlock())) {
    changed = true;
    std::copy(target.LimiterBlock().begin(), target.LimiterBlock().end(),
              state.LimiterBlock().begin());
    queued(m_sequences.SendSystemItem(rec::kSysItemLimiter, 0));
  }

  if (!Same(now.DelayPositions(), target.DelayPositions())) {
    changed = true;  // kept by the program only; nothing to send
    std::copy(target.DelayPositions().begin(), target.DelayPositions().end(),
              state.DelayPositions().begin());
  }
  return changed;
}

}  // namespace vantor
