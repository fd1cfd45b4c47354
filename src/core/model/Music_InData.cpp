#include "model/Music_InData.h"

namespace vantor {

int ItemOfChange(MusicChange change) {
  switch (change) {
    case MusicChange::Levels:
      return 9;
    case MusicChange::LevelByte:
      return 11;
  }
  return -1;
}

CMusic_InData::CMusic_InData(const LiveSyncFlag* liveSync)
    : CInputData(kMusicName, kMusicColour, kMusicInputIndex, liveSync,
                 Held{{false, true, false, true}, {true, true}}),
      m_liveSync(liveSync) {}

void CMusic_InData::Touched(int item) {
  for (MusicChange c : {MusicChange::Levels, MusicChange::LevelByte}) {
    if (ItemOfChange(c) == item) SetChange(c, IsLive(m_liveSync));
  }
}

bool CMusic_InData::Changed(MusicChange change) const {
  return m_changes[static_cast<std::size_t>(change)].load();
}

bool CMusic_InData::TakeChange(MusicChange change) {
  return m_changes[static_cast<std::size_t>(change)].exchange(false);
}

void CMusic_InData::SetChange(MusicChange change, bool on) {
  m_changes[static_cast<std::size_t>(change)].store(on);
}

}  // namespace vantor
