#pragma once
// The link table: for each output channel a link group and the channel's output object.
// Two outputs are linked when their groups are equal. The groups are changed by the link
// panel on the UI thread and read by the worker (the frames' link flag), hence atomic.

#include <array>
#include <atomic>

#include "model/DataDefine.h"

namespace vantor {

class CKTV_OutData;

class LinkTable {
 public:
  // Group i := i, nothing linked, no objects yet.
  LinkTable();
  LinkTable(const LinkTable&) = delete;
  LinkTable& operator=(const LinkTable&) = delete;

  // Every group back to its own channel number.
  void Reset();

  // Channels outside 0..7 have no group (-1) and are never linked; setting one is ignored.
  int Group(int channel) const;
  void SetGroup(int channel, int group);

  // True when another output is in the channel's group.
  bool IsLinked(int channel) const;
  // True when a and b are different outputs in one group.
  bool AreLinked(int a, int b) const;

  CKTV_OutData* Output(int channel) const;
  void SetOutput(int channel, CKTV_OutData* output);

  // Calls f(CKTV_OutData&) for every other output in the channel's group.
  template <typename F>
  void ForEachPartner(int channel, F&& f) const {
    for (int j = 0; j < rec::kOutputCount; ++j) {
      if (AreLinked(channel, j) && m_outputs[static_cast<std::size_t>(j)] != nullptr) {
        f(*m_outputs[static_cast<std::size_t>(j)]);
      }
    }
  }

 private:
  static bool Valid(int channel) { return channel >= 0 && channel < rec::kOutputCount; }

  std::array<std::atomic<int>, rec::kOutputCount> m_groups;
  std::array<CKTV_OutData*, rec::kOutputCount> m_outputs{};
};

}  // namespace vantor
