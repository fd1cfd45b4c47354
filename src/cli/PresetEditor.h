#pragma once
// KEY=VALUE edits of a program, shared by `preset set` (a file) and `device set` (the
// connected processor's live program). Values are taken in the units the panels show and
// converted by the numeric edits' own entry rules; every change goes through the model's
// setters, so on a live program it travels as the pending-change scan sends it.
//
// Keys (outputs 1..8 and bands 1..31 as the screen numbers them):
//   name=TEXT                       the program name (at most 15 bytes in the record)
//   source=highlevel|rca|bluetooth|optical|coaxial|player|0..5
//   volume=DB                       master volume, -60..6
//   speakerN=0..26                  speaker type of output N
//   outN.on=0|1  outN.phase=normal|inverted  outN.gain=DB|OFF  outN.delay=MS  outN.name=TEXT
//   outN.mixK=0..100                level of mixer source K (1..14)
//   outN.hp.freq=HZ  outN.hp.family=linkwitz|bessel|butterworth  outN.hp.slope=0..7  (lp the same)
//   outN.bandB.freq=HZ  outN.bandB.gain=DB  outN.bandB.q=Q
//   outN.bandB.type=peak|lowshelf6|lowshelf12|highshelf6|highshelf12
//   outN.limiter.threshold=DBU|OFF  outN.limiter.attack=MS  outN.limiter.release=0..5

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "link/CommandSequences.h"
#include "model/KTV_Data.h"

namespace vantor::cli {

struct EditTarget {
  CKTV_Data& model;
  // The system area (source, volume, speaker types) is kept: an all-presets file or a device.
  bool systemArea = false;
  // A connected device: system items and the program name are queued at once.
  CommandSequences* device = nullptr;
  // The queue lock, held while a record the worker reads from is written.
  std::recursive_mutex* queueLock = nullptr;
};

class PresetEditor {
 public:
  PresetEditor(EditTarget target, bool chinese);

  // Checks every assignment and the crossovers they leave; nothing changes. False with a
  // one-line reason naming the first bad assignment.
  bool Prepare(const std::vector<std::string>& assignments, std::string& error);
  // Applies what Prepare accepted, in the order given.
  void Apply();

  // The keys in the order `preset set --help` lists them.
  static std::string KeyHelp();

 private:
  struct Edit {
    std::string key;
    std::function<void()> apply;
  };
  // One assignment; on success appends its edit.
  bool Parse(const std::string& key, const std::string& value, std::string& error);
  bool ParseOutput(int channel, const std::string& key, const std::string& rest,
                   const std::string& value, std::string& error);

  EditTarget m_target;
  bool m_chinese;
  std::vector<Edit> m_edits;
  // Crossover frequencies the edits will leave, for the check that a high-pass never lies
  // above its low-pass.
  struct Planned {
    int highPass = 0;
    int lowPass = 0;
    std::string key;  // the last crossover frequency key of the output
  };
  std::vector<Planned> m_crossovers;
  // Speaker types the edits will leave, for the speaker-type menu's rules (no type twice, no
  // front full-range speaker beside a front tweeter, ...); the key that set each.
  std::vector<int> m_speakers;
  std::vector<std::string> m_speakerKeys;
};

}  // namespace vantor::cli
