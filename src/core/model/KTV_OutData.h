#pragma once
// One output channel of the object model: its filter set (31 bands, high-pass, low-pass),
// its settings, mixer row, limiter and name, the change flags that tell the pending-change
// scan what to send, and the packers that copy it into its record in the live state record.
//
// Threads: setters run on the UI thread, the scan (TakeChange + packers) on the worker.
// Values are atomics and every setter stores its value before it sets the flag, and the scan
// clears a flag before it packs, so an edit that lands during a scan is either in the packed
// bytes or leaves its flag set for a later scan. The name is guarded by a mutex.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "dsp/Geometry.h"
#include "dsp/KTVEQ.h"
#include "model/ChannelTable.h"
#include "model/DataDefine.h"

namespace vantor {

class CKTV_Data;

// The five change flags of an output, in the order the object declares them.
enum class OutputChange : int {
  Name = 0,       // item 36
  MixerLow = 1,   // item 33: mixer sources 0..7
  Settings = 2,   // item 31: on, phase, gain, delay, EQ mode, auxiliary level
  Limiter = 3,    // item 35
  MixerHigh = 4,  // item 34: mixer sources 8..13
};
inline constexpr int kOutputChangeCount = 5;
// The record item a change flag stands for.
int ItemOfChange(OutputChange change);

// Outcome of giving a name to a record field.
enum class NameResult {
  Ok,
  TooLong,  // 8 or more bytes: "字符长度错误!" / "char Len error!"; the record keeps the old name
  NotEncodable,  // a character GBK cannot store; nothing changed
};

using MixerRow = std::array<std::uint8_t, rec::kMixerSources>;

class CKTV_OutData {
 public:
  // Built by the output route with the output builder of the channel table, the tag as
  // name and the construction values; the owner provides the state, links and reporter.
  CKTV_OutData(CKTV_Data& owner, int channel);
  CKTV_OutData(const CKTV_OutData&) = delete;
  CKTV_OutData& operator=(const CKTV_OutData&) = delete;

  int Channel() const { return m_channel; }
  Rgb Colour() const { return kOutputChannels[static_cast<std::size_t>(m_channel)].colour; }
  std::uint32_t SmoothColour() const { return OpaqueArgb(Colour()); }

  // --- Filter set: bands 0..30, then the high-pass (32 elements - 2), the low-pass.
  CKTVEQ& Filters() { return m_eq; }
  const CKTVEQ& Filters() const { return m_eq; }
  CFilter& Filter(int i) { return m_eq.At(i); }
  const CFilter& Filter(int i) const { return m_eq.At(i); }
  CFilter& HighPass() { return m_eq.HighPass(); }
  CFilter& LowPass() { return m_eq.LowPass(); }
  int BandCount() const { return m_eq.BandCount(); }
  // Every filter effectively off.
  bool AllFlat() const { return m_eq.AllFlat(); }

  // --- Channel curve: Layout lays out the set in the plot and sums it.
  void Layout(const Rect& plot);
  const std::array<Point, kGridPoints>& Curve() const { return m_eq.Points(); }
  const std::array<PointF, kGridPoints>& CurveF() const { return m_eq.PointsF(); }
  // The y pixel of 0 dB plus 10.
  int ZeroLine() const { return m_eq.PlotHeight() / 2 + 10; }

  // --- Values (record byte in brackets).
  int OutputOn() const { return m_outputOn.load(); }        // 248
  int Phase() const { return m_phase.load(); }              // 249
  int GainCode() const { return m_gain.load(); }            // 250..251, 0..60
  bool Muted() const { return m_muted.load(); }             // gain code 0
  int DelayCode() const { return m_delay.load(); }          // 252..253, 0..2400
  int EqMode() const { return m_eqMode.load(); }            // 254
  int AuxLevel() const { return m_auxLevel.load(); }        // 255
  int SecondLevel() const { return m_secondLevel.load(); }  // object only
  int ThresholdCode() const { return m_threshold.load(); }  // 282..283, 0..360
  int AttackCode() const { return m_attack.load(); }        // 284, 0..106
  int ReleaseCode() const { return m_release.load(); }      // 285, 0..5
  MixerRow Mixer() const;                                   // 264..277
  int MixerLevel(int source) const;
  // The name as the record holds it (GBK bytes).
  std::string NameGbk() const;
  // The name for the screen (UTF-8; undecodable bytes shown as U+FFFD).
  std::string NameText() const;

