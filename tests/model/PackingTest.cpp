// Packing objects into the live record and unpacking them again: band records, the output
// packers, the whole output pack and unpack, the inputs and the effect, Store and Load.

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "RecordingReporter.h"
#include "base/LittleEndian.h"
#include "model/KTV_Data.h"

namespace vantor {
namespace {

struct Model {
  ProgramState state;
  CKTV_Data data{state};
  RecordingReporter reporter;
  Model() { data.SetReporter(&reporter); }

  std::span<std::uint8_t> Out(int c) {
    return std::span<std::uint8_t>(state.Live())
        .subspan(rec::OutputOffset(c), rec::kOutputRecordSize);
  }
};

// Offsets of the output record whose bytes differ between two images.
std::set<std::size_t> Differences(std::span<const std::uint8_t> a,
                                  std::span<const std::uint8_t> b) {
  std::set<std::size_t> d;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) d.insert(i);
  }
  return d;
}

bool AllWithin(const std::set<std::size_t>& d, std::size_t lo, std::size_t hi) {
  return d.empty() || (*d.begin() >= lo && *d.rbegin() <= hi);
}

// ---------------------------------------------------------------------------------------
TEST(BandRecord, CarriesSentFrequencyAndGainCode) {
  LiveSyncFlag live{true};
  CKTVEQ set(&live);
  set.BuildOutput(30, 20, 20000, 9, 32);
  CFilter& f = set.At(7);
  f.SetGainIndex(250);  // +5 dB
  f.SetBandwidthIndex(40);
  f.SetFrequency(1000, true);  // live: the sent frequency stays at 100
  BandRecord r = set.GetBandRecord(7);
  EXPECT_EQ(le::GetI16(r, 0), 100);
  EXPECT_EQ(le::GetI16(r, 2), 650);
  EXPECT_EQ(le::GetI16(r, 4), 40);
  EXPECT_EQ(r[6], f.Slope());
  EXPECT_EQ(r[7], 0);
  // Switched off: 0 dB whatever the gain.
  f.SetFlat(1);
  EXPECT_EQ(le::GetI16(set.GetBandRecord(7), 2), 600);
  f.SetFlat(0);
  f.SetBypass(1);
  EXPECT_EQ(le::GetI16(set.GetBandRecord(7), 2), 600);
  // A shelf carries its slope and type.
  set.At(0).SetEqType(4);
  r = set.GetBandRecord(0);
  EXPECT_EQ(r[6], 1);
  EXPECT_EQ(r[7], 2);
}

TEST(BandRecord, SettingIsStepsThenStepSentFrequency) {
  LiveSyncFlag live{false};
  CKTVEQ set(&live);
  set.BuildOutput(30, 20, 20000, 9, 32);
  BandRecord r{};
  le::PutI16(r, 0, 3150);
  le::PutI16(r, 2, 420);
  le::PutI16(r, 4, 100);
  r[6] = 1;
  r[7] = 1;
  set.SetBandRecord(r, 4);
  const CFilter& f = set.At(4);
  EXPECT_EQ(f.Frequency(), 3150);
  EXPECT_EQ(f.SentFrequency(), 3150);
  EXPECT_EQ(f.GainIndex(), 20);
  EXPECT_EQ(f.BandwidthIndex(), 100);
  EXPECT_EQ(f.Slope(), 1);
  EXPECT_EQ(f.Type(), kLowShelf);
  EXPECT_EQ(f.Pending(), 0);
  EXPECT_EQ(set.GetBandRecord(4), r);

  // A record is what the device holds already: with live-sync set a big upward move is
  // neither left pending nor walked there in octave steps.
  live = true;
  le::PutI16(r, 0, 20000);
  set.SetBandRecord(r, 4);
  EXPECT_EQ(set.At(4).Frequency(), 20000);
  EXPECT_EQ(set.At(4).SentFrequency(), 20000);
  EXPECT_EQ(set.At(4).Pending(), 0);
  EXPECT_EQ(set.GetBandRecord(4), r);
}

