#pragma once
// The object model of one sound program: the effect object, the mic route, the music route
// and the output route with eight output channels, plus the link table. It copies itself to
// and from the live state record (Store / Load), finds the next pending change for the
// worker, and owns the system-block edits that are sent by the scan (master volume, hidden
// levels) or that ask the caller to queue a system item (input source, speaker type).

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "model/Effect_Data.h"
#include "model/KTV_OutData.h"
#include "model/LinkTable.h"
#include "model/MIC_InData.h"
#include "model/MessageReporter.h"
#include "model/Music_InData.h"
#include "model/ProgramState.h"

namespace vantor {

// What the pending-change scan found, already cleared and packed into the live record (or
// the global block). The link layer builds the single-item write from it.
struct PendingChange {
  enum class Kind {
    SystemItem,  // block type 4; item = 144 (system block) or 146 (hidden level block)
    MusicItem,   // block type 2, index 2; item = 8-byte item of the music block
    OutputItem,  // block type 3, index = channel; item 0..36 of the output record
  };
  Kind kind = Kind::OutputItem;
  int channel = -1;  // OutputItem only
  int item = 0;
  friend bool operator==(const PendingChange&, const PendingChange&) = default;
};

// Outcome of a routing edit.
enum class RoutingResult {
  Refused,      // value out of range; nothing changed
  Stored,       // stored; not connected, nothing to send
  QueueSystem,  // stored; the caller queues the system item now (144 or 145)
};

class CKTV_Data {
 public:
  explicit CKTV_Data(ProgramState& state);
  CKTV_Data(const CKTV_Data&) = delete;
  CKTV_Data& operator=(const CKTV_Data&) = delete;

  ProgramState& State() { return m_state; }
  const ProgramState& State() const { return m_state; }

  // --- Objects. Index checks are debugging assertions; callers pass indexes in range.
  CEffect_Data& Effect() { return m_effect; }
  CMIC_InData& Mic(int i = 0);
  CMusic_InData& Music(int i = 0);
  CKTV_OutData& Output(int channel);
  const CKTV_OutData& Output(int channel) const;
  int MicCount() const { return 1; }
  int MusicCount() const { return 1; }
  int OutputCount() const { return rec::kOutputCount; }

  // --- Link table.
  LinkTable& Links() { return m_links; }
  const LinkTable& Links() const { return m_links; }
  // Another output shares the channel's group (the frames' link flag).
  bool IsLinked(int channel) const { return m_links.IsLinked(channel); }

  // --- Reporting of refusals (names that do not fit). May be null.
  void SetReporter(MessageReporter* reporter) { m_reporter.store(reporter); }
  void Report(TextId message);

  // --- Whole model.
  // Objects to live record: effect, mic 0, music 0, outputs 0..7 (whole pack). Returns
  // TooLong when an output name was refused (reported; the other fields are still packed).
  NameResult Store();
  // Live record to objects. The effect object only when loadArgument is 0 or 6 (read-back
  // of slot n passes n, a file load -1); then mic 0, music 0, outputs 0..7. Channels 0..5
  // first get, in the record, a high-pass above 20000 lowered to 20000 and a low-pass below
  // 20 raised to 20; channels 6 and 7 are unpacked as stored.
  void Load(int loadArgument);
  // The eight outputs from the live record, as the main view does once at start.
  void LoadOutputs();

  // Counts the times the objects were given a whole program (every Load, and whoever else
  // replaces the program calls NoteProgramReplaced): the edit history and the program
  // comparison start afresh when it moves.
  std::uint64_t ProgramGeneration() const { return m_generation.load(); }
  void NoteProgramReplaced() { m_generation.fetch_add(1); }

  // --- Pending-change scan (worker thread, under the queue lock). Finds the first pending
  // change in the order master volume, hidden levels, music items, then per output 0..7:
  // name, item 31, crossover (stepping pending crossovers first), mixer 33, mixer 34,
  // item 35, the first pending band (stepped first). Clears the flag it used, packs the
  // item into the live record and says what to send; nullopt when nothing is pending
  // (the caller sends the status poll).
  std::optional<PendingChange> TakePendingChange();

  // --- System block edits.
  int MasterVolume() const;  // 0..66, dB = value − 60
  // Stores the master volume; the master-volume flag := live-sync (the scan sends item 144).
  // False (nothing changed) outside 0..66.
  bool SetMasterVolume(int code);
  bool MasterVolumeChanged() const { return m_masterVolumeChanged.load(); }
  bool TakeMasterVolumeChange() { return m_masterVolumeChanged.exchange(false); }
  void SetMasterVolumeChanged(bool on) { m_masterVolumeChanged.store(on); }
  int MasterOn() const;
  void SetMasterOn(int on);  // stores byte 5; the caller queues item 144 itself

  // Hidden level block: three i16 values (i = 0..2) then two bytes (i = 3, 4).
  int HiddenLevel(int i) const;
  // Stores value i; the hidden-level flag := live-sync (the scan sends item 146).
  bool SetHiddenLevel(int i, int value);
  bool HiddenLevelChanged() const { return m_hiddenLevelChanged.load(); }
  bool TakeHiddenLevelChange() { return m_hiddenLevelChanged.exchange(false); }
  void SetHiddenLevelChanged(bool on) { m_hiddenLevelChanged.store(on); }

  // --- Inputs, sources and routing (model side).
  int InputSource() const;
  // System block byte 0 := value (0..5); QueueSystem (item 144) when connected.
  RoutingResult SelectInputSource(int value);
  // The device reported its active source (status reply byte 11). When it differs from the
  // last reported value it becomes the last reported value and system block byte 0, and
  // true is returned (the view selects it in the list); nothing is sent back.
  bool ApplyReportedSource(int value);
  int SpeakerType(int channel) const;
  // Speaker-type table byte of the output := type (0..26); QueueSystem (item 145) when
  // connected. Crossovers and mixer rows do not change.
  RoutingResult SetSpeakerType(int channel, int type);
  int SpeakerMode() const;  // system block byte 6, shown only

 private:
  ProgramState& m_state;
  LinkTable m_links;
  std::atomic<MessageReporter*> m_reporter{nullptr};
  std::atomic<bool> m_masterVolumeChanged{false};
  std::atomic<bool> m_hiddenLevelChanged{false};
  std::atomic<std::uint64_t> m_generation{0};

  CEffect_Data m_effect;
  std::unique_ptr<CMIC_InData> m_mic;
  std::unique_ptr<CMusic_InData> m_music;
  std::array<std::unique_ptr<CKTV_OutData>, rec::kOutputCount> m_outputs;
};

}  // namespace vantor
