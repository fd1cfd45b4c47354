#pragma once
// The delay fields on the car picture: one beside each speaker-position button (field ids
// 2580..2597, their spins 30 above), showing the delay of the output that plays the
// position and editing it. A field finds its output exactly as its position button does,
// so it serves the same speaker types; it is shown while some output has one of them.

#include <array>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "model/KTV_Data.h"

namespace vantor {

class ChannelSelection;

inline constexpr int kDelayFieldFirst = 2580;
inline constexpr int kDelayFieldLast = 2597;
inline constexpr int kDelaySpinOffset = 30;  // spin id = field id + 30

struct DelayField {
  int id;              // 2580..2597
  int positionButton;  // 2700..2717: the button it sits beside and searches like
};
// The sixteen fields in id order (2587 and 2590 stand for no speaker position).
std::span<const DelayField> DelayFields();

// The field beside a position button's speaker types: the field of `type`, or −1.
int DelayFieldOfType(int type);
// The output field `field` acts on given each output's speaker type; −1 when none.
int DelayFieldOutput(int field, std::span<const std::uint8_t> types);
bool DelayFieldInUse(int field, std::span<const std::uint8_t> types);

// How the fields show a delay: milliseconds, or the distance sound travels in that time.
enum class DelayUnit { kMilliseconds = 0, kCentimetres = 1, kInches = 2 };
inline constexpr int kDelayUnitButtonFirst = 2285;  // 2285 ms, 2286 cm, 2287 inch
// The numeric edit's display mode of a unit (0, 1, 2).
int EditModeOf(DelayUnit unit);

// The delay-position table's selected listening position, kept within 0..3, and its six
// delay codes (front left high, mid, low, front right high, mid, low), each within
// 0..2400: what an all-presets file puts into fields 2580..2585.
struct ListeningPosition {
  int position = 0;
  std::array<int, 6> codes{};
};
ListeningPosition SelectedListeningPosition(std::span<const std::uint8_t> delayTable);

// Field edits on the model. An edit acts on the output the field finds, makes that output
// current, and is not given to linked outputs (each speaker keeps its own distance).
class DelayEditor {
 public:
  DelayEditor(CKTV_Data& data, ChannelSelection& selection)
      : m_data(data), m_selection(selection) {}

  struct Result {
    int output = -1;       // the output the field stands for; −1: none, nothing done
    bool changed = false;  // false when the code was already stored (nothing is sent)
  };
  // Field `field` committed delay code `code` (0..2400).
  Result Edit(int field, int code);

  // What the fields show: for each output with a speaker type, in output order, its field
  // and its delay code (within 0..2400).
  std::vector<std::pair<int, int>> FieldCodes() const;

 private:
  CKTV_Data& m_data;
  ChannelSelection& m_selection;
};

}  // namespace vantor
