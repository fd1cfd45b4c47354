// An import into an output of the window reaches its linked outputs, as band and crossover
// edits do, each under its own crossover limits; a refused line stops it everywhere unless
// the rest is accepted.

#include <gtest/gtest.h>

#include "exchange/FilterImport.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"
#include "tuning/LinkedFilterImport.h"

namespace vantor {
namespace {

constexpr const char* kFile =
    "Filter Settings file\n"
    "\n"
    "Filter  1: ON  PK  Fc  500 Hz  Gain  -4.5 dB  Q  2.000\n"
    "Filter  2: ON  PK  Fc  125 Hz  Gain  3.0 dB  Q  1.000\n"
    "Filter  3: ON  HPQ Fc  250 Hz  Q  0.707\n";

struct Program {
  Program() { model.LoadOutputs(); }
  ProgramState state;
  CKTV_Data model{state};
};

TEST(LinkedFilterImport, LinkedOutputsTakeTheImportAndOthersDoNot) {
  Program p;
  p.model.Links().SetGroup(1, 0);
  const ImportPlan plan = PlanFilterImport(kFile, p.model.Output(0));
  ASSERT_TRUE(plan.Complete());
  ASSERT_TRUE(ApplyImportToLinkGroup(p.model, 0, kFile, plan, false));
  for (int c : {0, 1}) {
    CKTV_OutData& out = p.model.Output(c);
    // Sorted by frequency: 125 Hz first.
    EXPECT_EQ(out.Filter(0).Frequency(), 125) << c;
    EXPECT_EQ(out.Filter(0).GainIndex(), 230) << c;
    EXPECT_EQ(out.Filter(1).GainIndex(), 155) << c;
    EXPECT_EQ(out.HighPass().Frequency(), 250) << c;
  }
  EXPECT_EQ(p.model.Output(2).Filter(0).GainIndex(), kGainIndexFlat);
  EXPECT_NE(p.model.Output(2).HighPass().Frequency(), 250);
}

TEST(LinkedFilterImport, EachOutputKeepsItsOwnCrossoverLimit) {
  Program p;
  // Output 6 (index 5) keeps its high-pass at or below 100 Hz; linked with output 5, it
  // takes the bands but not the 250 Hz high-pass.
  p.model.Links().SetGroup(5, 4);
  const int highPassBefore = p.model.Output(5).HighPass().Frequency();
  const ImportPlan plan = PlanFilterImport(kFile, p.model.Output(4));
  ASSERT_TRUE(ApplyImportToLinkGroup(p.model, 4, kFile, plan, false));
  EXPECT_EQ(p.model.Output(4).HighPass().Frequency(), 250);
  EXPECT_EQ(p.model.Output(5).Filter(0).Frequency(), 125);
  EXPECT_EQ(p.model.Output(5).HighPass().Frequency(), highPassBefore);
}

TEST(LinkedFilterImport, ARefusedLineChangesNoOutputUnlessTheRestIsAccepted) {
  Program p;
  p.model.Links().SetGroup(3, 2);
  const std::string file = std::string(kFile) + "Filter  4: ON  XYZ Fc  500 Hz\n";
  const ImportPlan plan = PlanFilterImport(file, p.model.Output(2));
  ASSERT_EQ(plan.RefusedLines(), 1);
  EXPECT_FALSE(ApplyImportToLinkGroup(p.model, 2, file, plan, false));
  for (int c : {2, 3}) EXPECT_EQ(p.model.Output(c).Filter(0).GainIndex(), kGainIndexFlat) << c;

  EXPECT_TRUE(ApplyImportToLinkGroup(p.model, 2, file, plan, true));
  for (int c : {2, 3}) EXPECT_EQ(p.model.Output(c).Filter(0).Frequency(), 125) << c;
}

}  // namespace
}  // namespace vantor
