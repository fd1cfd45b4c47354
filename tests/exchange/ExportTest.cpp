// Export of an output's filters: each format's layout, read back by the format's own rules,
// and the same text under a German locale.

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <sstream>

#include "exchange/BlockYaml.h"
#include "exchange/ExchangeRig.h"
#include "exchange/FilterExport.h"
#include "exchange/GermanLocale.h"

namespace vantor::testing {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

// The lines both formats give a filter: "Filter", a number, a colon.
std::vector<std::string> FilterLines(const std::string& text) {
  static const std::regex filter(R"(Filter +[0-9]+:.*)");
  std::vector<std::string> out;
  for (const auto& l : Lines(text)) {
    if (std::regex_match(l, filter)) out.push_back(l);
  }
  return out;
}

class Export : public ::testing::Test {
 protected:
  OfflineProgram program;
  CKTV_OutData& out = ShapeOutput(program.model, 2);
};

TEST_F(Export, RewFilterSettingsLinesFollowTheFileLayout) {
  const ExportResult r = ExportFilters(out, ExchangeFormat::kRew);
  const auto lines = Lines(r.text);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "Filter Settings file");
  const std::regex line(
      R"(Filter [ 1-9][0-9]: ON  (PK|LS 6dB|LS 12dB|HS 6dB|HS 12dB|HPQ|LPQ)  Fc  [0-9]+(\.[0-9])? Hz)"
      R"((  Gain  -?[0-9]+\.[0-9] dB)?(  Q  [0-9]+\.[0-9]{3})?)");
  const auto filters = FilterLines(r.text);
  for (const auto& l : filters) EXPECT_TRUE(std::regex_match(l, line)) << l;
  // Everything else is the header: title, notes, the equaliser the settings are for.
  EXPECT_EQ(lines.size(), filters.size() + 5);
  // Two sections of each crossover, four bands; the flat and bypassed bands left out.
  ASSERT_EQ(filters.size(), 8U);
  EXPECT_EQ(r.filters, 8);
  EXPECT_EQ(filters[0], "Filter  1: ON  HPQ  Fc  80 Hz  Q  0.710");
  EXPECT_EQ(filters[1], "Filter  2: ON  HPQ  Fc  80 Hz  Q  0.710");
  EXPECT_EQ(filters[2], "Filter  3: ON  LPQ  Fc  5000 Hz  Q  0.540");
  EXPECT_EQ(filters[3], "Filter  4: ON  LPQ  Fc  5000 Hz  Q  1.310");
  EXPECT_EQ(filters[4], "Filter  5: ON  PK  Fc  63 Hz  Gain  4.5 dB  Q  1.400");
  EXPECT_EQ(filters[5], "Filter  6: ON  LS 12dB  Fc  150 Hz  Gain  -3.0 dB");
  EXPECT_EQ(filters[6], "Filter  7: ON  HS 6dB  Fc  6300 Hz  Gain  2.0 dB");
  EXPECT_EQ(filters[7], "Filter  8: ON  PK  Fc  10000 Hz  Gain  -6.5 dB  Q  16.027");
  EXPECT_TRUE(r.notes.empty());
}

TEST_F(Export, EqualizerApoLinesNameShelvesWithAQAndCrossoversAsSections) {
  out.LowPass().SetSlope(1, true);  // 18 dB/Oct: a first-order section and Q 1.0
  const ExportResult r = ExportFilters(out, ExchangeFormat::kEqualizerApo);
  const std::regex line(
      R"(Filter [0-9]+: ON (PK|LSC|HSC|HPQ|LPQ) Fc [0-9]+(\.[0-9])? Hz( Gain -?[0-9]+\.[0-9] dB)? Q [0-9]+\.[0-9]{3})");
  for (const auto& l : Lines(r.text)) {
    if (l.starts_with("#")) continue;
    EXPECT_TRUE(std::regex_match(l, line)) << l;
  }
  const auto filters = FilterLines(r.text);
  ASSERT_EQ(filters.size(), 7U);
  EXPECT_EQ(filters[2], "Filter 3: ON LPQ Fc 5000 Hz Q 1.000");
  EXPECT_EQ(filters[3], "Filter 4: ON PK Fc 63 Hz Gain 4.5 dB Q 1.400");
  // A 12 dB/Oct shelf (S 1.3) at -3 dB, a 6 dB/Oct one (S 0.5) at +2 dB.
  EXPECT_EQ(filters[4], "Filter 5: ON LSC Fc 150 Hz Gain -3.0 dB Q 0.808");
  EXPECT_EQ(filters[5], "Filter 6: ON HSC Fc 6300 Hz Gain 2.0 dB Q 0.499");
  // The first-order section has no line of its own, and the caller is told.
  EXPECT_NE(r.text.find("# first-order low-pass section at 5000 Hz left out"), std::string::npos);
  ASSERT_EQ(r.notes.size(), 1U);
  EXPECT_EQ(r.notes[0], TextId::ExportFirstOrderLeftOut);
}

