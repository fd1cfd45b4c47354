// The text catalogue and the GBK <-> UTF-8 conversions.

#include <gtest/gtest.h>

#include <string>

#include "text/GbkCodec.h"
#include "text/TextCatalog.h"

namespace vantor {
namespace {

TEST(TextCatalog, EveryIdHasBothHalves) {
  for (int i = 0; i < static_cast<int>(TextId::Count); ++i) {
    const TextPair p = TextPairOf(static_cast<TextId>(i));
    EXPECT_FALSE(p.chinese.empty()) << "id " << i;
    EXPECT_FALSE(p.english.empty()) << "id " << i;
  }
}

TEST(TextCatalog, LanguageFlagPicksTheHalf) {
  EXPECT_EQ(Tr(TextId::CharLenError, true), "字符长度错误!");
  EXPECT_EQ(Tr(TextId::CharLenError, false), "char Len error!");
  EXPECT_EQ(Tr(TextId::ResetAllEq, true), "是否恢复所有EQ的初始值");
  EXPECT_EQ(Tr(TextId::ResetAllEq, false), "Whether the reset all EQ?");
  EXPECT_EQ(Tr(TextId::DataError, false), "Data err");
  EXPECT_EQ(Tr(TextId::SourceRca, true), "低电平");
  EXPECT_EQ(Tr(TextId::SourceRca, false), "RCA");
  EXPECT_EQ(Tr(TextId::SourcePlayer, false), "Player");
}

TEST(TextCatalog, SpeakerListsAreChineseOnlyAndBounded) {
  EXPECT_EQ(SpeakerTypeName(0), "空");
  EXPECT_EQ(SpeakerTypeName(1), "前左高频");
  EXPECT_EQ(SpeakerTypeName(14), "后左中低频");
  EXPECT_EQ(SpeakerTypeName(24), "超低");
  EXPECT_EQ(SpeakerTypeName(26), "后自定义");
  for (int t = 0; t < kSpeakerTypeCount; ++t) EXPECT_FALSE(SpeakerTypeName(t).empty()) << t;
  for (int t = kSpeakerTypeCount; t < kSpeakerTypeTableSize; ++t)
    EXPECT_TRUE(SpeakerTypeName(t).empty());
  EXPECT_TRUE(SpeakerTypeName(-1).empty());
  EXPECT_TRUE(SpeakerTypeName(31).empty());
  EXPECT_EQ(SpeakerModeName(0), "默认全频");
  EXPECT_EQ(SpeakerModeName(5), "一般模式");
  EXPECT_TRUE(SpeakerModeName(6).empty());
  EXPECT_EQ(SpeakerPositionWord(5), "超低");
}

TEST(GbkCodec, ConvertsTheTestVectorBothWays) {
  const auto gbk = Utf8ToGbk("中文");
  ASSERT_TRUE(gbk.has_value());
  EXPECT_EQ(*gbk, std::string("\xD6\xD0\xCE\xC4"));
  const auto back = GbkToUtf8(*gbk);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, "中文");
  EXPECT_EQ(Utf8ToGbk("FL 1").value(), "FL 1");
  EXPECT_EQ(Utf8ToGbk("").value(), "");
}

TEST(GbkCodec, RefusesWhatCannotBeConverted) {
  // An emoji has no GBK code; broken UTF-8 is not text.
  EXPECT_FALSE(Utf8ToGbk("A\xF0\x9F\x98\x80").has_value());
  EXPECT_FALSE(Utf8ToGbk("\xC3").has_value());
  EXPECT_FALSE(Utf8ToGbk("\xFF\xFE").has_value());
  // A lead byte at the end, and a lead byte followed by an invalid trail byte.
  EXPECT_FALSE(GbkToUtf8("AB\xD6").has_value());
  EXPECT_FALSE(GbkToUtf8("\xD6\x20").has_value());
}

TEST(GbkCodec, LossyDecodingMarksBadBytesAndKeepsTheRest) {
  EXPECT_EQ(GbkToUtf8Lossy("\xD6\xD0X\xD6"), "中X\xEF\xBF\xBD");
  EXPECT_EQ(GbkToUtf8Lossy(""), "");
  EXPECT_EQ(GbkToUtf8Lossy("abc"), "abc");
}

TEST(GbkCodec, CutsOnlyAtCharacterBoundaries) {
  const std::string mixed =
      "A\xD6\xD0\xCE\xC4"
      "B";  // A中文B: 6 bytes
  EXPECT_EQ(GbkFitLength(mixed, 0), 0U);
  EXPECT_EQ(GbkFitLength(mixed, 1), 1U);
  EXPECT_EQ(GbkFitLength(mixed, 2), 1U);  // would split 中
  EXPECT_EQ(GbkFitLength(mixed, 3), 3U);
  EXPECT_EQ(GbkFitLength(mixed, 4), 3U);  // would split 文
  EXPECT_EQ(GbkFitLength(mixed, 5), 5U);
  EXPECT_EQ(GbkFitLength(mixed, 99), 6U);
  // Seven bytes of "中文中文" (8 bytes) keep three characters, never half of the fourth.
  const std::string four = *Utf8ToGbk("中文中文");
  EXPECT_EQ(GbkCutToFit(four, 7), four.substr(0, 6));
  EXPECT_TRUE(GbkToUtf8(GbkCutToFit(four, 7)).has_value());
}

}  // namespace
}  // namespace vantor
