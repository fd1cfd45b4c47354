#include "exchange/FilterImport.h"

#include <algorithm>
#include <cmath>

#include "dsp/FilterCodes.h"
#include "dsp/KTVEQ.h"
#include "exchange/CrossoverMatcher.h"
#include "exchange/ExchangeValues.h"
#include "exchange/FilterLineParser.h"
#include "model/KTV_OutData.h"

namespace vantor {
namespace {

constexpr int kShelfSplitHz = 2000;
constexpr int kSubwooferChannel = 5;
constexpr int kSubwooferHighPassMax = 100;
constexpr int kDefaultBandwidthIndex = 15;  // 0.2 octave
constexpr double kSecondOrderButterworthQ = 0.7071;
// Q values this far outside the table still snap to its ends.
constexpr double kQSlack = 1.05;

struct Line {
  int number = 0;
  std::string text;
};

struct PendingSections {
  std::vector<CrossoverSection> sections;
  std::vector<Line> lines;
};

struct PlannedBand {
  FilterSettings settings;
  Line line;
};

class Planner {
 public:
  Planner(const CKTV_OutData& output, bool rew) : m_output(output), m_rew(rew) {
    m_plan.channel = output.Channel();
  }

  void Read(const Line& line) {
    const ParsedLine parsed = ParseExchangeLine(line.text);
    switch (parsed.kind) {
      case LineKind::kBlank:
      case LineKind::kComment:
        return;
      case LineKind::kCommand:
        // REW's header lines are notes; Equalizer APO's other commands do something.
        if (!m_rew) Report(line, LineVerdict::kRefused, TextId::ImportCommandNotImported);
        return;
      case LineKind::kMalformed:
        Report(line, LineVerdict::kRefused, TextId::ImportNotUnderstood);
        return;
      case LineKind::kFilter:
        Filter(line, parsed.filter);
        return;
    }
  }

  ImportPlan Finish() {
    PlanCrossover(kHighPass, m_highSections, m_plan.highPass);
    PlanCrossover(kLowPass, m_lowSections, m_plan.lowPass);
    CheckCrossoverOrder();
    for (std::size_t i = 0; i < m_bands.size(); ++i) {
      if (static_cast<int>(i) >= rec::kOutputBands) {
        Report(m_bands[i].line, LineVerdict::kRefused, TextId::ImportTooManyBands);
        continue;
      }
      m_plan.bands.push_back(m_bands[i].settings);
      ++m_plan.importedLines;
    }
    std::stable_sort(
        m_plan.bands.begin(), m_plan.bands.end(),
        [](const FilterSettings& a, const FilterSettings& b) { return a.frequency < b.frequency; });
    m_plan.toParametric = !m_plan.bands.empty() && m_output.EqMode() != 0;
    std::stable_sort(
        m_plan.reports.begin(), m_plan.reports.end(),
        [](const ImportLineReport& a, const ImportLineReport& b) { return a.line < b.line; });
    return std::move(m_plan);
  }

 private:
  void Report(const Line& line, LineVerdict verdict, TextId reason) {
    m_plan.reports.push_back({line.number, line.text, verdict, reason});
  }

  void Filter(const Line& line, const ParsedFilter& f) {
    if (f.type == "NONE") return;  // an unused slot of the tool
    if (!f.on) {
      Report(line, LineVerdict::kLeftOut, TextId::ImportSwitchedOff);
      return;
    }
    const std::string& t = f.type;
    if (t == "PK" || t == "PEQ") {
      Peaking(line, f);
    } else if (t == "LS" || t == "LSC" || t == "HS" || t == "HSC") {
      Shelf(line, f, t[0] == 'L');
    } else if (t == "HP" || t == "HPQ" || t == "HP1" || t == "LP" || t == "LPQ" || t == "LP1") {
      Section(line, f);
    } else {
      Report(line, LineVerdict::kRefused, TextId::ImportUnsupportedType);
    }
  }