TEST(BandRecord, DamagedFrequencyReadsAsLowestAndSettles) {
  LiveSyncFlag live{false};
  CKTVEQ set(&live);
  set.BuildOutput(30, 20, 20000, 9, 32);
  BandRecord r{};
  le::PutI16(r, 0, 0);
  le::PutI16(r, 2, 600);
  le::PutI16(r, 4, 15);
  set.SetBandRecord(r, 2);
  EXPECT_EQ(set.At(2).Frequency(), 20);
  EXPECT_EQ(set.At(2).Pending(), 0);
  le::PutI16(r, 0, -5);
  set.SetBandRecord(r, 2);
  EXPECT_EQ(set.At(2).Frequency(), 20);
}

// ---------------------------------------------------------------------------------------
TEST(OutputPackers, EachWritesOnlyItsOwnBytes) {
  Model m;
  m.data.LoadOutputs();
  CKTV_OutData& o = m.data.Output(3);
  auto out = m.Out(3);
  std::vector<std::uint8_t> before(out.begin(), out.end());

  o.Filter(9).SetGainIndex(123);
  o.PackBand(9);
  auto d = Differences(before, out);
  EXPECT_FALSE(d.empty());
  EXPECT_TRUE(AllWithin(d, 72, 79));
  EXPECT_EQ(le::GetI16(out, 72 + 2), 523);
  before.assign(out.begin(), out.end());

  o.SetOutputOn(0);
  o.SetPhase(1);
  o.SetGainCode(42);
  o.SetDelayCode(2400);
  o.SetEqMode(1);
  o.SetAuxLevel(90);
  o.PackSettings();
  d = Differences(before, out);
  EXPECT_TRUE(AllWithin(d, 248, 255));
  EXPECT_EQ(out[248], 0);
  EXPECT_EQ(out[249], 1);
  EXPECT_EQ(le::GetI16(out, 250), 42);
  EXPECT_EQ(le::GetI16(out, 252), 2400);
  EXPECT_EQ(out[254], 1);
  EXPECT_EQ(out[255], 90);
  before.assign(out.begin(), out.end());

  o.HighPass().SetFrequency(80, false);
  o.HighPass().SetFamily(0, false);
  o.LowPass().SetSlope(7, false);
  o.PackCrossover();
  d = Differences(before, out);
  EXPECT_TRUE(AllWithin(d, 256, 263));
  EXPECT_EQ(le::GetI16(out, 256), 80);
  EXPECT_EQ(out[258], 0);
  EXPECT_EQ(out[263], 7);
  before.assign(out.begin(), out.end());

  MixerRow row{};
  for (std::size_t s = 0; s < row.size(); ++s) row[s] = static_cast<std::uint8_t>(s + 1);
  o.SetMixerHigh(row);
  o.PackMixer();
  d = Differences(before, out);
  EXPECT_TRUE(AllWithin(d, 264, 277));
  EXPECT_EQ(out[277], 14);
  before.assign(out.begin(), out.end());

  o.SetThresholdCode(123);
  o.SetAttackCode(4);
  o.SetReleaseCode(3);
  o.PackLimiter();
  d = Differences(before, out);
  EXPECT_TRUE(AllWithin(d, 282, 285));
  EXPECT_EQ(le::GetI16(out, 282), 123);
  EXPECT_EQ(out[284], 4);
  EXPECT_EQ(out[285], 3);
}

TEST(OutputPackers, NameOfSevenPacksEightIsRefusedAndReported) {
  Model m;
  CKTV_OutData& o = m.data.Output(0);
  auto out = m.Out(0);
  o.SetNameGbk("ABCDEFG");
  EXPECT_EQ(o.PackName(), NameResult::Ok);
  EXPECT_EQ(std::string(out.begin() + 290, out.begin() + 298), std::string("ABCDEFG\0", 8));
  o.SetNameGbk("AB");
  EXPECT_EQ(o.PackName(), NameResult::Ok);
  EXPECT_EQ(std::string(out.begin() + 290, out.begin() + 298), std::string("AB\0\0\0\0\0\0", 8));
  EXPECT_TRUE(m.reporter.messages.empty());

  o.SetNameGbk("ABCDEFGH");
  EXPECT_EQ(o.PackName(), NameResult::TooLong);
  EXPECT_EQ(std::string(out.begin() + 290, out.begin() + 298), std::string("AB\0\0\0\0\0\0", 8));
  ASSERT_EQ(m.reporter.messages.size(), 1U);
  EXPECT_EQ(m.reporter.messages[0], TextId::CharLenError);
  EXPECT_EQ(Tr(m.reporter.messages[0], true), "字符长度错误!");

  // Length counts record bytes: four Chinese characters are eight bytes.
  ASSERT_EQ(o.SetNameText("中文中文"), NameResult::Ok);
  EXPECT_EQ(o.PackName(), NameResult::TooLong);
  ASSERT_EQ(o.SetNameText("中文中"), NameResult::Ok);
  EXPECT_EQ(o.PackName(), NameResult::Ok);
  EXPECT_EQ(out[290], 0xD6);
  EXPECT_EQ(out[296], 0);
}

