// The delay fields' rules without a window: which speaker types each field serves, which
// output an edit acts on, what an edit changes, what the fields show, and the listening
// position an all-presets file brings.

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "base/LittleEndian.h"
#include "model/ProgramState.h"
#include "tuning/ChannelSelection.h"
#include "tuning/DelayFields.h"
#include "tuning/SpeakerPositions.h"

namespace vantor {
namespace {

using Types = std::array<std::uint8_t, 8>;

TEST(DelayFields, EachFieldServesItsSpeakerTypes) {
  const std::map<int, std::vector<int>> table = {
      {2580, {1, 4}}, {2581, {2}},         {2582, {3, 5, 6}}, {2583, {7, 10}},
      {2584, {8}},    {2585, {9, 11, 12}}, {2586, {13}},      {2588, {14, 15}},
      {2589, {16}},   {2591, {17, 18}},    {2592, {22}},      {2593, {24}},
      {2594, {23}},   {2595, {20}},        {2596, {21}},      {2597, {19}},
  };
  int served = 0;
  for (const auto& [field, types] : table) {
    for (int t : types) {
      EXPECT_EQ(DelayFieldOfType(t), field) << t;
      ++served;
    }
  }
  EXPECT_EQ(served, 24);
  for (int t : {0, 25, 26, 27, -1}) EXPECT_EQ(DelayFieldOfType(t), -1) << t;
  EXPECT_EQ(DelayFields().size(), table.size());
  for (const DelayField& f : DelayFields()) {
    EXPECT_GE(f.id, kDelayFieldFirst);
    EXPECT_LE(f.id, kDelayFieldLast);
  }
}

TEST(DelayFields, AFieldFindsItsOutputAsItsPositionButtonDoes) {
  // Group fields take the first output of the group, single-type fields the last output
  // with the type (two outputs can share one only through a file).
  const Types types = {0, 4, 1, 2, 0, 2, 22, 0};
  EXPECT_EQ(DelayFieldOutput(2580, types), 1);
  EXPECT_EQ(DelayFieldOutput(2581, types), 5);
  EXPECT_EQ(DelayFieldOutput(2592, types), 6);
  EXPECT_EQ(DelayFieldOutput(2583, types), -1);
  EXPECT_TRUE(DelayFieldInUse(2580, types));
  EXPECT_FALSE(DelayFieldInUse(2583, types));
  EXPECT_FALSE(DelayFieldInUse(2587, types));  // no position of its own
  for (const DelayField& f : DelayFields()) {
    EXPECT_EQ(DelayFieldOutput(f.id, types), PositionButtonOutput(f.positionButton, types));
  }
}

class DelayEditorTest : public ::testing::Test {
 protected:
  DelayEditorTest() {
    data.LoadOutputs();
    state.liveSync = true;
    const Types types = {1, 7, 13, 16, 21, 24, 0, 0};
    for (int o = 0; o < 8; ++o) data.SetSpeakerType(o, types[static_cast<std::size_t>(o)]);
    for (int o = 0; o < 8; ++o) data.Output(o).ClearChanges();
    selection.Listen([this](ChannelSelection::Change) { ++told; });
  }

  ProgramState state;
  CKTV_Data data{state};
  ChannelSelection selection{state, data.Links()};
  DelayEditor editor{data, selection};
  int told = 0;
};

TEST_F(DelayEditorTest, AnEditActsOnTheFieldsOutputAndMakesItCurrent) {
  selection.Select(0);
  told = 0;
  const DelayEditor::Result r = editor.Edit(2589, 480);  // rear right high: output 3
  EXPECT_EQ(r.output, 3);
  EXPECT_TRUE(r.changed);
  EXPECT_EQ(data.Output(3).DelayCode(), 480);
  EXPECT_TRUE(data.Output(3).Changed(OutputChange::Settings));
  EXPECT_EQ(selection.Current(), 3);
  EXPECT_EQ(told, 1);
  // The current output's own field does not select again.
  editor.Edit(2589, 500);
  EXPECT_EQ(told, 1);
}

TEST_F(DelayEditorTest, AnUnchangedValueChangesNothing) {
  data.Output(2).SetDelayCode(96);
  data.Output(2).ClearChanges();
  selection.Select(0);
  told = 0;
  const DelayEditor::Result r = editor.Edit(2586, 96);
  EXPECT_EQ(r.output, 2);
  EXPECT_FALSE(r.changed);
  EXPECT_FALSE(data.Output(2).Changed(OutputChange::Settings));
  EXPECT_EQ(selection.Current(), 0);
  EXPECT_EQ(told, 0);
  // A field of no output does nothing at all.
  EXPECT_EQ(editor.Edit(2581, 100).output, -1);
  EXPECT_EQ(told, 0);
}

TEST_F(DelayEditorTest, TheDelayIsNotGivenToLinkedOutputs) {
  data.Links().SetGroup(1, 0);
  data.Output(1).SetDelayCode(10);
  editor.Edit(2580, 200);
  EXPECT_EQ(data.Output(0).DelayCode(), 200);
  EXPECT_EQ(data.Output(1).DelayCode(), 10);
  // Codes beyond 50 ms are held at 50 ms.
  editor.Edit(2580, 9999);
  EXPECT_EQ(data.Output(0).DelayCode(), 2400);
}

TEST_F(DelayEditorTest, TheFieldsShowEachTypedOutputsDelay) {
  data.Output(0).SetDelayCode(100);
  data.Output(4).SetDelayCode(5000);  // beyond 50 ms, as a damaged file may hold
  data.Output(6).SetDelayCode(77);    // no speaker: no field
  const auto shown = editor.FieldCodes();
  const std::vector<std::pair<int, int>> expected = {{2580, 100}, {2583, 0},    {2586, 0},
                                                     {2589, 0},   {2596, 2400}, {2593, 0}};
  EXPECT_EQ(shown, expected);
}

TEST(ListeningPosition, ThePositionIsHeldWithinZeroToThree) {
  std::array<std::uint8_t, rec::kDelayPositionsSize> table{};
  for (int p = 0; p < 4; ++p) {
    for (int c = 0; c < 6; ++c) {
      le::PutI16(table, rec::DelayPositionOffset(p, c), static_cast<std::int16_t>(100 * p + c));
    }
  }
  table[rec::kDelaySelectedPosition] = 2;
  ListeningPosition lp = SelectedListeningPosition(table);
  EXPECT_EQ(lp.position, 2);
  EXPECT_EQ(lp.codes, (std::array<int, 6>{200, 201, 202, 203, 204, 205}));

  table[rec::kDelaySelectedPosition] = 9;
  le::PutI16(table, rec::DelayPositionOffset(3, 4), 5000);
  le::PutI16(table, rec::DelayPositionOffset(3, 5), -3);
  lp = SelectedListeningPosition(table);
  EXPECT_EQ(lp.position, 3);
  EXPECT_EQ(lp.codes, (std::array<int, 6>{300, 301, 302, 303, 2400, 0}));
}

}  // namespace
}  // namespace vantor
