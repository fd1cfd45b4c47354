// Value scales and the numeric edits' conversions: formatting per mode, commit with
// clamping, GetValue without it, and independence from the process locale.

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "CommaLocale.h"
#include "dsp/FilterCodes.h"
#include "model/EditConversion.h"
#include "model/ValueScales.h"

namespace vantor {
namespace {

EditScale Edit(int mode, int lo, int hi, double scale = 0.0, double offset = 0.0) {
  EditScale e;
  e.mode = mode;
  e.minimum = lo;
  e.maximum = hi;
  e.scale = scale;
  e.offset = offset;
  return e;
}

const EditScale kDelayMs = Edit(kEditDelayMs, 0, 2400);
const EditScale kDelayCm = Edit(kEditDelayCm, 0, 2400);
const EditScale kDelayInch = Edit(kEditDelayInch, 0, 2400);
const EditScale kAttack = Edit(kEditLimiterAttack, 0, 106);
const EditScale kGain = Edit(kEditGainDb, 0, 60, 1.0, 60.0);
const EditScale kMaster = Edit(kEditGainDb, 0, 66, 1.0, 60.0);
const EditScale kThreshold = Edit(kEditLimiterThreshold, 0, 360, 0.1, 30.0);
const EditScale kEqGain = Edit(kEditEqGain, 0, 400, 0.1, 20.0);
const EditScale kQ = Edit(kEditBandwidthQ, 0, 295);
const EditScale kMixer = Edit(kEditMixerLevel, 0, 100, 1.0);
const EditScale kEqFreq = Edit(kEditEqFrequency, 20, 20000);
const EditScale kXoverFreq = Edit(kEditCrossoverFrequency, 20, 20000);

int Commit(const EditScale& e, std::string_view text) {
  const EditResult r = CommitEditText(e, text);
  EXPECT_TRUE(r.code.has_value()) << text;
  return r.code.value_or(-99999);
}

TEST(Scales, CodesMapToTheirUnits) {
  EXPECT_DOUBLE_EQ(OutputGainDb(0), -60.0);
  EXPECT_DOUBLE_EQ(MasterVolumeDb(66), 6.0);
  EXPECT_DOUBLE_EQ(AuxLevelDb(80), 0.0);
  EXPECT_DOUBLE_EQ(EqGainDb(200), 0.0);
  EXPECT_NEAR(EqGainDb(400), 20.0, 1e-9);
  EXPECT_DOUBLE_EQ(DelayMs(2400), 50.0);
  EXPECT_DOUBLE_EQ(SpeedOfSound(25.0), 346.0);
  EXPECT_NEAR(DelayCm(2400), 1730.0, 1e-9);
  EXPECT_NEAR(DelayInch(2400), 681.09408, 1e-6);
  EXPECT_NEAR(LimiterThresholdDbu(360), 6.0, 1e-9);
  EXPECT_NEAR(LimiterThresholdDbu(0), -30.0, 1e-9);
  EXPECT_NEAR(LimiterAttackMs(0), 0.3, 1e-12);
  EXPECT_NEAR(LimiterAttackMs(6), 0.9, 1e-12);
  EXPECT_DOUBLE_EQ(LimiterAttackMs(7), 1.0);
  EXPECT_DOUBLE_EQ(LimiterAttackMs(106), 100.0);
  EXPECT_EQ(LimiterReleaseFactor(0), 2);
  EXPECT_EQ(LimiterReleaseFactor(5), 32);
  EXPECT_EQ(LimiterReleaseFactor(6), 0);
  EXPECT_DOUBLE_EQ(LimiterReleaseMs(16, 3), 80.0);
  EXPECT_EQ(DelayCodeOfMs(23.12), 1110);
  EXPECT_EQ(DelayCodeOfMs(-1), 0);
  EXPECT_EQ(DelayCodeOfMs(99), 2400);
}

TEST(EditFormat, EachModeShowsItsText) {
  EXPECT_EQ(FormatEditCode(kDelayMs, 240), "5.000");
  EXPECT_EQ(FormatEditCode(kDelayMs, 2400), "50.000");
  EXPECT_EQ(FormatEditCode(kDelayCm, 2400), "1730");
  EXPECT_EQ(FormatEditCode(kDelayInch, 2400), "681");
  EXPECT_EQ(FormatEditCode(kEqFreq, 1000), "1000");
  EXPECT_EQ(FormatEditCode(kXoverFreq, 80), "80Hz");
  EXPECT_EQ(FormatEditCode(kAttack, 4), "0.7ms");
  EXPECT_EQ(FormatEditCode(kAttack, 106), "100ms");
  EXPECT_EQ(FormatEditCode(kEqGain, 200), "0.0");
  EXPECT_EQ(FormatEditCode(kEqGain, 199), "-0.1");
  EXPECT_EQ(FormatEditCode(kQ, 4), "16.052");
  EXPECT_EQ(FormatEditCode(kQ, 295), "0.429");
  EXPECT_EQ(FormatEditCode(kMixer, 55), "55");
  EXPECT_EQ(FormatEditCode(kThreshold, 360), "6.0dBu");
  EXPECT_EQ(FormatEditCode(kThreshold, 0), "-30.0dBu");
  EXPECT_EQ(FormatEditCode(kGain, 0), "-60dB");
  EXPECT_EQ(FormatEditCode(kGain, 60), "0dB");
  EXPECT_EQ(FormatEditCode(kMaster, 66), "6dB");
  EXPECT_EQ(FormatEditCode(Edit(kEditLimiterValue, 0, 9), 7), "7");
  EXPECT_EQ(FormatEditCode(Edit(kEditLimiterOffsetValue, 0, 9, 0, 10), 7), "17");
  EXPECT_EQ(FormatEditCode(Edit(kEditLimiterList, 0, 9), 7), "");
}

TEST(EditCommit, DelayInMilliseconds) {
  EXPECT_EQ(Commit(kDelayMs, "5"), 240);
  EXPECT_EQ(Commit(kDelayMs, "60"), 2400);
  EXPECT_EQ(Commit(kDelayMs, "50"), 2400);
  EXPECT_EQ(Commit(kDelayMs, "-3"), 0);
  EXPECT_EQ(Commit(kDelayMs, "0.01"), 0);   // 0.48 samples
  EXPECT_EQ(Commit(kDelayMs, "0.011"), 1);  // 0.528 samples
}

TEST(EditCommit, DelayAsDistance) {
  EXPECT_EQ(Commit(kDelayCm, "800"), 1110);
  EXPECT_EQ(FormatEditCode(kDelayCm, 1110), "800");
  EXPECT_EQ(Commit(kDelayCm, "5000"), 2400);
  EXPECT_EQ(Commit(kDelayCm, "-1"), 0);
  EXPECT_EQ(Commit(kDelayInch, "681"), 2400);
  EXPECT_EQ(Commit(kDelayInch, "100"), 352);  // 2.54 m, 7.341 ms
  EXPECT_EQ(FormatEditCode(kDelayInch, 352), "100");
  // Another temperature changes the speed of sound.
  EditScale cold = kDelayCm;
  cold.temperature = 50;  // 0 °C: 331 m/s
  EXPECT_EQ(Commit(cold, "331"), 480);
}

TEST(EditCommit, FrequencyModes) {
  EXPECT_EQ(Commit(kEqFreq, "1000"), 1000);
  EXPECT_EQ(Commit(kXoverFreq, "125Hz"), 125);
  EXPECT_EQ(Commit(kXoverFreq, "5"), 20);
  EXPECT_EQ(Commit(kEqFreq, "99999"), 20000);
  EXPECT_FALSE(CommitEditText(kXoverFreq, "OFF").code.has_value());
  EXPECT_FALSE(CommitEditText(kXoverFreq, "OFF").unreadable);
  EXPECT_TRUE(CommitEditText(kXoverFreq, "off").unreadable);  // case-sensitive
}

TEST(EditCommit, LimiterAttack) {
  EXPECT_EQ(Commit(kAttack, "0.7"), 4);
  EXPECT_EQ(FormatEditCode(kAttack, Commit(kAttack, "0.7")), "0.7ms");
  EXPECT_EQ(Commit(kAttack, "250"), 106);
  EXPECT_EQ(FormatEditCode(kAttack, 106), "100ms");
  EXPECT_EQ(Commit(kAttack, "0.1"), 0);
  EXPECT_EQ(Commit(kAttack, "0.9"), 6);
  EXPECT_EQ(Commit(kAttack, "1"), 7);
  EXPECT_EQ(Commit(kAttack, "12.8"), 18);  // fractions of whole milliseconds dropped
  EXPECT_FALSE(CommitEditText(kAttack, "0.95").code.has_value());
  EXPECT_FALSE(CommitEditText(kAttack, "0.95").unreadable);
}

TEST(EditCommit, DecibelModesAndOff) {
  EXPECT_EQ(Commit(kGain, "OFF"), 0);
  EXPECT_EQ(FormatEditCode(kGain, 0), "-60dB");
  EXPECT_EQ(Commit(kGain, "关闭"), 0);
  EXPECT_EQ(Commit(kGain, "5"), 60);
  EXPECT_EQ(FormatEditCode(kGain, 60), "0dB");
  EXPECT_EQ(Commit(kGain, "-12dB"), 48);
  EXPECT_EQ(Commit(kMaster, "5"), 65);
  EXPECT_EQ(Commit(kThreshold, "OFF"), 360);
  EXPECT_EQ(Commit(kThreshold, "-40"), 0);
  EXPECT_EQ(Commit(kThreshold, "2.3dBu"), 323);
  EXPECT_EQ(Commit(kEqGain, "-3.5"), 165);
  EXPECT_EQ(Commit(kEqGain, "25"), 400);
  // Left open by the mode; here it is no number and changes nothing.
  EXPECT_TRUE(CommitEditText(kEqGain, "OFF").unreadable);
  EXPECT_TRUE(CommitEditText(kEqGain, "OFF ").unreadable);
}

TEST(EditCommit, EveryShownTextReadsBackAsItsCode) {
  // A typed copy of what is shown must give the same code, whatever binary rounding the
  // decimal text goes through.
  struct Case {
    EditScale edit;
    int lo;
    int hi;
  };
  for (const Case& c : {Case{kThreshold, 0, 360}, Case{kEqGain, 0, 400}, Case{kGain, 0, 60},
                        Case{kMaster, 0, 66}, Case{kAttack, 0, 106}, Case{kDelayMs, 0, 2400},
                        Case{kMixer, 0, 100}, Case{kEqFreq, 20, 20000}}) {
    for (int code = c.lo; code <= c.hi; ++code) {
      const std::string text = FormatEditCode(c.edit, code);
      ASSERT_EQ(Commit(c.edit, text), code) << "mode " << c.edit.mode << " text " << text;
    }
  }
  // Q is the exception by design: it is shown 0.025 above its table entry, so a retyped Q
  // lands on the first entry at or below the shown value.
  EXPECT_EQ(Commit(kQ, FormatEditCode(kQ, 104)), 102);
}

TEST(EditCommit, QAndMixer) {
  EXPECT_EQ(Commit(kQ, "20"), 4);
  EXPECT_EQ(FormatEditCode(kQ, 4), "16.052");
  EXPECT_EQ(Commit(kQ, "0.1"), 295);
  EXPECT_EQ(Commit(kQ, "1.414"), 95);
  EXPECT_EQ(Commit(kMixer, "150"), 100);
  EXPECT_EQ(Commit(kMixer, "42.9"), 42);
}

TEST(EditCommit, LimiterDialogModes) {
  EXPECT_EQ(Commit(Edit(kEditLimiterValue, 0, 9), "12"), 9);
  EXPECT_EQ(Commit(Edit(kEditLimiterOffsetValue, 0, 9, 0, 10), "15"), 5);
  EXPECT_EQ(Commit(Edit(kEditLimiterOffsetValue, 0, 9, 0, 10), "3"), 0);
  EXPECT_FALSE(CommitEditText(Edit(kEditLimiterList, 0, 9), "3").code.has_value());
}

TEST(EditCommit, TextWithoutANumberChangesNothing) {
  for (const EditScale& e :
       {kDelayMs, kDelayCm, kAttack, kGain, kThreshold, kEqGain, kQ, kMixer, kEqFreq, kXoverFreq}) {
    for (std::string_view bad : {"abc", "", " ", "-", ".", "inf", "nan", "x5"}) {
      const EditResult r = CommitEditText(e, bad);
      EXPECT_FALSE(r.code.has_value()) << "mode " << e.mode << " '" << bad << "'";
      EXPECT_TRUE(r.unreadable) << "mode " << e.mode << " '" << bad << "'";
    }
  }
}

TEST(EditGetValue, OutOfRangeLeavesTheCodeAndOffIsNotANumber) {
  EXPECT_FALSE(ReadEditText(kDelayMs, "60").code.has_value());
  EXPECT_EQ(ReadEditText(kDelayMs, "50").code, 2400);
  EXPECT_FALSE(ReadEditText(kDelayCm, "-5").code.has_value());
  EXPECT_FALSE(ReadEditText(kEqFreq, "5").code.has_value());
  EXPECT_EQ(ReadEditText(kEqFreq, "500").code, 500);
  EXPECT_FALSE(ReadEditText(kXoverFreq, "500").code.has_value());  // converts nothing
  EXPECT_FALSE(ReadEditText(kGain, "OFF").code.has_value());
  EXPECT_FALSE(ReadEditText(kGain, "3").code.has_value());
  EXPECT_EQ(ReadEditText(kGain, "-3").code, 57);
  EXPECT_FALSE(ReadEditText(kAttack, "0.1").code.has_value());
  EXPECT_EQ(ReadEditText(kAttack, "100").code, 106);
  // 101..106 ms are read, but their codes (107..112) lie past the range: the top code.
  for (std::string_view ms : {"101", "104", "105.9", "106"}) {
    EXPECT_EQ(ReadEditText(kAttack, ms).code, 106) << ms;
    EXPECT_EQ(Commit(kAttack, ms), 106) << ms;
  }
  EXPECT_FALSE(ReadEditText(kAttack, "106.5").code.has_value());
  EXPECT_FALSE(ReadEditText(kAttack, "250").code.has_value());
  EXPECT_EQ(ReadEditText(kAttack, "99.9").code, 105);
  EXPECT_FALSE(ReadEditText(kQ, "20").code.has_value());
  EXPECT_EQ(ReadEditText(Edit(kEditLimiterValue, 0, 9), "12").code, 9);  // still clamps
  EXPECT_FALSE(ReadEditText(Edit(kEditLimiterOffsetValue, 0, 9, 0, 10), "15").code.has_value());
}

using testing::CommaLocale;

TEST_F(CommaLocale, ConversionsIgnoreTheProcessLocale) {
  ASSERT_EQ(*std::localeconv()->decimal_point, ',');
  EXPECT_EQ(Commit(kDelayMs, "5.5"), 264);
  EXPECT_EQ(Commit(kThreshold, "2.3"), 323);
  EXPECT_EQ(Commit(kAttack, "0.7"), 4);
  EXPECT_EQ(FormatEditCode(kDelayMs, 264), "5.500");
  EXPECT_EQ(FormatEditCode(kThreshold, 323), "2.3dBu");
  EXPECT_EQ(FormatEditCode(kQ, 4), "16.052");
  EXPECT_EQ(FormatEditCode(kAttack, 4), "0.7ms");
  EXPECT_EQ(ParseLeadingDecimal("1.25"), 1.25);
}

}  // namespace
}  // namespace vantor
