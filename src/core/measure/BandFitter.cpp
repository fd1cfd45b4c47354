#include "measure/BandFitter.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "dsp/FilterCodes.h"
#include "dsp/FilterDesign.h"
#include "measure/BoundedMinimiser.h"
#include "measure/PeakingShape.h"

namespace vantor {
namespace {

constexpr int kLastPoint = static_cast<int>(kGridPoints) - 1;
constexpr double kLowestGainDb = -20.0;
constexpr double kHighestGainDb = 20.0;
// Weight of the squared excess of the bands' sum over the boost limit, against the squared
// deviations; large enough that the optimiser keeps to the limit, small enough to stay smooth.
constexpr double kBoostPenalty = 100.0;
// The greedy placement stops when no point is further from the target than half a gain step.
constexpr double kStopDeviationDb = 0.05;
// ... and when the last band placed took less than this share off the squared deviation.
constexpr double kMinimumGain = 0.01;
// Bandwidths tried for a new band before it is refined (indexes; 4 is 0.09 octave).
constexpr std::array<int, 10> kStartWidths = {4, 8, 14, 22, 35, 55, 85, 130, 200, 295};
constexpr MinimiseLimits kBandLimits{60, 1e-6};
constexpr MinimiseLimits kJointLimits{200, 1e-7};
constexpr int kPolishPasses = 12;

struct Band {
  int slot = 0;
  bool centreFree = true;
  PeakingParams params;
};

std::size_t At(int i) { return static_cast<std::size_t>(i); }

const std::array<int, kGridPoints>& CentreFrequencyTable() {
  static const std::array<int, kGridPoints> table = [] {
    std::array<int, kGridPoints> t{};
    // The whole frequency nearest to each grid point that the filter snaps back onto it.
    for (int hz = kFrequencyMin; hz <= kFrequencyMax; ++hz) {
      const std::size_t i = At(GridIndexOf(hz));
      if (t[i] == 0 || std::abs(hz - kResponseGrid[i]) < std::abs(t[i] - kResponseGrid[i])) {
        t[i] = hz;
      }
    }
    return t;
  }();
  return table;
}

// The reachable centre nearest to `centre` within [low, high]; -1 when none is.
int NearestReachable(double centre, int low, int high) {
  const int start = std::clamp(static_cast<int>(std::lround(centre)), low, high);
  for (int d = 0; d <= high - low; ++d) {
    for (int c : {start - d, start + d}) {
      if (c >= low && c <= high && BandFrequencyOfCentre(c) != 0) return c;
    }
  }
  return -1;
}

// The problem as the optimiser sees it: the deviation the bands must cancel and the limits.
class FitObjective {
 public:
  explicit FitObjective(const FitProblem& p)
      : m_problem(p), m_gainHigh(std::clamp(p.maxBoostDb, 0.0, kHighestGainDb)) {
    for (std::size_t i = 0; i < kGridPoints; ++i) m_offset[i] = p.base[i] - p.target[i];
  }

  double GainHigh() const { return m_gainHigh; }
  int MaxGainIndex() const { return GainIndexFromDb(m_gainHigh); }

  // Deviation from the target at point i with the bands' sum eq.
  double Deviation(const Response& eq, int i) const { return m_offset[At(i)] + eq[At(i)]; }

  // Squared deviations over the range plus the boost penalty over the whole grid; with
  // `weights`, the derivative of that sum by each point of eq.
  double Cost(const Response& eq, Response* weights) const {
    double cost = 0.0;
    for (int i = 0; i < static_cast<int>(kGridPoints); ++i) {
      double w = 0.0;
      if (i >= m_problem.first && i <= m_problem.last) {
        const double e = Deviation(eq, i);
        cost += e * e;
        w = 2.0 * e;
      }
      const double over = eq[At(i)] - m_gainHigh;
      if (over > 0.0) {
        cost += kBoostPenalty * over * over;
        w += 2.0 * kBoostPenalty * over;
      }
      if (weights != nullptr) (*weights)[At(i)] = w;
    }
    return cost;
  }

