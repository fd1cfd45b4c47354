#include "tuning/CrossoverLists.h"

#include "dsp/FilterCodes.h"

namespace vantor {
namespace {

constexpr std::array<std::string_view, kSlopeEntryCount> kLinkwitzEntries = {
    "6dB/Oct", "12dB/Oct", "24dB/Oct", "36dB/Oct", "OFF"};
constexpr std::array<std::string_view, kSlopeEntryCount> kOtherEntries = {
    "6dB/Oct", "12dB/Oct", "18dB/Oct", "24dB/Oct", "OFF"};

constexpr std::array<std::string_view, kFullSlopeEntryCount> kFullEntries = {
    "12dB/Oct", "18dB/Oct", "24dB/Oct", "30dB/Oct", "36dB/Oct", "42dB/Oct", "48dB/Oct"};

constexpr std::array<int, kSlopeEntryCount> kLinkwitzSlopes = {0, 1, 3, 4, kSlopeOff};
constexpr std::array<int, kSlopeEntryCount> kOtherSlopes = {0, 1, 2, 3, kSlopeOff};

}  // namespace

TextId FamilyText(int family) {
  switch (family) {
    case kLinkwitzRiley:
      return TextId::FamilyLinkwitz;
    case kBessel:
      return TextId::FamilyBessel;
    default:
      return TextId::FamilyButterworth;
  }
}

const std::array<std::string_view, kSlopeEntryCount>& SlopeEntries(int family) {
  return family == kLinkwitzRiley ? kLinkwitzEntries : kOtherEntries;
}

int SlopeOfEntry(int family, int entry) {
  if (entry < 0 || entry >= kSlopeEntryCount) return -1;
  const auto& slopes = family == kLinkwitzRiley ? kLinkwitzSlopes : kOtherSlopes;
  return slopes[static_cast<std::size_t>(entry)];
}

int EntryOfSlope(int family, int slope) {
  if (slope == kSlopeOff) return kSlopeEntryCount - 1;
  if (slope < 0 || slope >= kSlopeOff) return -1;
  // A slope the list does not offer (18 dB/Oct of a Link_Ril, or one a file or another
  // family left behind) shows the entry of the nearest slope below it, never "OFF".
  const auto& slopes = family == kLinkwitzRiley ? kLinkwitzSlopes : kOtherSlopes;
  int entry = 0;
  for (int e = 0; e < kSlopeEntryCount - 1; ++e) {
    if (slopes[static_cast<std::size_t>(e)] <= slope) entry = e;
  }
  return entry;
}

const std::array<std::string_view, kFullSlopeEntryCount>& FullSlopeEntries() {
  return kFullEntries;
}

int FullSlopeEntryOf(int slope) { return slope >= 0 && slope < kFullSlopeEntryCount ? slope : -1; }

}  // namespace vantor
