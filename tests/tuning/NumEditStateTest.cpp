// The numeric edit and spin states without a widget: commit and redraw, the pending text
// read by GetValue, stepping along the grid, the range check and the held button.

#include <gtest/gtest.h>

#include "tuning/NumEditState.h"
#include "tuning/NumSpinState.h"

namespace vantor {
namespace {

TEST(NumEdit, CommitStoresRedrawsAndNotifies) {
  NumEditState e;
  e.SetMode(kEditDelayMs);
  e.SetRange(0, 2400);
  EXPECT_EQ(e.Value(), 0);
  EXPECT_EQ(e.Text(), "0.000");
  EXPECT_FALSE(e.SetValue(2401));
  EXPECT_TRUE(e.SetValue(480));
  EXPECT_EQ(e.Text(), "10.000");
  // Not dirty: nothing happens.
  EXPECT_FALSE(e.Commit().notify);
  e.SetText("60");
  const auto out = e.Commit();
  EXPECT_TRUE(out.notify);
  EXPECT_EQ(e.Value(), 2400);
  EXPECT_EQ(e.Text(), "50.000");
  EXPECT_TRUE(e.Dirty());  // until the next GetValue
  EXPECT_EQ(e.GetValue(), 2400);
  EXPECT_FALSE(e.Dirty());
  // Unreadable text keeps the code and puts its text back.
  e.SetText("abc");
  const auto bad = e.Commit();
  EXPECT_TRUE(bad.unreadable);
  EXPECT_EQ(e.Value(), 2400);
  EXPECT_EQ(e.Text(), "50.000");
}

TEST(NumEdit, FrequencyModesAlwaysTakeTheText) {
  NumEditState e;
  e.SetMode(kEditCrossoverFrequency);
  e.SetRange(20, 20000);
  e.SetValue(100);
  e.SetText("250Hz");
  e.SetDirty(false);
  EXPECT_FALSE(e.Commit().notify);
  EXPECT_EQ(e.Value(), 250);
  EXPECT_EQ(e.Text(), "250Hz");
}

TEST(NumEdit, GetValueReadsPendingTextWithoutClamping) {
  NumEditState e;
  e.SetMode(kEditGainDb);
  e.SetScale(1.0);
  e.SetOffset(60.0);
  e.SetRange(0, 60);
  e.SetValue(50);
  e.SetText("3");  // above 0 dB: out of range
  EXPECT_EQ(e.GetValue(), 50);
  e.SetText("-20");
  EXPECT_EQ(e.GetValue(), 40);
}

struct Spin {
  NumEditState edit;
  NumSpinState spin;
  explicit Spin(int mode, int lo, int hi) {
    edit.SetMode(mode);
    spin.SetBuddy(&edit);
    spin.SetRange32(lo, hi);
  }
};

TEST(NumSpin, FrequencyStepsFollowTheGrid) {
  Spin s(kEditEqFrequency, 20, 20000);
  ASSERT_TRUE(s.spin.SetValue(1000));
  EXPECT_TRUE(s.spin.Step(1));
  EXPECT_EQ(s.edit.Value(), 1030);
  ASSERT_TRUE(s.spin.SetValue(1000));
  EXPECT_TRUE(s.spin.Step(-1));
  EXPECT_EQ(s.edit.Value(), 972);
  // At the ends the range holds.
  ASSERT_TRUE(s.spin.SetValue(20000));
  EXPECT_FALSE(s.spin.Step(1));
  EXPECT_EQ(s.edit.Value(), 20000);
  ASSERT_TRUE(s.spin.SetValue(20));
  s.spin.Step(-1);
  EXPECT_EQ(s.edit.Value(), 20);
  ASSERT_TRUE(s.spin.SetValue(21));
  s.spin.Step(-1);
  EXPECT_EQ(s.edit.Value(), 20);
}

TEST(NumSpin, OtherModesStepByTheDelta) {
  Spin s(kEditGainDb, 0, 60);
  s.edit.SetScale(1.0);
  s.edit.SetOffset(60.0);
  ASSERT_TRUE(s.spin.SetValue(30));
  s.spin.Step(1);
  EXPECT_EQ(s.edit.Value(), 31);
  EXPECT_EQ(s.edit.Text(), "-29dB");
  // A typed value is read first.
  s.edit.SetText("-10");
  s.spin.Step(-1);
  EXPECT_EQ(s.edit.Value(), 49);
}

TEST(NumSpin, OutOfRangeValueIsRefusedWithDataErr) {
  Spin s(kEditDelayMs, 0, 2400);
  ASSERT_TRUE(s.spin.SetValue(100));
  EXPECT_FALSE(s.spin.SetValue(2401));
  EXPECT_EQ(s.edit.Value(), 100);
  EXPECT_EQ(NumSpinState::DataErrorMessage(2584, false), "2584:Data err");
  EXPECT_EQ(NumSpinState::DataErrorMessage(2584, true), "2584:数据错误");
}

TEST(NumSpin, HeldButtonReportsOnTicksAndRelease) {
  Spin s(kEditMixerLevel, 0, 100);
  s.edit.SetScale(1.0);
  s.spin.SetValue(10);
  s.spin.Press();
  EXPECT_FALSE(s.spin.Step(1));
  EXPECT_FALSE(s.spin.Step(1));
  EXPECT_TRUE(s.spin.Tick());
  EXPECT_FALSE(s.spin.Tick());  // nothing moved since
  s.spin.Step(1);
  EXPECT_TRUE(s.spin.Release());
  EXPECT_EQ(s.edit.Value(), 13);
  // Not held: every step reports at once; a step that cannot move reports nothing.
  EXPECT_TRUE(s.spin.Step(1));
  s.spin.SetValue(100);
  EXPECT_FALSE(s.spin.Step(1));
}

}  // namespace
}  // namespace vantor
