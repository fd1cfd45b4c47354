// Slot names: how they are kept in a record, shown, checked and labelled.

#include <gtest/gtest.h>

#include "model/ProgramState.h"
#include "presets/SlotNames.h"
#include "text/GbkCodec.h"

namespace vantor {
namespace {

std::string Field(const rec::StateRecord& r) { return std::string(r.begin(), r.begin() + 16); }

TEST(SlotNames, LongNameKeepsFifteenBytesAndAZeroByte) {
  rec::StateRecord r{};
  r.fill(0x55);
  StoreSlotName(r, "ABCDEFGHIJKLMNOPQRST");  // 20 characters
  EXPECT_EQ(Field(r), std::string("ABCDEFGHIJKLMNO") + '\0');
  EXPECT_EQ(r[16], 0x55) << "nothing after the field";
  EXPECT_EQ(SlotNameText(r), "ABCDEFGHIJKLMNO");

  StoreSlotName(r, "Bass");
  EXPECT_EQ(Field(r), std::string("Bass") + std::string(12, '\0'));
}

TEST(SlotNames, ADoubleByteCharacterIsNeverCutInHalf) {
  const auto gbk = Utf8ToGbk("音效音效音效音效");  // 16 bytes
  ASSERT_TRUE(gbk.has_value());
  rec::StateRecord r{};
  StoreSlotName(r, *gbk);
  EXPECT_EQ(r[14], 0);
  EXPECT_EQ(r[15], 0);
  EXPECT_EQ(SlotNameText(r), "音效音效音效音");
}

TEST(SlotNames, ANameReadBackWithHalfACharacterShowsTheWholeOnes) {
  // The device answers 13 bytes of "音效音效音效音" and two spaces: byte 12 is the first
  // half of the seventh character.
  auto gbk = *Utf8ToGbk("音效音效音效音");
  rec::StateRecord r{};
  gbk.resize(13);
  StoreSlotName(r, gbk + "  ");
  EXPECT_EQ(SlotNameText(r), "音效音效音效");
  // A half character in the middle is still shown as what it is.
  StoreSlotName(r, std::string("\xD2 Club"));
  EXPECT_EQ(SlotNameText(r), "\xEF\xBF\xBD Club");
}

TEST(SlotNames, ShownNamesAreTrimmed) {
  rec::StateRecord r{};
  StoreSlotName(r, "  Club   ");
  EXPECT_EQ(SlotNameText(r), "Club");
  StoreSlotName(r, std::string(15, ' '));
  EXPECT_EQ(SlotNameText(r), "");
}

TEST(SlotNames, NameCheckRefusesOnlyBlankNames) {
  EXPECT_EQ(CheckSlotName("   "), TextId::SlotNameAllSpaces);
  EXPECT_EQ(CheckSlotName(""), TextId::SlotNameAllSpaces);
  EXPECT_EQ(CheckSlotName(" \t "), TextId::SlotNameAllSpaces);
  EXPECT_FALSE(CheckSlotName(" a ").has_value());
  EXPECT_EQ(Tr(TextId::SlotNameAllSpaces, true), "组名不能全为空格!");
  EXPECT_EQ(Tr(TextId::SlotNameAllSpaces, false), "The name can not be all spaces!");
}

TEST(SlotNames, LabelsAreNamesWhenConnectedAndDefaultsOtherwise) {
  ProgramState state;
  state.chinese = false;
  StoreSlotName(state.Slot(2), "Rock");
  StoreSlotName(state.Slot(3), "   ");
  auto labels = SlotLabels(state, true);
  EXPECT_EQ(labels[0], "Source1") << "a fresh slot holds only spaces";
  EXPECT_EQ(labels[1], "Rock");
  EXPECT_EQ(labels[2], "Source3");
  labels = SlotLabels(state, false);
  for (int n = 1; n <= 6; ++n)
    EXPECT_EQ(labels[static_cast<std::size_t>(n - 1)], "Source" + std::to_string(n));
  state.chinese = true;
  EXPECT_EQ(SlotLabel(state, 6, false), "音效6");
  EXPECT_EQ(SlotLabel(state, 2, true), "Rock");
}

TEST(SlotNames, SaveDialogLabelShowsSixteenCharactersOfALongName) {
  EXPECT_EQ(SaveDialogLabel("ABCDEFGHIJKLMNOPQRST"), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(SaveDialogLabel("ABCDEFGHIJKLMNO"), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(SaveDialogLabel("一二三四五六七八九十一二三四五六七"),
            "一二三四五六七八九十一二三四五六");
}

}  // namespace
}  // namespace vantor