  // Frequency and gain of a band; false (reported) when either is missing or out of range.
  bool BandBasics(const Line& line, const ParsedFilter& f, FilterSettings& s) {
    if (!f.frequency || !f.gainDb) {
      Report(line, LineVerdict::kRefused, TextId::ImportNotUnderstood);
      return false;
    }
    const auto hz = SnapFrequencyToGrid(*f.frequency);
    const long index = std::lround((*f.gainDb + 20.0) * 10.0);
    if (!hz || index < 0 || index > kGainIndexMax) {
      Report(line, LineVerdict::kRefused, TextId::ImportOutOfRange);
      return false;
    }
    if (index == kGainIndexFlat) {
      Report(line, LineVerdict::kLeftOut, TextId::ImportFlatBand);
      return false;
    }
    s.frequency = *hz;
    s.gainIndex = static_cast<int>(index);
    s.flat = 0;
    s.bypass = 0;
    s.savedBypass = 0;
    s.bandwidthIndex = kDefaultBandwidthIndex;
    s.slope = 0;
    return true;
  }

  void Peaking(const Line& line, const ParsedFilter& f) {
    FilterSettings s;
    s.type = kPeaking;
    if (!BandBasics(line, f, s)) return;
    std::optional<double> q = f.q;
    if (!q && f.bandwidthOctaves && *f.bandwidthOctaves > 0.0) {
      const double p = std::pow(2.0, *f.bandwidthOctaves);
      q = std::sqrt(p) / (p - 1.0);
    }
    if (!q) {
      Report(line, LineVerdict::kRefused, TextId::ImportNotUnderstood);
      return;
    }
    const double widest = QOfBandwidthIndex(kBandwidthIndexMax);
    const double narrowest = QOfBandwidthIndex(kBandwidthIndexNarrowest);
    if (!(*q >= widest / kQSlack && *q <= narrowest * kQSlack)) {
      Report(line, LineVerdict::kRefused, TextId::ImportOutOfRange);
      return;
    }
    s.bandwidthIndex = BandwidthIndexFromQ(*q);
    m_bands.push_back({s, line});
  }

  void Shelf(const Line& line, const ParsedFilter& f, bool low) {
    FilterSettings s;
    s.type = low ? kLowShelf : kHighShelf;
    if (!BandBasics(line, f, s)) return;
    if (f.shelfSlopeDb) {
      const auto slope = ShelfSlopeFromDb(*f.shelfSlopeDb);
      if (!slope) {
        Report(line, LineVerdict::kRefused, TextId::ImportOutOfRange);
        return;
      }
      s.slope = *slope;
    } else if (f.q) {
      if (*f.q <= 0.0) {
        Report(line, LineVerdict::kRefused, TextId::ImportOutOfRange);
        return;
      }
      s.slope = ShelfSlopeFromQ(GainDbFromIndex(s.gainIndex), *f.q);
    } else {
      s.slope = 1;  // a shelf without Q or slope is the common second-order one
    }
    // A low shelf lives at or below 2 kHz, a high shelf at or above.
    if (low ? s.frequency > kShelfSplitHz : s.frequency < kShelfSplitHz) {
      Report(line, LineVerdict::kRefused, TextId::ImportOutOfRange);
      return;
    }
    m_bands.push_back({s, line});
  }

  void Section(const Line& line, const ParsedFilter& f) {
    const bool high = f.type[0] == 'H';
    CrossoverSection s;
    s.order = f.type.ends_with('1') ? 1 : 2;
    if (!f.frequency || (f.type.ends_with('Q') && !f.q)) {
      Report(line, LineVerdict::kRefused, TextId::ImportNotUnderstood);
      return;
    }
    s.frequency = *f.frequency;
    if (s.order == 2) s.q = f.q ? *f.q : kSecondOrderButterworthQ;
    PendingSections& p = high ? m_highSections : m_lowSections;
    p.sections.push_back(s);
    p.lines.push_back(line);
  }

  void PlanCrossover(int type, const PendingSections& p, std::optional<ImportCrossover>& out) {
    if (p.sections.empty()) return;
    const auto match = MatchCrossover(type, p.sections);
    if (!match) {
      for (const Line& l : p.lines)
        Report(l, LineVerdict::kRefused, TextId::ImportCrossoverUnmatched);
      return;
    }
    const auto hz = SnapFrequencyToGrid(match->frequency);
    const bool subwooferTooHigh = type == kHighPass && m_plan.channel == kSubwooferChannel && hz &&
                                  *hz > kSubwooferHighPassMax;
    if (!hz || subwooferTooHigh) {
      for (const Line& l : p.lines) Report(l, LineVerdict::kRefused, TextId::ImportOutOfRange);
      return;
    }
    out = ImportCrossover{match->family, match->slope, *hz};
    m_plan.importedLines += static_cast<int>(p.lines.size());
  }