TEST(OutputPack, WholePackCoversEveryOwnedByteAndSparesStay) {
  Model m;
  m.data.LoadOutputs();
  auto out = m.Out(2);
  for (std::size_t at : {278, 279, 280, 281, 286, 287, 288, 289}) out[at] = 0xEE;
  m.data.Output(2).SetNameGbk("Sub");
  EXPECT_EQ(m.data.Output(2).PackAll(), NameResult::Ok);
  for (std::size_t at : {278, 279, 280, 281, 286, 287, 288, 289}) EXPECT_EQ(out[at], 0xEE) << at;
  EXPECT_EQ(out[290], 'S');
  EXPECT_EQ(out[293], 0);
  // A refused name still lets the rest be packed.
  m.data.Output(2).SetNameGbk("TooLongName");
  m.data.Output(2).SetDelayCode(7);
  EXPECT_EQ(m.data.Output(2).PackAll(), NameResult::TooLong);
  EXPECT_EQ(le::GetI16(out, 252), 7);
  EXPECT_EQ(out[290], 'S');
}

// Random output records within the fields' valid ranges, with random spare bytes.
void FillRandomOutput(std::span<std::uint8_t> out, std::mt19937& rng) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (auto& b : out) b = static_cast<std::uint8_t>(pick(0, 255));
  for (int b = 0; b < 31; ++b) {
    const std::size_t at = rec::OutBand(b);
    const int type = pick(0, 2);
    le::PutI16(out, at, static_cast<std::int16_t>(pick(20, 20000)));
    le::PutI16(out, at + 2, static_cast<std::int16_t>(pick(400, 800)));
    le::PutI16(out, at + 4, static_cast<std::int16_t>(pick(4, 295)));
    out[at + 6] = static_cast<std::uint8_t>(type == 0 ? 0 : pick(0, 1));
    out[at + 7] = static_cast<std::uint8_t>(type);
  }
  out[248] = static_cast<std::uint8_t>(pick(0, 1));
  out[249] = static_cast<std::uint8_t>(pick(0, 1));
  le::PutI16(out, 250, static_cast<std::int16_t>(pick(0, 60)));
  le::PutI16(out, 252, static_cast<std::int16_t>(pick(0, 2400)));
  out[254] = static_cast<std::uint8_t>(pick(0, 1));
  le::PutI16(out, 256, static_cast<std::int16_t>(pick(20, 20000)));
  out[258] = static_cast<std::uint8_t>(pick(0, 2));
  out[259] = static_cast<std::uint8_t>(pick(0, 7));
  le::PutI16(out, 260, static_cast<std::int16_t>(pick(20, 20000)));
  out[262] = static_cast<std::uint8_t>(pick(0, 2));
  out[263] = static_cast<std::uint8_t>(pick(0, 7));
  for (std::size_t s = 0; s < 14; ++s) out[264 + s] = static_cast<std::uint8_t>(pick(0, 100));
  le::PutI16(out, 282, static_cast<std::int16_t>(pick(0, 360)));
  out[284] = static_cast<std::uint8_t>(pick(0, 106));
  out[285] = static_cast<std::uint8_t>(pick(0, 5));
  // A name of 1..7 letters padded with zero bytes.
  const int len = pick(1, 7);
  for (int i = 0; i < 8; ++i)
    out[290 + static_cast<std::size_t>(i)] =
        i < len ? static_cast<std::uint8_t>(pick('A', 'Z')) : 0;
}

