// The record layout: where items fall and which bytes travel in which item.

#include <gtest/gtest.h>

#include "model/DataDefine.h"

namespace vantor {
namespace {

TEST(RecordLayout, OutputItemsCoverAllButTheLastTwoNameCharacters) {
  EXPECT_EQ(rec::ItemOffset(rec::kItemSettings), rec::kOutOn);
  EXPECT_EQ(rec::ItemOffset(rec::kItemCrossover), rec::kOutHighPassFreq);
  EXPECT_EQ(rec::ItemOffset(rec::kItemMixerLow), rec::kOutMixer);
  EXPECT_EQ(rec::ItemOffset(rec::kItemMixerHigh), rec::kOutMixer + 8);
  // Item 35 starts with two spare bytes, then the limiter.
  EXPECT_EQ(rec::ItemOffset(rec::kItemLimiter) + 2, rec::kOutLimiterThreshold);
  // Item 36 carries two spare bytes and name characters 0..5; characters 6 and 7 are in
  // no item and outside the 296-byte whole-output block.
  EXPECT_EQ(rec::ItemOffset(rec::kItemName) + 2, rec::kOutName);
  EXPECT_EQ(rec::ItemOffset(rec::kItemName) + rec::kItemSize, rec::kOutName + 6);
  EXPECT_EQ(rec::kOutputBlockSize, rec::kOutName + 6);
  EXPECT_EQ(rec::MixerItemOfSource(0), 33);
  EXPECT_EQ(rec::MixerItemOfSource(7), 33);
  EXPECT_EQ(rec::MixerItemOfSource(8), 34);
  EXPECT_EQ(rec::MixerItemOfSource(13), 34);
}

}  // namespace
}  // namespace vantor