TEST_F(Export, CamillaDspIsBlockYamlWithCombosSectionsAndOnePipelineStep) {
  out.LowPass().SetFamily(1, true);  // Bessel: no combo, its sections
  const ExportResult r = ExportFilters(out, ExchangeFormat::kCamillaDsp);
  const auto doc = BlockYaml::Parse(r.text);
  ASSERT_TRUE(doc.has_value()) << r.text;
  const YamlNode* filters = doc->Get("filters");
  ASSERT_NE(filters, nullptr);
  ASSERT_EQ(filters->kind, YamlNode::Kind::kMap);

  const YamlNode* hp = filters->Get("ch3_highpass");
  ASSERT_NE(hp, nullptr);
  EXPECT_EQ(hp->Get("type")->scalar, "BiquadCombo");
  const YamlNode* hpp = hp->Get("parameters");
  EXPECT_EQ(hpp->Get("type")->scalar, "LinkwitzRileyHighpass");
  EXPECT_EQ(hpp->Get("freq")->scalar, "80");
  EXPECT_EQ(hpp->Get("order")->scalar, "4");

  // Bessel 24 dB/Oct low-pass: two sections at their own frequencies.
  for (const char* name : {"ch3_lowpass_1", "ch3_lowpass_2"}) {
    const YamlNode* s = filters->Get(name);
    ASSERT_NE(s, nullptr) << name;
    EXPECT_EQ(s->Get("type")->scalar, "Biquad");
    EXPECT_EQ(s->Get("parameters")->Get("type")->scalar, "Lowpass");
    EXPECT_NE(s->Get("parameters")->Get("q"), nullptr);
  }
  const YamlNode* shelf = filters->Get("ch3_band_02");
  ASSERT_NE(shelf, nullptr);
  EXPECT_EQ(shelf->Get("parameters")->Get("type")->scalar, "Lowshelf");
  EXPECT_EQ(shelf->Get("parameters")->Get("slope")->scalar, "12");
  EXPECT_EQ(shelf->Get("parameters")->Get("gain")->scalar, "-3.0");
  const YamlNode* peak = filters->Get("ch3_band_01");
  EXPECT_EQ(peak->Get("parameters")->Get("type")->scalar, "Peaking");
  EXPECT_EQ(peak->Get("parameters")->Get("q")->scalar, "1.400");

  const YamlNode* pipeline = doc->Get("pipeline");
  ASSERT_NE(pipeline, nullptr);
  ASSERT_EQ(pipeline->list.size(), 1U);
  const YamlNode& step = pipeline->list[0];
  EXPECT_EQ(step.Get("type")->scalar, "Filter");
  ASSERT_EQ(step.Get("channels")->list.size(), 1U);
  EXPECT_EQ(step.Get("channels")->list[0].scalar, "2");
  // Every filter once, in the file's order, and nothing the filters do not define.
  const auto& names = step.Get("names")->list;
  EXPECT_EQ(names.size(), filters->map.size());
  EXPECT_EQ(static_cast<int>(names.size()), r.filters);
  for (const auto& n : names) EXPECT_NE(filters->Get(n.scalar), nullptr) << n.scalar;
  EXPECT_EQ(names.front().scalar, "ch3_highpass");
}

TEST_F(Export, AnOutputWithNothingToExportGivesValidEmptyFiles) {
  OfflineProgram fresh;
  const CKTV_OutData& plain = fresh.model.Output(0);
  for (ExchangeFormat f :
       {ExchangeFormat::kRew, ExchangeFormat::kEqualizerApo, ExchangeFormat::kCamillaDsp}) {
    const ExportResult r = ExportFilters(plain, f);
    EXPECT_EQ(r.filters, 0);
    EXPECT_TRUE(FilterLines(r.text).empty());
  }
  const auto doc = BlockYaml::Parse(ExportFilters(plain, ExchangeFormat::kCamillaDsp).text);
  ASSERT_TRUE(doc.has_value());
  EXPECT_TRUE(doc->Get("filters")->map.empty());
  EXPECT_TRUE(doc->Get("pipeline")->list[0].Get("names")->list.empty());
}

TEST_F(Export, TheTextIsTheSameUnderAGermanLocale) {
  std::vector<std::string> plain;
  for (ExchangeFormat f :
       {ExchangeFormat::kRew, ExchangeFormat::kEqualizerApo, ExchangeFormat::kCamillaDsp}) {
    plain.push_back(ExportFilters(out, f).text);
  }
  GermanLocale german;
  // The locale really writes a decimal comma, so a formatter that asked it would show.
  std::ostringstream stream;
  stream << 1.5;
  EXPECT_EQ(stream.str(), "1,5");
  if (german.Real()) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", 1.5);
    EXPECT_STREQ(buf, "1,5");
  }
  std::size_t i = 0;
  for (ExchangeFormat f :
       {ExchangeFormat::kRew, ExchangeFormat::kEqualizerApo, ExchangeFormat::kCamillaDsp}) {
    EXPECT_EQ(ExportFilters(out, f).text, plain[i++]);
  }
  EXPECT_TRUE(BlockYaml::Parse(plain[2]).has_value());
}

}  // namespace
}  // namespace vantor::testing
