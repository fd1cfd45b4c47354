#pragma once
// The music input ("Music 1", input index 2): record bytes 296..407, block byte 75 being the
// music-on flag. Its block is the one input block sent to the device. Two change flags let
// the pending-change scan send its items: one for item 9 (the level and switch bytes, level
// and gain), one for item 11 (the level byte). No panel sets them today.

#include <atomic>

#include "model/InputData.h"

namespace vantor {

enum class MusicChange : int {
  Levels = 0,     // item 9
  LevelByte = 1,  // item 11
};
inline constexpr int kMusicChangeCount = 2;
int ItemOfChange(MusicChange change);

class CMusic_InData : public CInputData {
 public:
  explicit CMusic_InData(const LiveSyncFlag* liveSync);

  // Block byte 75 (record byte 371).
  int MusicOn() const { return LevelSwitchByte(3); }
  void SetMusicOn(int on) { SetLevelSwitchByte(3, on); }

  bool Changed(MusicChange change) const;
  // Test-and-clear, for the scan.
  bool TakeChange(MusicChange change);
  void SetChange(MusicChange change, bool on);

 private:
  void Touched(int item) override;

  const LiveSyncFlag* m_liveSync;
  std::array<std::atomic<bool>, kMusicChangeCount> m_changes{};
};

}  // namespace vantor
