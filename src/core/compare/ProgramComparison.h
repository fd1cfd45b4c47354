#pragma once
// A/B comparison: two programs held in memory, of which the processor plays one. Both start
// as the current program (and start again so whenever the model is given a whole program:
// a read-back, recall or file load). Switching keeps what is playing as its side's program
// and sends only what differs from the other side: the whole block of each output that
// differs, silenced around the transfer as a file load does, and the speaker types and the
// limiter block when they differ. The system block (input source, master level and switch)
// belongs to the listener, not to a program, and stays as it is.
//
// Switching or copying into the playing side gives the model a whole program, so the edit
// history begins afresh. Runs on the thread that owns the model's edits.

#include <array>
#include <cstdint>

#include "dsp/Geometry.h"
#include "dsp/ResponseGrid.h"
#include "history/ImageApplier.h"
#include "history/ProgramImage.h"

namespace vantor {

class CKTVEQ;

enum class ComparisonSide { kA, kB };

class ProgramComparison {
 public:
  ProgramComparison(CKTV_Data& model, CKTVCommand& queue);

  ComparisonSide Active() const;
  ComparisonSide Other() const;

  // Plays `side` (nothing when it already plays).
  ApplyResult Select(ComparisonSide side);
  ApplyResult Toggle() { return Select(Other()); }
  // "Copy A to B" / "Copy B to A": the target side takes the source's program; when the
  // target is the one playing, the processor receives the differences.
  ApplyResult CopyAToB() { return Copy(ComparisonSide::kA, ComparisonSide::kB); }
  ApplyResult CopyBToA() { return Copy(ComparisonSide::kB, ComparisonSide::kA); }
  // The two sides hold different programs.
  bool Differs() const;

  // The other side's curve of output `channel`: in dB on the response grid, and as the
  // graph's smooth-curve points for a plot rectangle (drawn like any output's curve).
  Response OtherCurveDb(int channel) const;
  std::array<PointF, kGridPoints> OtherCurvePoints(int channel, const Rect& plot) const;

 private:
  // The held programs, with the playing side's refreshed from the model.
  void Refresh() const;
  ApplyResult Copy(ComparisonSide from, ComparisonSide to);
  ApplyResult Play(const ProgramImage& image);
  // Fills an output filter set of channel `channel` with the other side's filters.
  void FillOther(int channel, CKTVEQ& set) const;
  static std::size_t Index(ComparisonSide side) { return side == ComparisonSide::kA ? 0 : 1; }

  CKTV_Data& m_model;
  ImageApplier m_applier;
  mutable std::array<ProgramImage, 2> m_programs{};
  mutable ComparisonSide m_active = ComparisonSide::kA;
  mutable std::uint64_t m_generation = 0;
  mutable bool m_started = false;
};

}  // namespace vantor