  // --- Setters. Each stores its value and sets its item's change flag to the live-sync
  // flag. Gain, phase and EQ mode then give gain, EQ mode and auxiliary level to the other
  // outputs of the link group (marking their item 31); the limiter setters give all three
  // limiter codes (marking their item 35).
  void SetOutputOn(int on);
  void SetPhase(int phase);
  void SetGainCode(int code);  // also muted := (code == 0)
  void SetDelayCode(int code);
  void SetEqMode(int mode);  // also every band's graphic mode flag
  void SetAuxLevel(int level);
  void SetSecondLevel(int level) { m_secondLevel.store(level); }  // no flag, no use
  void SetThresholdCode(int code);
  void SetAttackCode(int code);
  void SetReleaseCode(int code);
  void SetMixerLow(const MixerRow& row);   // all 14 bytes, marks item 33
  void SetMixerHigh(const MixerRow& row);  // all 14 bytes, marks item 34
  // Raw record bytes; marks the name flag. The length is checked when the name is packed.
  void SetNameGbk(std::string gbk);
  // From the screen: converted to GBK; NotEncodable changes nothing.
  NameResult SetNameText(std::string_view utf8);

  // Stores output on without marking item 31: the whole-output rewrite silences an output
  // and restores it around a whole-block write it queues itself.
  void StoreOutputOn(int on) { m_outputOn.store(on); }

  // --- Change flags.
  bool Changed(OutputChange change) const;
  // Test-and-clear: true when the flag was set. The scan calls it before packing.
  bool TakeChange(OutputChange change);
  void SetChange(OutputChange change, bool on);
  void ClearChanges();

  // --- Packers: each writes its bytes of this channel's record in the live state record.
  // Band b: the band record of filter b (bytes 8·b..8·b+7).
  void PackBand(int band);
  // Item 31: on, phase, gain code (0 while muted), delay, EQ mode, auxiliary level.
  void PackSettings();
  // Item 32: both crossovers' sent frequency, family and slope.
  void PackCrossover();
  // Items 33 and 34: the 14-byte mixer row (both packers write all of it).
  void PackMixer();
  // Item 35: threshold, attack, release.
  void PackLimiter();
  // Bytes 290..297: the name padded with zero bytes when it is shorter than 8 bytes;
  // otherwise TooLong is reported through the owner's reporter and returned, and the
  // record keeps its previous name. The caller must not report it again.
  NameResult PackName();
  // Whole output channel pack: bands 0..30, name, item 31, crossover, limiter, mixer.
  NameResult PackAll();
  // The same bytes into `record` (an output record of 298 bytes) instead of the live record,
  // reporting nothing: a name that does not fit leaves the field as it was.
  void PackInto(std::span<std::uint8_t> record) const;
  // Output channel unpack from the live record (bands, name, crossovers, item 31 values,
  // limiter, mixer). Sets no change flag.
  void Unpack();

  // Puts every band back to the builder's third-octave frequency, 0.2 octave, 0 dB, flat;
  // types and slopes unchanged. Marks nothing (the panel sends the whole output itself).
  void ResetEq();

  // The channel link's copy of another output into this one: every filter's values, the
  // gain code (muted recomputed) and the EQ mode (every band's graphic flag); phase, delay,
  // on, limiter, mixer and name stay. The curve is summed again; nothing is marked, the
  // link writes the whole block itself.
  void TakeLinkCopy(const CKTV_OutData& from);

  // Taken from a linked output (the propagation); marks item 31 / item 35.
  void ReceiveLinkedSettings(int gainCode, int eqMode, int auxLevel);
  void ReceiveLinkedLimiter(int threshold, int attack, int release);

 private:
  std::span<std::uint8_t> Record();
  bool Live() const;
  // The packers' bytes, written into any output record.
  void WriteBand(std::span<std::uint8_t> record, int band) const;
  void WriteSettings(std::span<std::uint8_t> record) const;
  void WriteCrossover(std::span<std::uint8_t> record) const;
  void WriteMixer(std::span<std::uint8_t> record) const;
  void WriteLimiter(std::span<std::uint8_t> record) const;
  void Mark(OutputChange change);
  void StoreGain(int code);
  void StoreEqMode(int mode);
  void PropagateSettings();
  void PropagateLimiter();

  CKTV_Data& m_owner;
  const int m_channel;
  CKTVEQ m_eq;

  mutable std::mutex m_nameMutex;
  std::string m_name;  // GBK bytes

  std::atomic<int> m_phase{0};
  std::atomic<int> m_outputOn{0};
  std::atomic<int> m_gain{60};
  std::atomic<bool> m_muted{false};
  std::atomic<int> m_delay{0};
  std::atomic<int> m_secondLevel{0};
  std::atomic<int> m_eqMode{0};
  std::atomic<int> m_auxLevel{0};
  std::atomic<int> m_threshold{300};
  std::atomic<int> m_attack{106};
  std::atomic<int> m_release{5};
  std::array<std::atomic<std::uint8_t>, rec::kMixerSources> m_mixer{};
  std::array<std::atomic<bool>, kOutputChangeCount> m_changes{};
};

}  // namespace vantor