  // The high-pass stays at or below the low-pass, as the crossover controls keep it.
  void CheckCrossoverOrder() {
    const int bands = m_output.BandCount();
    const int high =
        m_plan.highPass ? m_plan.highPass->frequency : m_output.Filter(bands).Frequency();
    const int low =
        m_plan.lowPass ? m_plan.lowPass->frequency : m_output.Filter(bands + 1).Frequency();
    if (high <= low) return;
    // Refuse the imported side that breaks the order (the high-pass when both came in).
    const bool dropHigh = m_plan.highPass.has_value();
    PendingSections& p = dropHigh ? m_highSections : m_lowSections;
    for (const Line& l : p.lines) Report(l, LineVerdict::kRefused, TextId::ImportOutOfRange);
    m_plan.importedLines -= static_cast<int>(p.lines.size());
    (dropHigh ? m_plan.highPass : m_plan.lowPass).reset();
  }

  const CKTV_OutData& m_output;
  bool m_rew;
  ImportPlan m_plan;
  std::vector<PlannedBand> m_bands;
  PendingSections m_highSections;
  PendingSections m_lowSections;
};

std::vector<Line> SplitLines(std::string_view text) {
  // A byte-order mark is no part of the first line.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<Line> lines;
  int number = 0;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view l = text.substr(0, end);
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    lines.push_back({++number, std::string(l)});
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool IsRewFile(const std::vector<Line>& lines) {
  for (const Line& l : lines) {
    const ParsedLine p = ParseExchangeLine(l.text);
    if (p.kind == LineKind::kBlank) continue;
    std::string t = l.text;
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.pop_back();
    return t == "Filter Settings file";
  }
  return false;
}

}  // namespace

bool ImportPlan::Complete() const { return RefusedLines() == 0; }

int ImportPlan::RefusedLines() const {
  return static_cast<int>(std::count_if(reports.begin(), reports.end(), [](const auto& r) {
    return r.verdict == LineVerdict::kRefused;
  }));
}

ImportPlan PlanFilterImport(std::string_view text, const CKTV_OutData& output) {
  const std::vector<Line> lines = SplitLines(text);
  Planner planner(output, IsRewFile(lines));
  for (const Line& l : lines) planner.Read(l);
  return planner.Finish();
}

bool ApplyFilterImport(const ImportPlan& plan, CKTV_OutData& output, bool acceptPartial) {
  if (!plan.Complete() && !acceptPartial) return false;
  if (plan.toParametric) output.SetEqMode(0);
  if (!plan.bands.empty()) {
    for (int b = 0; b < output.BandCount(); ++b) {
      CFilter& f = output.Filter(b);
      FilterSettings wanted = f.Settings();
      if (b < static_cast<int>(plan.bands.size())) {
        const FilterSettings& s = plan.bands[static_cast<std::size_t>(b)];
        wanted.type = s.type;
        wanted.frequency = s.frequency;
        wanted.gainIndex = s.gainIndex;
        wanted.bandwidthIndex = s.bandwidthIndex;
        wanted.slope = s.slope;
        wanted.flat = 0;
      } else {
        // As the EQ reset leaves a band, and a plain peaking band.
        wanted.type = kPeaking;
        wanted.slope = 0;
        wanted.frequency = kOutputBandFrequencies[static_cast<std::size_t>(b)];
        wanted.gainIndex = kGainIndexFlat;
        wanted.bandwidthIndex = kDefaultBandwidthIndex;
        wanted.flat = 1;
      }
      wanted.bypass = 0;
      wanted.savedBypass = 0;
      if (wanted != f.Settings()) f.ApplySettings(wanted, true);
    }
  }
  const int bands = output.BandCount();
  const std::pair<const std::optional<ImportCrossover>*, int> crossovers[] = {
      {&plan.highPass, bands}, {&plan.lowPass, bands + 1}};
  for (const auto& [x, element] : crossovers) {
    if (!*x) continue;
    CFilter& f = output.Filter(element);
    FilterSettings wanted = f.Settings();
    wanted.family = (*x)->family;
    wanted.slope = (*x)->slope;
    wanted.frequency = (*x)->frequency;
    if (wanted != f.Settings()) f.ApplySettings(wanted, true);
  }
  output.Filters().SumResponse();
  return true;
}

}  // namespace vantor
