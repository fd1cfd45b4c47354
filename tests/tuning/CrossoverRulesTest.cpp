// The crossover panel's rules without a window: the family's slope entries and the slope
// indexes they stand for, and the edits given to an output and its link group.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/ProgramState.h"
#include "tuning/CrossoverEditor.h"
#include "tuning/CrossoverLists.h"

namespace vantor {
namespace {

TEST(CrossoverLists, EntriesStandForTheirSlopeIndexes) {
  EXPECT_EQ(SlopeEntries(kLinkwitzRiley)[2], "24dB/Oct");
  EXPECT_EQ(SlopeEntries(kLinkwitzRiley)[3], "36dB/Oct");
  EXPECT_EQ(SlopeEntries(kBessel)[2], "18dB/Oct");
  EXPECT_EQ(SlopeEntries(kButterworth)[4], "OFF");
  const int linkwitz[] = {0, 1, 3, 4, 7};
  const int others[] = {0, 1, 2, 3, 7};
  for (int e = 0; e < kSlopeEntryCount; ++e) {
    EXPECT_EQ(SlopeOfEntry(kLinkwitzRiley, e), linkwitz[e]) << e;
    EXPECT_EQ(SlopeOfEntry(kBessel, e), others[e]) << e;
    EXPECT_EQ(SlopeOfEntry(kButterworth, e), others[e]) << e;
    // Every entry selects itself again.
    for (int family = 0; family < kCrossoverFamilyCount; ++family) {
      EXPECT_EQ(EntryOfSlope(family, SlopeOfEntry(family, e)), e) << family << " " << e;
    }
  }
  EXPECT_EQ(SlopeOfEntry(kBessel, 5), -1);
  EXPECT_EQ(SlopeOfEntry(kBessel, -1), -1);
}

TEST(CrossoverLists, SlopesWithoutAnEntryOfTheirOwn) {
  // Link_Ril has no 18 dB/Oct: slope 2 shows as 12 dB/Oct.
  EXPECT_EQ(EntryOfSlope(kLinkwitzRiley, 2), 1);
  // A Link_Ril at slope 4 switched to Bessel still cuts: it shows the steepest entry, not
  // "OFF"; so do the slopes no list offers, as a file may hold them.
  EXPECT_EQ(EntryOfSlope(kBessel, 4), 3);
  for (int family = 0; family < kCrossoverFamilyCount; ++family) {
    EXPECT_EQ(EntryOfSlope(family, 5), 3) << family;
    EXPECT_EQ(EntryOfSlope(family, 6), 3) << family;
    EXPECT_EQ(EntryOfSlope(family, kSlopeOff), 4) << family;
    EXPECT_EQ(EntryOfSlope(family, 8), -1) << family;
    EXPECT_EQ(EntryOfSlope(family, -1), -1) << family;
  }
  EXPECT_EQ(FamilyText(kBessel), TextId::FamilyBessel);
}

class CrossoverEditorTest : public ::testing::Test {
 protected:
  CrossoverEditorTest() {
    data.LoadOutputs();
    state.liveSync = true;
  }

  CFilter& Hp(int channel) { return data.Output(channel).HighPass(); }
  CFilter& Lp(int channel) { return data.Output(channel).LowPass(); }

  ProgramState state;
  CKTV_Data data{state};
  CrossoverEditor editor{data};
};

TEST_F(CrossoverEditorTest, OffStoresSevenForEveryFamilyAndFlattensTheCurve) {
  Hp(0).SetFrequency(500, false);
  for (int family = 0; family < kCrossoverFamilyCount; ++family) {
    editor.ChooseFamily(0, CrossoverSide::kHighPass, family);
    editor.ChooseSlopeEntry(0, CrossoverSide::kHighPass, 4);
    EXPECT_EQ(Hp(0).Slope(), kSlopeOff) << family;
    const auto& db = Hp(0).ResponseDb();
    EXPECT_TRUE(std::all_of(db.begin(), db.end(), [](double v) { return v == 0.0; })) << family;
  }
  // With a real slope the same filter cuts the bass.
  editor.ChooseSlopeEntry(0, CrossoverSide::kHighPass, 1);
  EXPECT_LT(Hp(0).ResponseDb().front(), -20.0);
}

TEST_F(CrossoverEditorTest, TheHighPassNeverRisesAboveTheLowPass) {
  Lp(3).SetFrequency(2000, false);
  EXPECT_EQ(editor.SetFrequency(3, CrossoverSide::kHighPass, 5000, 2000), 2000);
  EXPECT_EQ(Hp(3).Frequency(), 2000);
  EXPECT_EQ(editor.SetFrequency(3, CrossoverSide::kLowPass, 800, 2000), 2000);
  EXPECT_EQ(Lp(3).Frequency(), 2000);
  EXPECT_EQ(editor.SetFrequency(3, CrossoverSide::kHighPass, 120, 2000), 120);
  EXPECT_EQ(Hp(3).Frequency(), 120);
  // Outside the audio range the field's limits hold.
  EXPECT_EQ(editor.SetFrequency(3, CrossoverSide::kLowPass, 30000, 120), 20000);
}

TEST_F(CrossoverEditorTest, AnUnchangedFrequencyMarksNothing) {
  editor.SetFrequency(6, CrossoverSide::kHighPass, 90, 20000);
  Hp(6).SetPending(0);
  EXPECT_EQ(editor.SetFrequency(6, CrossoverSide::kHighPass, 90, 20000), 90);
  EXPECT_EQ(Hp(6).Pending(), 0);
}

TEST_F(CrossoverEditorTest, EditsReachTheWholeLinkGroupOnly) {
  data.Links().SetGroup(1, 0);
  editor.ChooseFamily(0, CrossoverSide::kLowPass, kBessel);
  EXPECT_EQ(Lp(1).Family(), kBessel);
  EXPECT_NE(Lp(2).Family(), kBessel);
  EXPECT_NE(Hp(1).Family(), kBessel);  // the same kind of filter only
  editor.ChooseSlopeEntry(1, CrossoverSide::kLowPass, 2);
  EXPECT_EQ(Lp(0).Slope(), 2);
  editor.SetFrequency(0, CrossoverSide::kHighPass, 250, 20000);
  EXPECT_EQ(Hp(1).Frequency(), 250);
  EXPECT_EQ(Hp(2).Frequency(), 20);

  // A crossover dragged on the graph: the partners take its frequency.
  Hp(0).SetFrequency(400, true);
  EXPECT_EQ(editor.TakeFromGraph(0, CrossoverSide::kHighPass), 400);
  EXPECT_EQ(Hp(1).Frequency(), 400);
  EXPECT_EQ(Hp(2).Frequency(), 20);
  EXPECT_EQ(GraphElementOf(CrossoverSide::kHighPass), 31);
  EXPECT_EQ(GraphElementOf(CrossoverSide::kLowPass), 32);
}

TEST_F(CrossoverEditorTest, ChoicesOutsideTheListsChangeNothing) {
  const int family = Hp(5).Family();
  const int slope = Hp(5).Slope();
  editor.ChooseFamily(5, CrossoverSide::kHighPass, 3);
  editor.ChooseFamily(5, CrossoverSide::kHighPass, -1);
  editor.ChooseSlopeEntry(5, CrossoverSide::kHighPass, 5);
  EXPECT_EQ(Hp(5).Family(), family);
  EXPECT_EQ(Hp(5).Slope(), slope);
}

}  // namespace
}  // namespace vantor