TEST(OutputPack, UnpackThenPackReproducesRandomRecords) {
  Model m;
  std::mt19937 rng(20261209);
  for (int round = 0; round < 40; ++round) {
    // A file load unpacks while edits are sent; a read-back before they are.
    m.state.liveSync = round % 2 == 1;
    for (int c = 0; c < 8; ++c) FillRandomOutput(m.Out(c), rng);
    const rec::StateRecord before = m.state.Live();
    m.data.LoadOutputs();
    for (int c = 0; c < 8; ++c) {
      SCOPED_TRACE(testing::Message() << "round " << round << " channel " << c);
      // Unpacking marks nothing.
      for (int k = 0; k < kOutputChangeCount; ++k) {
        EXPECT_FALSE(m.data.Output(c).Changed(static_cast<OutputChange>(k)));
      }
      for (int i = 0; i < 33; ++i) EXPECT_EQ(m.data.Output(c).Filter(i).Pending(), 0) << i;
      // Scribble over the record so that only what the pack writes survives.
      auto out = m.Out(c);
      for (std::size_t at = 0; at < 278; ++at) out[at] ^= 0x5A;
      for (std::size_t at = 282; at < 286; ++at) out[at] ^= 0x5A;
      for (std::size_t at = 290; at < 298; ++at) out[at] ^= 0x5A;
      ASSERT_EQ(m.data.Output(c).PackAll(), NameResult::Ok);
    }
    ASSERT_EQ(Differences(before, m.state.Live()), std::set<std::size_t>{});
  }
  EXPECT_TRUE(m.reporter.messages.empty());
}

TEST(OutputUnpack, EightCharacterNameStaysInTheRecordWhenRepacked) {
  Model m;
  auto out = m.Out(1);
  const std::string full = "12345678";
  std::copy(full.begin(), full.end(), out.begin() + 290);
  m.data.LoadOutputs();
  EXPECT_EQ(m.data.Output(1).NameGbk(), "12345678");
  EXPECT_EQ(m.data.Output(1).PackAll(), NameResult::TooLong);
  EXPECT_EQ(std::string(out.begin() + 290, out.begin() + 298), full);
}

TEST(OutputUnpack, NameIsTrimmedAndStopsAtTheFirstZero) {
  Model m;
  auto out = m.Out(0);
  const char raw[8] = {' ', 'L', 'e', 'f', 't', ' ', 0, 'X'};
  std::copy(raw, raw + 8, out.begin() + 290);
  m.data.LoadOutputs();
  EXPECT_EQ(m.data.Output(0).NameGbk(), "Left");
}

// ---------------------------------------------------------------------------------------
TEST(WholeModel, LoadClampsCrossoversOfTheFirstSixChannelsOnly) {
  Model m;
  for (int c = 0; c < 8; ++c) {
    le::PutI16(m.Out(c), rec::kOutHighPassFreq, 25000);
    le::PutI16(m.Out(c), rec::kOutLowPassFreq, 10);
  }
  m.data.Load(0);
  for (int c = 0; c < 6; ++c) {
    EXPECT_EQ(m.data.Output(c).HighPass().Frequency(), 20000) << c;
    EXPECT_EQ(m.data.Output(c).LowPass().Frequency(), 20) << c;
    EXPECT_EQ(le::GetI16(m.Out(c), rec::kOutHighPassFreq), 20000);
  }
  for (int c = 6; c < 8; ++c) {
    EXPECT_EQ(m.data.Output(c).HighPass().Frequency(), 25000) << c;
    EXPECT_EQ(m.data.Output(c).LowPass().Frequency(), 10) << c;
    EXPECT_EQ(le::GetI16(m.Out(c), rec::kOutHighPassFreq), 25000);
  }
  // The signed comparison leaves a frequency that reads negative for the damaged-value
  // rule: it loads as 20 Hz and the record keeps its bytes.
  le::PutU16(m.Out(0), rec::kOutHighPassFreq, 40000);
  m.data.Load(-1);
  EXPECT_EQ(m.data.Output(0).HighPass().Frequency(), 20);
}

