#include "tuning/BandTableTravel.h"

#include "tuning/OutputChannelEditor.h"

namespace vantor {
namespace {

BandRow NextRow(BandRow row) {
  switch (row) {
    case BandRow::kFrequency:
      return BandRow::kBandwidth;
    case BandRow::kBandwidth:
      return BandRow::kGain;
    case BandRow::kGain:
      break;
  }
  return BandRow::kFrequency;
}

}  // namespace

BandCell NextCellOnEnter(BandCell from, bool graphic) {
  if (graphic) return BandCell{BandRow::kGain, (from.band + 1) % kOutputBandCount};
  if (from.band + 1 < kOutputBandCount) return BandCell{from.row, from.band + 1};
  return BandCell{NextRow(from.row), 0};
}

int NextSlider(int band, int direction) {
  const int step = direction < 0 ? -1 : 1;
  return (band + step + kOutputBandCount) % kOutputBandCount;
}

}  // namespace vantor