  // Refines `bands[k]` for every k in `which` with the other bands held.
  void Refine(std::vector<Band>& bands, const std::vector<std::size_t>& which,
              const MinimiseLimits& limits) const {
    Response held{};
    std::vector<bool> moving(bands.size(), false);
    for (std::size_t k : which) moving[k] = true;
    Response h{};
    for (std::size_t k = 0; k < bands.size(); ++k) {
      if (moving[k]) continue;
      PeakingShape(bands[k].params, h);
      for (std::size_t i = 0; i < kGridPoints; ++i) held[i] += h[i];
    }

    std::vector<double> x, lower, upper;
    for (std::size_t k : which) {
      const Band& b = bands[k];
      x.push_back(b.params.gainDb);
      lower.push_back(kLowestGainDb);
      upper.push_back(m_gainHigh);
      if (b.centreFree) {
        x.push_back(b.params.centre);
        lower.push_back(m_problem.centreLow);
        upper.push_back(m_problem.centreHigh);
      }
      x.push_back(b.params.width);
      lower.push_back(kNarrowestWidthIndex);
      upper.push_back(kBandwidthIndexMax);
    }

    auto unpack = [&bands, &which](std::span<const double> v) {
      std::size_t n = 0;
      for (std::size_t k : which) {
        Band& b = bands[k];
        b.params.gainDb = v[n++];
        if (b.centreFree) b.params.centre = v[n++];
        b.params.width = v[n++];
      }
    };
    std::vector<Response> shapes(which.size());
    std::vector<PeakingGradient> gradients(which.size());
    const SmoothFunction f = [&](std::span<const double> v, std::span<double> grad) {
      unpack(v);
      Response eq = held;
      for (std::size_t m = 0; m < which.size(); ++m) {
        PeakingShape(bands[which[m]].params, shapes[m], grad.empty() ? nullptr : &gradients[m]);
        for (std::size_t i = 0; i < kGridPoints; ++i) eq[i] += shapes[m][i];
      }
      Response w{};
      const double cost = Cost(eq, grad.empty() ? nullptr : &w);
      if (grad.empty()) return cost;
      auto dot = [&w](const Response& d) {
        double s = 0.0;
        for (std::size_t i = 0; i < kGridPoints; ++i) s += w[i] * d[i];
        return s;
      };
      std::size_t n = 0;
      for (std::size_t m = 0; m < which.size(); ++m) {
        grad[n++] = dot(gradients[m].dGain);
        if (bands[which[m]].centreFree) grad[n++] = dot(gradients[m].dCentre);
        grad[n++] = dot(gradients[m].dWidth);
      }
      return cost;
    };
    MinimiseWithinBounds(f, x, lower, upper, limits);
    unpack(x);
  }