TEST(WholeModel, EffectIsLoadedOnlyForArgumentsZeroAndSix) {
  for (int arg : {-1, 0, 1, 5, 6, 7}) {
    SCOPED_TRACE(arg);
    Model m;
    auto live = std::span<std::uint8_t>(m.state.Live());
    le::PutI16(live, rec::kEffectBlock + rec::OutBand(1), 2500);
    live[rec::kEffectParamOffsets[0]] = 99;
    m.data.Load(arg);
    const bool loaded = arg == 0 || arg == 6;
    EXPECT_EQ(m.data.Effect().Filters().At(1).Frequency(), loaded ? 2500 : 1000);
    EXPECT_EQ(m.data.Effect().Param(0), loaded ? 99 : 20);
    // Mic and music are always loaded.
    EXPECT_EQ(m.data.Mic().Filters().At(0).Frequency(), 1000);
    EXPECT_EQ(m.data.Music().NameGbk(), "");
  }
}

TEST(WholeModel, StoreThenLoadKeepsTheObjects) {
  Model m;
  m.data.LoadOutputs();
  m.data.Output(5).SetGainCode(33);
  m.data.Output(5).Filter(12).SetGainIndex(310);
  m.data.Music().SetGainCode(17);
  m.data.Effect().SetParam(10, 77);
  EXPECT_EQ(m.data.Store(), NameResult::Ok);
  auto live = std::span<const std::uint8_t>(m.state.Live());
  EXPECT_EQ(le::GetI16(live, rec::OutputOffset(5) + rec::kOutGain), 33);
  EXPECT_EQ(live[175], 77);
  EXPECT_EQ(le::GetI16(live, rec::kMusicBlock + rec::kInGain), 17);
  // Blank names of the start-up record pack as zero bytes.
  EXPECT_EQ(live[rec::OutputOffset(0) + rec::kOutName], 0);

  ProgramState other;
  other.Live() = m.state.Live();
  CKTV_Data copy(other);
  copy.Load(0);
  EXPECT_EQ(copy.Output(5).GainCode(), 33);
  EXPECT_EQ(copy.Output(5).Filter(12).GainIndex(), 310);
  EXPECT_EQ(copy.Music().GainCode(), 17);
  EXPECT_EQ(copy.Effect().Param(10), 77);
  EXPECT_EQ(copy.Effect().NameGbk(), "Effect");
  EXPECT_EQ(copy.Mic().NameGbk(), "Mic 1");
}

TEST(WholeModel, StoreReportsARefusedNameOnce) {
  Model m;
  m.data.Output(6).SetNameGbk("VeryLongName");
  EXPECT_EQ(m.data.Store(), NameResult::TooLong);
  EXPECT_EQ(m.reporter.messages.size(), 1U);
}

// ---------------------------------------------------------------------------------------
TEST(InputBlocks, MicAndMusicHoldTheirOwnCarriedBytes) {
  Model m;
  auto live = std::span<std::uint8_t>(m.state.Live());
  for (std::size_t block : {rec::kMicBlock, rec::kMusicBlock}) {
    auto b = live.subspan(block, rec::kInputBlockSize);
    for (std::size_t i = 72; i < 104; ++i) b[i] = static_cast<std::uint8_t>(i);
    // Bandwidth indexes 0..3 all read as 0.09 octave (index 4), so use real ones here.
    for (int band = 0; band < rec::kInputBands; ++band) le::PutI16(b, rec::OutBand(band) + 4, 15);
    const char name[8] = {'I', 'n', 0, 0, 0, 0, 0, 0};
    std::copy(name, name + 8, b.begin() + 104);
  }
  m.data.Load(-1);
  CMIC_InData& mic = m.data.Mic();
  CMusic_InData& music = m.data.Music();
  EXPECT_EQ(mic.LevelSwitchByte(0), 72);
  EXPECT_EQ(music.LevelSwitchByte(0), 0);  // not held by the music object
  EXPECT_EQ(music.LevelSwitchByte(1), 73);
  EXPECT_EQ(music.MusicOn(), 75);
  EXPECT_EQ(mic.CarriedByte(1), 0);
  EXPECT_EQ(music.CarriedByte(1), 99);
  EXPECT_EQ(mic.NameGbk(), "In");

  // Packing into blank blocks writes only what each object holds.
  const rec::StateRecord loaded = m.state.Live();
  std::array<std::uint8_t, rec::kInputBlockSize> micBlock{}, musicBlock{};
  micBlock.fill(0xCC);
  musicBlock.fill(0xCC);
  mic.Pack(micBlock);
  music.Pack(musicBlock);
  EXPECT_EQ(micBlock[72], 72);
  EXPECT_EQ(micBlock[99], 0xCC);
  EXPECT_EQ(musicBlock[72], 0xCC);
  EXPECT_EQ(musicBlock[74], 0xCC);
  EXPECT_EQ(musicBlock[73], 73);
  EXPECT_EQ(musicBlock[99], 99);
  for (std::size_t i = 89; i < 96; ++i) EXPECT_EQ(micBlock[i], 0xCC);  // spare
  EXPECT_EQ(micBlock[106], 0);
  // Store reproduces what was loaded.
  m.data.Store();
  for (std::size_t i = rec::kMicBlock; i < rec::kOutputRecords; ++i) {
    EXPECT_EQ(m.state.Live()[i], loaded[i]) << i;
  }
}

