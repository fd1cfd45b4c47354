#include "compare/ProgramComparison.h"

#include <mutex>

#include "dsp/KTVEQ.h"
#include "model/ChannelTable.h"
#include "model/KTV_Data.h"

namespace vantor {

ProgramComparison::ProgramComparison(CKTV_Data& model, CKTVCommand& queue)
    : m_model(model), m_applier(model, queue) {}

void ProgramComparison::Refresh() const {
  std::lock_guard lock(m_applier.QueueLock());
  const ProgramImage now = ProgramImage::Capture(m_model);
  if (!m_started || m_model.ProgramGeneration() != m_generation) {
    m_programs = {now, now};
    m_active = ComparisonSide::kA;
    m_generation = m_model.ProgramGeneration();
    m_started = true;
    return;
  }
  m_programs[Index(m_active)] = now;
}

ComparisonSide ProgramComparison::Active() const {
  Refresh();
  return m_active;
}

ComparisonSide ProgramComparison::Other() const {
  return Active() == ComparisonSide::kA ? ComparisonSide::kB : ComparisonSide::kA;
}

bool ProgramComparison::Differs() const {
  Refresh();
  return !(m_programs[0] == m_programs[1]);
}

ApplyResult ProgramComparison::Play(const ProgramImage& image) {
  const ApplyResult r = m_applier.Apply(image, StepTransfer::kWholeBlocks, false);
  if (r.Changed()) m_model.NoteProgramReplaced();
  m_generation = m_model.ProgramGeneration();
  return r;
}

ApplyResult ProgramComparison::Select(ComparisonSide side) {
  Refresh();
  if (side == m_active) return {};
  m_active = side;
  return Play(m_programs[Index(side)]);
}

ApplyResult ProgramComparison::Copy(ComparisonSide from, ComparisonSide to) {
  Refresh();
  m_programs[Index(to)] = m_programs[Index(from)];
  if (to != m_active) return {};
  return Play(m_programs[Index(to)]);
}

void ProgramComparison::FillOther(int channel, CKTVEQ& set) const {
  Refresh();
  const ProgramImage& other = m_programs[Index(Other())];
  set.BuildOutput(kOutputBandCountArg, kFrequencyMin, kFrequencyMax,
                  kOutputChannels[static_cast<std::size_t>(channel)].crossoverLimitMode,
                  kOutputCrossoverBand);
  for (int e = 0; e < set.Count(); ++e) {
    CFilter& f = set.At(e);
    f.ApplySettings(other.FilterOf(channel, e, f.Settings()), false);
  }
}

Response ProgramComparison::OtherCurveDb(int channel) const {
  CKTVEQ set;
  FillOther(channel, set);
  Response sum{};
  for (int e = 0; e < set.Count(); ++e) {
    const Response& r = set.At(e).ResponseDb();
    for (std::size_t i = 0; i < sum.size(); ++i) sum[i] += r[i];
  }
  return sum;
}

std::array<PointF, kGridPoints> ProgramComparison::OtherCurvePoints(int channel,
                                                                    const Rect& plot) const {
  CKTVEQ set;
  FillOther(channel, set);
  set.Layout(plot);
  set.SumResponse();
  return set.PointsF();
}

}  // namespace vantor
