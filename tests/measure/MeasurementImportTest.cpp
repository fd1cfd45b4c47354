// Measurement import: the text exports installers bring (REW-style text, .frd, CSV, comma
// decimals), the rows that are refused with their line, resampling onto the grid and the
// level normalisation.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "CommaLocale.h"
#include "StoredGridIndex.h"
#include "base/NumberFormat.h"
#include "measure/DecimalField.h"
#include "measure/Measurement.h"

namespace vantor {
namespace {

using testing::GridIndexOfStored;

using testing::CommaLocale;

// Rows at 10·2^k Hz (10 Hz .. 20480 Hz), levels alternating 0 and 6 dB.
std::string Zigzag(std::string_view separator, bool commaDecimal = false) {
  std::string text;
  for (int k = 0; k < 12; ++k) {
    std::string hz = std::to_string(10 << k) + ".0";
    std::string db = k % 2 == 0 ? "0.0" : "6.0";
    if (commaDecimal) {
      hz[hz.find('.')] = ',';
      db[db.find('.')] = ',';
    }
    text += hz + std::string(separator) + db + "\n";
  }
  return text;
}

Measurement Import(std::string_view text) {
  MeasureError error;
  auto m = MeasurementFromText(text, error);
  EXPECT_TRUE(m.has_value()) << MeasureErrorText(error, false);
  return m.value_or(Measurement{});
}

MeasureError Refusal(std::string_view text) {
  MeasureError error;
  EXPECT_FALSE(MeasurementFromText(text, error).has_value());
  return error;
}

TEST(DecimalField, TakesWholeFiniteNumbersOnly) {
  EXPECT_EQ(ParseDecimalField("1000"), 1000.0);
  EXPECT_EQ(ParseDecimalField("-3.25"), -3.25);
  EXPECT_EQ(ParseDecimalField("+.5"), 0.5);
  EXPECT_EQ(ParseDecimalField("1.5e3"), 1500.0);
  EXPECT_EQ(ParseDecimalField("78,25", true), 78.25);
  for (const char* bad :
       {"", "-", "nan", "NaN", "inf", "-inf", "1e999", "12abc", "1.2.3", "0x10", "1,5", " 1"}) {
    EXPECT_FALSE(ParseDecimalField(bad).has_value()) << bad;
  }
  EXPECT_FALSE(ParseDecimalField("1.5", true).has_value());  // a '.' in a comma-decimal file
}

TEST(MeasurementImport, RewTextWithCommentHeaderAndPhase) {
  const std::string header =
      "* Measurement data measured by a measurement program\n"
      "* Source: front left, 1/48 octave smoothing\n"
      "* Freq(Hz) SPL(dB) Phase(degrees)\n";
  const std::string rows = Zigzag(" ");
  std::string phased;
  for (char c : rows) {
    if (c == '\n') phased += " -123.4";
    phased += c;
  }
  EXPECT_EQ(Import(header + phased).db, Import(rows).db);
}

TEST(MeasurementImport, SeparatorsAndDecimalMarksGiveTheSameCurve) {
  const Measurement spaces = Import(Zigzag(" "));
  EXPECT_EQ(Import(Zigzag("\t")).db, spaces.db);
  EXPECT_EQ(Import(Zigzag(",")).db, spaces.db);
  EXPECT_EQ(Import(Zigzag(", ")).db, spaces.db);
  EXPECT_EQ(Import(Zigzag(";")).db, spaces.db);
  EXPECT_EQ(Import("Frequency;Level\n" + Zigzag(";", true)).db, spaces.db);
  EXPECT_EQ(Import(Zigzag("\t", true)).db, spaces.db);
  EXPECT_EQ(Import("Frequency,SPL,Phase\r\n" + Zigzag(",")).db, spaces.db);
  EXPECT_EQ(Import("\xEF\xBB\xBF" + Zigzag(" ")).db, spaces.db);
}

TEST(MeasurementImport, CommasBetweenWholeNumbersSeparate) {
  // No '.' and nothing else separating: "100,85" is 100 Hz at 85 dB, not 100.85.
  std::string text;
  for (int hz = 100; hz <= 1000; hz += 100) text += std::to_string(hz) + "," + "85\n";
  const Measurement m = Import(text);
  EXPECT_EQ(m.firstIndex, static_cast<int>(GridIndexOfStored(102.0)));
  EXPECT_EQ(m.lastIndex, static_cast<int>(GridIndexOfStored(1000.0)));
  EXPECT_NEAR(m.db[GridIndexOfStored(500.0)], 0.0, 1e-12);  // flat at 85 dB, normalised
}

TEST(MeasurementImport, ResamplesLinearlyInLogFrequency) {
  const Measurement m = Import(Zigzag(" "));
  // 1000 Hz lies between 640 Hz (0 dB) and 1280 Hz (6 dB): 6·log2(1000/640) = 3.863137 dB.
  // 2000 Hz lies between 1280 Hz (6 dB) and 2560 Hz (0 dB): 6 − 6·log2(2000/1280) = 2.136863.
  // 160 Hz is a row of its own (0 dB). Normalisation moves all three alike.
  const double at1000 = m.db[GridIndexOfStored(1000.0)];
  EXPECT_NEAR(at1000 - m.db[GridIndexOfStored(2000.0)], 3.863137 - 2.136863, 1e-6);
  // 5000 Hz between 2560 Hz (0 dB) and 5120 Hz (6 dB); 20 kHz between 10240 and 20480 Hz.
  EXPECT_NEAR(at1000 - m.db[GridIndexOfStored(5000.0)], 3.863137 - 6.0 * std::log2(5000.0 / 2560.0),
              1e-6);
  EXPECT_NEAR(at1000 - m.db[GridIndexOfStored(20000.0)],
              3.863137 - 6.0 * std::log2(20000 / 10240.0), 1e-6);
}

TEST(MeasurementImport, NormalisesToTheMeanFrom200HzTo2kHzAndHoldsTheEnds) {
  // Level rising 1 dB an octave, rows every quarter octave from 100 Hz to 12.8 kHz: on the
  // grid it is log2(f/100) + 40.
  std::string text;
  for (int k = 0; k <= 28; ++k) {
    const double f = 100.0 * std::pow(2.0, k / 4.0);
    text += FormatFixed(f, 6) + " " + FormatFixed(k / 4.0 + 40.0, 2) + "\n";
  }
  const Measurement m = Import(text);
  double mean = 0.0;
  int count = 0;
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    if (kResponseGrid[i] >= 200.0 && kResponseGrid[i] <= 2000.0) {
      mean += std::log2(kResponseGrid[i] / 100.0);
      ++count;
    }
  }
  mean /= count;
  EXPECT_NEAR(m.db[GridIndexOfStored(1000.0)], std::log2(10.0) - mean, 1e-4);
  EXPECT_NEAR(m.db[GridIndexOfStored(3084.0)], std::log2(30.84) - mean, 1e-4);
  // Covered from the first grid point at or above 100 Hz to the last at or below 12.8 kHz.
  EXPECT_EQ(m.firstIndex, static_cast<int>(GridIndexOfStored(102.0)));
  EXPECT_EQ(m.lastIndex, static_cast<int>(GridIndexOfStored(12699.0)));
  EXPECT_FALSE(m.Covers(m.firstIndex - 1));
  EXPECT_TRUE(m.Covers(m.lastIndex));
  // Beyond them the end levels are held.
  EXPECT_NEAR(m.db[0], -mean, 1e-4);
  EXPECT_NEAR(m.db[kGridPoints - 1], 7.0 - mean, 1e-4);
}

TEST(MeasurementImport, TweeterMeasuredAbove2kHzNormalisesOverWhatItCovers) {
  std::string text;
  for (int k = 0; k < 12; ++k) text += std::to_string(3000 + 1000 * k) + " 90\n";
  const Measurement m = Import(text);
  EXPECT_NEAR(m.db[GridIndexOfStored(5000.0)], 0.0, 1e-12);
}

TEST(MeasurementImport, ShiftMovesTheWholeCurve) {
  Measurement m = Import(Zigzag(" "));
  m.shiftDb = -4.5;
  const Response shifted = m.Shifted();
  for (std::size_t i = 0; i < kGridPoints; ++i) EXPECT_DOUBLE_EQ(shifted[i], m.db[i] - 4.5);
}

TEST(MeasurementImport, RowsOutsideTenHzTo24kHzAreIgnored) {
  std::string text = "5 100\n8 -100\n";
  text += Zigzag(" ");
  text += "24001 100\n30000 -50\n";
  EXPECT_EQ(Import(text).db, Import(Zigzag(" ")).db);
  // Eleven rows in all but only nine usable ones.
  const MeasureError e =
      Refusal("5 0\n20 0\n40 0\n80 0\n160 0\n320 0\n640 0\n1280 0\n2560 0\n5120 0\n30000 0\n");
  EXPECT_EQ(e.kind, MeasureErrorKind::kTooFewRows);
  EXPECT_EQ(Refusal("").kind, MeasureErrorKind::kTooFewRows);
  EXPECT_EQ(Refusal("* only a comment\n").kind, MeasureErrorKind::kTooFewRows);
}

TEST(MeasurementImport, BadRowsAreRefusedWithTheirLine) {
  const std::string good = Zigzag(" ");  // rows on lines 1..12
  struct Case {
    std::string text;
    MeasureErrorKind kind;
    int line;
  };
  const Case cases[] = {
      // Falling and repeated frequencies.
      {"* header\n100 1\n200 2\n150 3\n" + good, MeasureErrorKind::kFrequencyNotRising, 4},
      {"100 1\n100 2\n" + good, MeasureErrorKind::kFrequencyNotRising, 2},
      {good + "20000 1\n", MeasureErrorKind::kFrequencyNotRising, 13},
      {"0 1\n" + good, MeasureErrorKind::kFrequencyNotRising, 1},
      // NaN and infinity.
      {"* h\n\n5 nan\n" + good, MeasureErrorKind::kBadNumber, 3},
      {good + "25000 inf\n", MeasureErrorKind::kBadNumber, 13},
      {"5 1e300\n6 -1e300\n" + good, MeasureErrorKind::kBadNumber, 1},
      // Missing or empty fields.
      {"5;;3\n" + good, MeasureErrorKind::kMissingField, 1},
      {"5\n" + good, MeasureErrorKind::kMissingField, 1},
      // A text line in the middle of the rows.
      {"1 0\n2 0\nsomething else\n" + good, MeasureErrorKind::kBadNumber, 3},
      {"1 0\n2 0 x\n3 0abc\n" + good, MeasureErrorKind::kBadNumber, 3},
  };
  for (const Case& c : cases) {
    const MeasureError e = Refusal(c.text);
    EXPECT_EQ(e.kind, c.kind) << c.text;
    EXPECT_EQ(e.line, c.line) << c.text;
  }
  EXPECT_EQ(MeasureErrorText({MeasureErrorKind::kFrequencyNotRising, 4}, false),
            "line 4: frequencies must be above 0 and rise from row to row");
  EXPECT_EQ(MeasureErrorText({MeasureErrorKind::kBadNumber, 12}, true).substr(0, 13), "第 12 行：");
}

TEST(MeasurementImport, EmptyLinesAndCommentsBetweenRowsAreSkipped) {
  std::string spaced;
  for (char c : Zigzag(" ")) {
    spaced += c;
    if (c == '\n') spaced += "\n   \n* note\n";
  }
  EXPECT_EQ(Import(spaced).db, Import(Zigzag(" ")).db);
}

TEST(MeasurementImport, FilesAreReadWithTheirNameAndRefusedWhenMissing) {
  const auto dir = std::filesystem::temp_directory_path() / "vantor-measure-import";
  std::filesystem::create_directories(dir);
  const auto path = dir / "front left.frd";
  {
    std::ofstream out(path);
    out << Zigzag("\t");
  }
  MeasureError error;
  const auto m = LoadMeasurement(path, error);
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(m->source, "front left.frd");
  EXPECT_FALSE(LoadMeasurement(dir / "missing.frd", error).has_value());
  EXPECT_EQ(error.kind, MeasureErrorKind::kFileUnreadable);
  EXPECT_FALSE(LoadMeasurement(dir, error).has_value());
  std::filesystem::remove_all(dir);
}

TEST_F(CommaLocale, ImportIgnoresTheProcessLocale) {
  const Measurement m = Import(Zigzag(" "));
  EXPECT_NEAR(m.db[GridIndexOfStored(1000.0)] - m.db[GridIndexOfStored(2000.0)],
              3.863137 - 2.136863, 1e-6);
  EXPECT_EQ(ParseDecimalField("1.25"), 1.25);
}

}  // namespace
}  // namespace vantor