 private:
  const FitProblem& m_problem;
  double m_gainHigh;
  Response m_offset{};
};

// Sum of the continuous bands' responses.
Response SumShapes(const std::vector<Band>& bands) {
  Response eq{};
  Response h{};
  for (const Band& b : bands) {
    PeakingShape(b.params, h);
    for (std::size_t i = 0; i < kGridPoints; ++i) eq[i] += h[i];
  }
  return eq;
}

// Greedy placement: a new band where the achievable correction is largest, its bandwidth
// the best of a few, then refined alone.
void PlaceBands(const FitProblem& problem, const FitObjective& objective,
                std::vector<Band>& bands) {
  std::vector<bool> slotUsed(problem.slots.size(), false);
  const std::size_t count =
      std::min(problem.slots.size(), static_cast<std::size_t>(std::max(problem.maxBands, 0)));
  for (std::size_t n = 0; n < count; ++n) {
    const Response eq = SumShapes(bands);
    // What one more band could still correct at point i: a boost only up to the limit of
    // the bands' sum there.
    auto achievable = [&](int i) {
      const double room = std::max(0.0, objective.GainHigh() - eq[At(i)]);
      return std::clamp(-objective.Deviation(eq, i), kLowestGainDb, room);
    };
    int worst = -1;
    double worstGain = 0.0;
    for (int i = problem.first; i <= problem.last; ++i) {
      const double want = achievable(i);
      if (std::abs(want) > std::abs(worstGain)) {
        worst = i;
        worstGain = want;
      }
    }
    if (worst < 0 || std::abs(worstGain) < kStopDeviationDb) return;

    // The slot: the next free one, or for centres held in place the one nearest the point.
    int slot = -1;
    int centre = -1;
    for (std::size_t s = 0; s < problem.slots.size(); ++s) {
      if (slotUsed[s]) continue;
      const auto& fixed = problem.slots[s].fixedHz;
      const int c = fixed ? GridIndexOf(*fixed)
                          : NearestReachable(worst, problem.centreLow, problem.centreHigh);
      if (c < 0) continue;
      if (slot < 0 || std::abs(c - worst) < std::abs(centre - worst)) {
        slot = static_cast<int>(s);
        centre = c;
      }
      if (!fixed) break;  // free slots are all alike
    }
    if (slot < 0) return;
    slotUsed[At(slot)] = true;

    Band band;
    band.slot = slot;
    band.centreFree = !problem.slots[At(slot)].fixedHz.has_value();
    band.params.centre = centre;
    band.params.gainDb = achievable(centre);
    double best = -1.0;
    Response trial{};
    for (int width : kStartWidths) {
      PeakingParams p = band.params;
      p.width = width;
      PeakingShape(p, trial);
      for (std::size_t i = 0; i < kGridPoints; ++i) trial[i] += eq[i];
      const double cost = objective.Cost(trial, nullptr);
      if (best < 0.0 || cost < best) {
        best = cost;
        band.params.width = width;
      }
    }
    bands.push_back(band);
    objective.Refine(bands, {bands.size() - 1}, kBandLimits);
    // A band that hardly helps is not worth a band: the deviation left is what bands within
    // the limits cannot correct (or noise).
    const double before = objective.Cost(eq, nullptr);
    const double after = objective.Cost(SumShapes(bands), nullptr);
    if (before - after < kMinimumGain * before) {
      bands.pop_back();
      return;
    }
  }
}

struct CodedBand {
  int slot;
  bool centreFree;
  int centre;
  int hz;
  int gainIndex;
  int widthIndex;
  Response h;
};

void Recode(CodedBand& b) {
  if (b.centreFree) b.hz = BandFrequencyOfCentre(b.centre);
  b.h = BandResponse(b.hz, b.gainIndex, b.widthIndex);
}

// The bands at the processor's codes, then moved code by code while that lowers the cost
// and keeps every point of the sum within the boost limit.
std::vector<CodedBand> SnapAndPolish(const FitProblem& problem, const FitObjective& objective,
                                     const std::vector<Band>& bands, Response& eq) {
  const int maxGain = objective.MaxGainIndex();
  const double limit = objective.GainHigh() + 1e-9;
  std::vector<CodedBand> coded;
  eq = Response{};
  for (const Band& b : bands) {
    const auto& fixed = problem.slots[At(b.slot)].fixedHz;
    const int centre =
        fixed ? GridIndexOf(*fixed)
              : NearestReachable(b.params.centre, problem.centreLow, problem.centreHigh);
    if (centre < 0) continue;
    CodedBand c{
        b.slot,
        b.centreFree,
        centre,
        fixed.value_or(0),
        std::clamp(GainIndexFromDb(std::clamp(b.params.gainDb, kLowestGainDb, 20.0)), 0, maxGain),
        std::clamp(static_cast<int>(std::lround(b.params.width)), kNarrowestWidthIndex,
                   kBandwidthIndexMax),
        {}};
    Recode(c);
    for (std::size_t i = 0; i < kGridPoints; ++i) eq[i] += c.h[i];
    coded.push_back(c);
  }

  // Rounding may lift the sum over the limit; lower the band that lifts it most there.
  for (int guard = 0; guard < 100000; ++guard) {
    const auto top = std::max_element(eq.begin(), eq.end());
    if (*top <= limit) break;
    const std::size_t i = static_cast<std::size_t>(top - eq.begin());
    CodedBand* lifter = nullptr;
    for (CodedBand& c : coded) {
      if (c.gainIndex > 0 && (lifter == nullptr || c.h[i] > lifter->h[i])) lifter = &c;
    }
    if (lifter == nullptr) break;
    for (std::size_t k = 0; k < kGridPoints; ++k) eq[k] -= lifter->h[k];
    --lifter->gainIndex;
    Recode(*lifter);
    for (std::size_t k = 0; k < kGridPoints; ++k) eq[k] += lifter->h[k];
  }

  double cost = objective.Cost(eq, nullptr);
  for (int pass = 0; pass < kPolishPasses; ++pass) {
    bool improved = false;
    for (CodedBand& c : coded) {
      auto tryMove = [&](auto change) {
        CodedBand next = c;
        if (!change(next)) return;
        Recode(next);
        Response trial = eq;
        for (std::size_t i = 0; i < kGridPoints; ++i) trial[i] += next.h[i] - c.h[i];
        if (*std::max_element(trial.begin(), trial.end()) > limit) return;
        const double trialCost = objective.Cost(trial, nullptr);
        if (trialCost < cost - 1e-12) {
          cost = trialCost;
          eq = trial;
          c = next;
          improved = true;
        }
      };
      for (int step : {1, -1}) {
        tryMove([&](CodedBand& n) {
          n.gainIndex += step;
          return n.gainIndex >= 0 && n.gainIndex <= maxGain;
        });
        tryMove([&](CodedBand& n) {
          n.widthIndex += step;
          return n.widthIndex >= kNarrowestWidthIndex && n.widthIndex <= kBandwidthIndexMax;
        });
        if (c.centreFree) {
          tryMove([&](CodedBand& n) {
            int next = n.centre + step;
            while (next >= problem.centreLow && next <= problem.centreHigh &&
                   BandFrequencyOfCentre(next) == 0) {
              next += step;
            }
            n.centre = next;
            return next >= problem.centreLow && next <= problem.centreHigh;
          });
        }
      }
    }
    if (!improved) break;
  }
  return coded;
}

}  // namespace

int BandFrequencyOfCentre(int index) {
  if (index < 0 || index > kLastPoint) return 0;
  return CentreFrequencyTable()[At(index)];
}

Response BandResponse(int frequencyHz, int gainIndex, int widthIndex) {
  Response out{};
  if (gainIndex == kGainIndexFlat) return out;
  EvaluateBiquad(
      DesignPeaking(frequencyHz, GainDbFromIndex(gainIndex), OctavesFromBandwidthIndex(widthIndex)),
      out);
  return out;
}

double RmsDeviation(const Response& curve, const Response& target, int first, int last) {
  double sum = 0.0;
  int count = 0;
  for (int i = std::max(first, 0); i <= std::min(last, kLastPoint); ++i) {
    const double e = curve[At(i)] - target[At(i)];
    sum += e * e;
    ++count;
  }
  return count == 0 ? 0.0 : std::sqrt(sum / count);
}

FitOutcome FitPeakingBands(const FitProblem& problem) {
  FitOutcome outcome;
  if (problem.slots.empty() || problem.first > problem.last) return outcome;
  const FitObjective objective(problem);
  std::vector<Band> bands;
  PlaceBands(problem, objective, bands);
  if (bands.empty()) return outcome;
  std::vector<std::size_t> all(bands.size());
  for (std::size_t k = 0; k < all.size(); ++k) all[k] = k;
  objective.Refine(bands, all, kJointLimits);

  const std::vector<CodedBand> coded = SnapAndPolish(problem, objective, bands, outcome.eq);
  for (const CodedBand& c : coded) {
    if (c.gainIndex == kGainIndexFlat) continue;
    outcome.bands.push_back({c.slot, c.hz, c.gainIndex, c.widthIndex});
  }
  return outcome;
}

}  // namespace vantor