TEST(InputBlocks, GainPacksAsZeroWhileMuted) {
  Model m;
  CMusic_InData& music = m.data.Music();
  music.SetGainCode(0);
  EXPECT_TRUE(music.Muted());
  std::array<std::uint8_t, rec::kInputBlockSize> block{};
  block.fill(0xCC);
  music.Pack(block);
  EXPECT_EQ(le::GetI16(block, rec::kInGain), 0);
  music.SetGainCode(12);
  EXPECT_FALSE(music.Muted());
  music.Pack(block);
  EXPECT_EQ(le::GetI16(block, rec::kInGain), 12);
}

TEST(InputBlocks, LongNamesAreCutAtACharacterBoundary) {
  Model m;
  std::array<std::uint8_t, rec::kInputBlockSize> block{};
  m.data.Mic().SetNameGbk("Microphone");
  m.data.Mic().Pack(block);
  EXPECT_EQ(std::string(block.begin() + 104, block.end()), std::string("Microph\0", 8));
  // Four Chinese characters are eight bytes: three fit before the zero byte.
  ASSERT_EQ(m.data.Mic().SetNameText("中文中文"), NameResult::Ok);
  m.data.Mic().Pack(block);
  EXPECT_EQ(std::string(block.begin() + 104, block.end()),
            std::string("\xD6\xD0\xCE\xC4\xD6\xD0\0\0", 8));
  // The effect name likewise.
  ASSERT_EQ(m.data.Effect().SetNameText("A中文中文"), NameResult::Ok);
  m.data.Effect().Pack(m.state.Live());
  EXPECT_EQ(std::string(m.state.Live().begin() + 176, m.state.Live().begin() + 184),
            std::string("A\xD6\xD0\xCE\xC4\xD6\xD0\0", 8));
}

TEST(EffectBlock, PacksItsThreeBandsCrossoverAndParametersOnly) {
  Model m;
  auto live = std::span<std::uint8_t>(m.state.Live());
  for (std::size_t i = 56; i < 152; ++i) live[i] = 0xAB;  // bands 3..7, rest, unused
  for (std::size_t at : {164, 165, 167, 173, 174}) live[at] = 0xAB;
  m.data.Effect().Filters().At(2).SetGainIndex(260);
  m.data.Effect().Pack(live);
  for (std::size_t i = 56; i < 152; ++i) EXPECT_EQ(live[i], 0xAB) << i;
  for (std::size_t at : {164, 165, 167, 173, 174}) EXPECT_EQ(live[at], 0xAB) << at;
  EXPECT_EQ(le::GetI16(live, rec::kEffectBlock + rec::OutBand(0)), 100);
  EXPECT_EQ(le::GetI16(live, rec::kEffectBlock + rec::OutBand(2) + 2), 660);
  const std::array<int, 11> params = {20, 84, 50, 68, 0, 18, 50, 0, 40, 50, 0};
  for (std::size_t i = 0; i < params.size(); ++i) {
    EXPECT_EQ(live[rec::kEffectParamOffsets[i]], params[i]) << i;
  }
  EXPECT_EQ(le::GetI16(live, rec::kEffectCrossover), 20);
  EXPECT_EQ(le::GetI16(live, rec::kEffectCrossover + 4), 20000);
  EXPECT_EQ(std::string(live.begin() + 176, live.begin() + 184), std::string("Effect\0\0", 8));
}

}  // namespace
}  // namespace vantor
