// Import of other tools' filters: the round trip through each format, the line-by-line
// reports of what cannot be represented, and the tools' own spellings.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "dsp/KTVEQ.h"
#include "exchange/ExchangeRig.h"
#include "exchange/ExchangeValues.h"
#include "exchange/FilterExport.h"
#include "exchange/FilterImport.h"
#include "exchange/GermanLocale.h"
#include "history/ProgramImage.h"

namespace vantor::testing {
namespace {

struct Band {
  int type;
  int frequency;
  int gainIndex;
  int bandwidthIndex;
  int slope;
  friend bool operator==(const Band&, const Band&) = default;
};

std::ostream& operator<<(std::ostream& os, const Band& b) {
  return os << "{type " << b.type << ", " << b.frequency << " Hz, gain " << b.gainIndex << ", bw "
            << b.bandwidthIndex << ", slope " << b.slope << "}";
}

// The output's bands that are not flat, as the round trip compares them (a shelf's
// bandwidth plays no part).
std::vector<Band> ActiveBands(const CKTV_OutData& out) {
  std::vector<Band> bands;
  for (int b = 0; b < out.BandCount(); ++b) {
    const CFilter& f = out.Filter(b);
    if (f.GainIndex() == kGainIndexFlat) continue;
    const bool shelf = f.Type() != kPeaking;
    bands.push_back({f.Type(), f.Frequency(), f.GainIndex(), shelf ? 0 : f.BandwidthIndex(),
                     shelf ? f.Slope() : 0});
  }
  return bands;
}

// Every band of an output set to random values a person could give it.
void Randomise(CKTV_OutData& out, unsigned seed) {
  std::mt19937 rng(seed);
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int b = 0; b < out.BandCount(); ++b) {
    CFilter& f = out.Filter(b);
    const int type = pick(0, 4);  // combined EQ type: peaking, shelves of both slopes
    const int hz = type == 0 ? pick(20, 20000) : type <= 2 ? pick(20, 2000) : pick(2000, 20000);
    f.SetFrequency(hz, true);
    f.SetEqType(type);
    int gain = pick(0, 399);
    if (gain == kGainIndexFlat) ++gain;
    f.SetGainIndex(gain);
    f.SetBandwidthIndex(pick(4, 295));
  }
}

class Import : public ::testing::TestWithParam<ExchangeFormat> {};

TEST_P(Import, ARoundTripKeepsEveryBandWithinTheSnappingRules) {
  for (unsigned seed : {1U, 2U, 3U}) {
    OfflineProgram source;
    CKTV_OutData& out = ShapeOutput(source.model, 3);
    Randomise(out, seed);
    std::vector<Band> expected = ActiveBands(out);
    for (Band& b : expected) b.frequency = *SnapFrequencyToGrid(b.frequency);
    std::stable_sort(expected.begin(), expected.end(),
                     [](const Band& a, const Band& b) { return a.frequency < b.frequency; });

    const ExportResult text = ExportFilters(out, GetParam());
    OfflineProgram target;
    CKTV_OutData& into = target.model.Output(6);
    const ImportPlan plan = PlanFilterImport(text.text, into);
    EXPECT_TRUE(plan.Complete()) << text.text;
    EXPECT_EQ(plan.importedLines, text.filters);
    ASSERT_TRUE(ApplyFilterImport(plan, into, false));
    EXPECT_EQ(ActiveBands(into), expected) << "seed " << seed;

    // The crossovers come back as the same family and slope at the snapped frequency.
    EXPECT_EQ(into.HighPass().Family(), kLinkwitzRiley);
    EXPECT_EQ(into.HighPass().Slope(), 2);
    EXPECT_EQ(into.HighPass().Frequency(), *SnapFrequencyToGrid(80));
    EXPECT_EQ(into.LowPass().Family(), kButterworth);
    EXPECT_EQ(into.LowPass().Slope(), 2);
    EXPECT_EQ(into.LowPass().Frequency(), 5000);
  }
}

TEST_P(Import, ExportedTextReadsBackTheSameUnderAGermanLocale) {
  OfflineProgram source;
  CKTV_OutData& out = ShapeOutput(source.model, 0);
  const std::string text = ExportFilters(out, GetParam()).text;
  OfflineProgram a;
  const ImportPlan plain = PlanFilterImport(text, a.model.Output(0));
  GermanLocale german;
  OfflineProgram b;
  const ImportPlan underLocale = PlanFilterImport(text, b.model.Output(0));
  EXPECT_TRUE(underLocale.Complete());
  EXPECT_EQ(underLocale.bands, plain.bands);
  ASSERT_EQ(underLocale.bands.size(), 4U);
  EXPECT_EQ(underLocale.bands[0].gainIndex, 245);
  EXPECT_EQ(underLocale.bands[3].gainIndex, 135);
}

INSTANTIATE_TEST_SUITE_P(RewAndEqualizerApo, Import,
                         ::testing::Values(ExchangeFormat::kRew, ExchangeFormat::kEqualizerApo),
                         [](const auto& info) {
                           return info.param == ExchangeFormat::kRew ? "Rew" : "EqualizerApo";
                         });

ImportLineReport ReportOf(const ImportPlan& plan, int line) {
  for (const auto& r : plan.reports) {
    if (r.line == line) return r;
  }
  ADD_FAILURE() << "no report for line " << line;
  return {};
}

TEST(ImportReports, EveryLineThatCannotBeRepresentedIsReportedAndNothingChangesUnlessAccepted) {
  std::string text =
      "# made by hand\n"                                 // 1
      "Preamp: -6.5 dB\n"                                // 2
      "Filter 1: ON PK Fc 1000 Hz Gain 25.0 dB Q 1.0\n"  // 3 gain out of range
      "Filter 2: ON NO Fc 50 Hz\n"                       // 4 notch: no such filter
      "Filter 3: ON PK Fc 500 Hz Gain 3.0 dB Q 100\n"    // 5 Q out of range
      "Filter 4: ON LSC Fc 5000 Hz Gain 2.0 dB Q 0.7\n"  // 6 a low shelf above 2 kHz
      "Filter 5: ON PK Fc abc Hz Gain 1.0 dB Q 1.0\n"    // 7 not a number
      "Filter 6: OFF PK Fc 200 Hz Gain 4.0 dB Q 1.0\n"   // 8 switched off
      "Filter 7: ON PK Fc 300 Hz Gain 0.0 dB Q 1.0\n"    // 9 flat
      "Filter 8: ON HPQ Fc 80 Hz Q 3.0\n";               // 10 no crossover has that Q
  for (int i = 0; i < 33; ++i) {                         // 11..43: two bands too many
    text += "Filter " + std::to_string(10 + i) + ": ON PK Fc " + std::to_string(40 + 100 * i) +
            " Hz Gain -2.0 dB Q 2.0\n";
  }
  OfflineProgram program;
  CKTV_OutData& out = program.model.Output(1);
  const ImportPlan plan = PlanFilterImport(text, out);
  EXPECT_FALSE(plan.Complete());
  EXPECT_EQ(plan.RefusedLines(), 9);
  EXPECT_EQ(ReportOf(plan, 2).reason, TextId::ImportCommandNotImported);
  EXPECT_EQ(ReportOf(plan, 3).reason, TextId::ImportOutOfRange);
  EXPECT_EQ(ReportOf(plan, 4).reason, TextId::ImportUnsupportedType);
  EXPECT_EQ(ReportOf(plan, 5).reason, TextId::ImportOutOfRange);
  EXPECT_EQ(ReportOf(plan, 6).reason, TextId::ImportOutOfRange);
  EXPECT_EQ(ReportOf(plan, 7).reason, TextId::ImportNotUnderstood);
  EXPECT_EQ(ReportOf(plan, 8).verdict, LineVerdict::kLeftOut);
  EXPECT_EQ(ReportOf(plan, 9).reason, TextId::ImportFlatBand);
  EXPECT_EQ(ReportOf(plan, 10).reason, TextId::ImportCrossoverUnmatched);
  EXPECT_EQ(ReportOf(plan, 42).reason, TextId::ImportTooManyBands);
  EXPECT_EQ(ReportOf(plan, 43).reason, TextId::ImportTooManyBands);
  EXPECT_EQ(ReportOf(plan, 7).text, "Filter 5: ON PK Fc abc Hz Gain 1.0 dB Q 1.0");
  EXPECT_TRUE(std::is_sorted(plan.reports.begin(), plan.reports.end(),
                             [](const auto& a, const auto& b) { return a.line < b.line; }));
  EXPECT_EQ(plan.bands.size(), 31U);

  const ProgramImage before = ProgramImage::Capture(program.model);
  EXPECT_FALSE(ApplyFilterImport(plan, out, false));
  EXPECT_EQ(ProgramImage::Capture(program.model), before);

  ASSERT_TRUE(ApplyFilterImport(plan, out, true));
  EXPECT_EQ(ActiveBands(out).size(), 31U);
  EXPECT_EQ(out.Filter(0).Frequency(), *SnapFrequencyToGrid(40));
  EXPECT_EQ(out.Filter(0).GainIndex(), 180);
  EXPECT_EQ(out.HighPass().Frequency(), 20);  // the refused crossover left it open
}

TEST(ImportReports, TheToolsSpellingsAreRead) {
  const std::string rew =
      "Filter Settings file\r\n"
      "\r\n"
      "Room EQ V5.20\r\n"
      "Dated: 1 May 2024 10:15:00\r\n"
      "Notes: living room\r\n"
      "Equaliser: Generic\r\n"
      "Filter  1: ON  LS 6dB   Fc   100 Hz  Gain  3,5 dB\r\n"
      "Filter  2: ON  HS 12dB  Fc   8,0 kHz Gain  -2.0 dB\r\n"
      "Filter  3: ON  None\r\n"
      "Filter  4: ON  PK       Fc   1000Hz  Gain  1.0dB  Q  1.414\r\n"
      "Filter  5: ON  HP       Fc   100 Hz\r\n"
      "Filter  6: ON  LPQ      Fc   2000 Hz  Q  0.71\r\n"
      "Filter  7: ON  LPQ      Fc   2000 Hz  Q  0.71\r\n";
  OfflineProgram program;
  CKTV_OutData& out = program.model.Output(0);
  const ImportPlan plan = PlanFilterImport(rew, out);
  EXPECT_TRUE(plan.Complete());
  EXPECT_TRUE(plan.reports.empty());
  ASSERT_EQ(plan.bands.size(), 3U);
  EXPECT_EQ(plan.bands[0].type, kLowShelf);
  EXPECT_EQ(plan.bands[0].slope, 0);
  EXPECT_EQ(plan.bands[0].gainIndex, 235);
  EXPECT_EQ(plan.bands[1].type, kPeaking);
  EXPECT_EQ(plan.bands[1].bandwidthIndex, 95);
  EXPECT_EQ(plan.bands[2].type, kHighShelf);
  EXPECT_EQ(plan.bands[2].slope, 1);
  EXPECT_EQ(plan.bands[2].frequency, *SnapFrequencyToGrid(8000));
  ASSERT_TRUE(plan.highPass && plan.lowPass);
  EXPECT_EQ(plan.highPass->family, kButterworth);  // a plain HP is second order, Q 0.71
  EXPECT_EQ(plan.highPass->slope, 0);
  EXPECT_EQ(plan.lowPass->family, kLinkwitzRiley);  // two sections of Q 0.71
  EXPECT_EQ(plan.lowPass->slope, 2);

  // Equalizer APO: a filter without its number, a bandwidth in octaves, a shelf slope.
  const std::string apo =
      "Filter: ON PK Fc 250 Hz Gain -4 dB BW Oct 0.5\n"
      "Filter 2: ON LSC 6 dB Fc 60 Hz Gain 6 dB\n"
      "Filter 3: ON LS 24dB Fc 60 Hz Gain 6 dB\n";
  const ImportPlan p2 = PlanFilterImport(apo, out);
  ASSERT_EQ(p2.bands.size(), 2U);
  EXPECT_EQ(p2.bands[1].bandwidthIndex, 45);  // 0.5 octave
  EXPECT_EQ(p2.bands[0].slope, 0);
  EXPECT_EQ(ReportOf(p2, 3).reason, TextId::ImportOutOfRange);  // steeper than 12 dB/Oct
}

TEST(ImportReports, ValuesThatAreNoNumbersAreRefused) {
  OfflineProgram program;
  const ImportPlan plan = PlanFilterImport(
      "Filter 1: ON PK Fc 100 Hz Gain nan dB Q 1\n"
      "Filter 2: ON PK Fc inf Hz Gain 1 dB Q 1\n"
      "Filter 3: ON PK Fc 1e3 Hz Gain 1 dB Q 1\n"
      "Filter 4: ON PK Fc 100 Hz Gain 1 dB Q\n"
      "Filter 5: ON PK Fc 10 Hz Gain 1 dB Q 1\n",
      program.model.Output(0));
  EXPECT_EQ(plan.RefusedLines(), 5);
  for (int line = 1; line <= 4; ++line) {
    EXPECT_EQ(ReportOf(plan, line).reason, TextId::ImportNotUnderstood) << line;
  }
  EXPECT_EQ(ReportOf(plan, 5).reason, TextId::ImportOutOfRange);
  EXPECT_TRUE(plan.bands.empty());
}

TEST(ImportReports, TheOutputsCrossoverRulesHold) {
  OfflineProgram program;
  CKTV_OutData& sub = program.model.Output(5);
  // Channel 6 keeps its high-pass at or below 100 Hz.
  const ImportPlan high = PlanFilterImport("Filter 1: ON HP Fc 150 Hz\n", sub);
  EXPECT_EQ(ReportOf(high, 1).reason, TextId::ImportOutOfRange);
  EXPECT_FALSE(high.highPass);

  // The high-pass stays at or below the low-pass the output has.
  CKTV_OutData& out = program.model.Output(0);
  out.LowPass().SetFrequency(500, true);
  const ImportPlan above = PlanFilterImport("Filter 1: ON HP Fc 800 Hz\n", out);
  EXPECT_EQ(ReportOf(above, 1).reason, TextId::ImportOutOfRange);
  const ImportPlan both =
      PlanFilterImport("Filter 1: ON HP Fc 800 Hz\nFilter 2: ON LP Fc 4000 Hz\n", out);
  EXPECT_TRUE(both.Complete());
  ASSERT_TRUE(ApplyFilterImport(both, out, false));
  EXPECT_EQ(out.HighPass().Frequency(), *SnapFrequencyToGrid(800));
  EXPECT_EQ(out.LowPass().Frequency(), *SnapFrequencyToGrid(4000));
}

TEST(ImportReports, AGraphicOutputBecomesParametricAndKeepsNoOldBand) {
  OfflineProgram program;
  CKTV_OutData& out = program.model.Output(2);
  out.SetEqMode(1);
  out.Filter(20).SetGainIndex(260);
  const ImportPlan plan = PlanFilterImport("Filter 1: ON PK Fc 440 Hz Gain 2.5 dB Q 4\n", out);
  EXPECT_TRUE(plan.toParametric);
  ASSERT_TRUE(ApplyFilterImport(plan, out, false));
  EXPECT_EQ(out.EqMode(), 0);
  EXPECT_EQ(out.Filter(0).GraphicMode(), 0);
  const auto bands = ActiveBands(out);
  ASSERT_EQ(bands.size(), 1U);
  EXPECT_EQ(bands[0].gainIndex, 225);
  EXPECT_EQ(out.Filter(20).Frequency(), kOutputBandFrequencies[20]);
}

}  // namespace
}  // namespace vantor::testing
