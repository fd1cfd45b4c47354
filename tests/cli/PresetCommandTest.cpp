// vantorctl preset new/show/set/diff, response and report, run on files.

#include <gtest/gtest.h>

#include "base/ByteArchive.h"
#include "base/FileIo.h"
#include "base/LittleEndian.h"
#include "cli/ExitCodes.h"
#include "cli/PresetImage.h"
#include "cli/ToolRun.h"
#include "connection/LinkRig.h"
#include "model/EditConversion.h"
#include "presets/PresetSerializer.h"

namespace vantor::cli::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

class PresetTool : public PresetFiles {
 protected:
  std::unique_ptr<Program> Open(const std::string& path) { return OpenProgram(path); }
};

TEST_F(PresetTool, NewIsTheStartUpProgramAsTheApplicationSavesIt) {
  const std::string file = NewFile("start.dsps");
  // What the application holds right after start: the model over the start-up record with
  // the outputs loaded, saved through the document.
  ProgramState state;
  CKTV_Data model(state);
  model.LoadOutputs();
  ByteArchive ar;
  ASSERT_TRUE(SerializePreset(ar, model));
  EXPECT_EQ(FileBytes(file), ar.Bytes());
  EXPECT_EQ(FileBytes(file).size(), 2808U);
  EXPECT_EQ(FileBytes(file)[16 + 371], 1);

  // The extension is added when missing, not twice.
  EXPECT_EQ(RunTool({"preset", "new", Path("plain")}).code, kExitOk);
  EXPECT_TRUE(std::filesystem::exists(Path("plain.dsps")));
  EXPECT_FALSE(std::filesystem::exists(Path("start.dsps.dsps")));
}

TEST_F(PresetTool, SetChangesValuesThroughTheModelAndSavesInPlace) {
  const std::string file = NewFile("a.dsps");
  const ToolRun r = RunTool({"preset",
                             "set",
                             file,
                             "out3.gain=-6",
                             "out3.band5.freq=1000",
                             "out3.band5.gain=3.5",
                             "out3.band5.q=1.41",
                             "out3.band5.type=highshelf6",
                             "out3.hp.freq=80",
                             "out3.hp.family=linkwitz",
                             "out3.hp.slope=4",
                             "out3.lp.freq=12000",
                             "out3.delay=1.25",
                             "out3.phase=inverted",
                             "out3.on=0",
                             "out3.name=Tweet",
                             "out3.mix7=50",
                             "out3.limiter.threshold=-3",
                             "out3.limiter.attack=0.7",
                             "out3.limiter.release=2",
                             "name=Evening",
                             "out8.gain=OFF"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_TRUE(r.out.empty());
  const auto p = Open(file);
  ASSERT_TRUE(p);
  CKTV_OutData& out3 = p->model.Output(2);  // CH3 is output index 2
  EXPECT_EQ(out3.GainCode(), 54);
  EXPECT_EQ(out3.Filter(4).Frequency(), 2000)
      << "band 5 is index 4; a high shelf sits at 2 kHz or above";
  EXPECT_EQ(out3.Filter(4).GainIndex(), 235);
  EXPECT_EQ(out3.Filter(4).EqType(), 3);
  EXPECT_EQ(out3.HighPass().Frequency(), 80);
  EXPECT_EQ(out3.HighPass().Family(), kLinkwitzRiley);
  EXPECT_EQ(out3.HighPass().Slope(), 4);
  EXPECT_EQ(out3.LowPass().Frequency(), 12000);
  EXPECT_EQ(out3.DelayCode(), 60);
  EXPECT_EQ(out3.Phase(), 1);
  EXPECT_EQ(out3.OutputOn(), 0);
  EXPECT_EQ(out3.NameText(), "Tweet");
  EXPECT_EQ(out3.MixerLevel(6), 50);
  EXPECT_EQ(out3.ThresholdCode(), 270);
  EXPECT_EQ(out3.AttackCode(), 4);
  EXPECT_EQ(out3.ReleaseCode(), 2);
  EXPECT_TRUE(p->model.Output(7).Muted());
  EXPECT_EQ(std::string(p->state.Live().begin(), p->state.Live().begin() + 8),
            std::string("Evening") + '\0');
  // Q 1.41 is the first table entry at or below it: shown as 1.425.
  EXPECT_EQ(FormatEditCode(EditScale{kEditBandwidthQ, 0, 295}, out3.Filter(4).BandwidthIndex()),
            "1.425");
  EXPECT_EQ(p->model.Output(1).GainCode(), 60) << "other outputs untouched";
}

TEST_F(PresetTool, SettingAValueToWhatItIsLeavesTheFileByteForByte) {
  const std::string file = NewFile("a.dsps");
  const Bytes before = FileBytes(file);
  ASSERT_EQ(RunTool({"preset", "set", file, "out1.gain=0", "out2.hp.freq=20"}).code, kExitOk);
  EXPECT_EQ(FileBytes(file), before);
}

TEST_F(PresetTool, BadKeyOrValueIsRefusedByNameAndTheFileStaysAsItWas) {
  const std::string file = NewFile("a.dsps");
  ASSERT_EQ(RunTool({"preset", "set", file, "out2.gain=-3"}).code, kExitOk);
  const Bytes before = FileBytes(file);
  struct Case {
    std::vector<std::string> edits;
    std::string mention;
  };
  const std::vector<Case> cases = {
      {{"out9.gain=-3"}, "out9.gain"},
      {{"out0.gain=-3"}, "out0.gain"},
      {{"out3.band32.freq=100"}, "out3.band32.freq"},
      {{"out3.gain=+1"}, "out3.gain"},
      {{"out3.gain=-6dBx"}, "out3.gain"},
      {{"out3.band5.gain=20.5"}, "out3.band5.gain"},
      {{"out3.band5.freq=19"}, "out3.band5.freq"},
      {{"out3.band5.freq=100.5"}, "out3.band5.freq"},
      {{"out3.band5.q=20"}, "out3.band5.q"},
      {{"out3.band5.type=notch"}, "out3.band5.type"},
      {{"out3.hp.slope=8"}, "out3.hp.slope"},
      {{"out3.hp.family=chebyshev"}, "out3.hp.family"},
      {{"out3.delay=51"}, "out3.delay"},
      {{"out3.limiter.attack=0.95"}, "out3.limiter.attack"},
      {{"out3.mix15=10"}, "out3.mix15"},
      {{"out3.name=TooLongName"}, "out3.name"},
      {{"name=ABCDEFGHIJKLMNOP"}, "name="},
      {{"source=bluetooth"}, "single-preset"},
      {{"speaker1=3"}, "single-preset"},
      {{"out3.gain"}, "KEY=VALUE"},
      // A good edit before a bad one changes nothing either.
      {{"out1.gain=-10", "out3.hp.freq=5000", "out3.lp.freq=4000"}, "out3.lp.freq"},
      {{"out1.gain=-10", "colour=red"}, "colour"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"preset", "set", file};
    args.insert(args.end(), c.edits.begin(), c.edits.end());
    const ToolRun r = RunTool(args);
    EXPECT_EQ(r.code, kExitUsage) << c.mention;
    EXPECT_TRUE(r.OneErrorLine()) << r.err;
    EXPECT_NE(r.err.find(c.mention), std::string::npos) << r.err;
    EXPECT_EQ(FileBytes(file), before) << c.mention;
  }
}

TEST_F(PresetTool, AllPresetsFilesTakeTheSystemKeysAndKeepTheirSlots) {
  ProgramState state;
  CKTV_Data model(state);
  model.LoadOutputs();
  for (int n = 1; n <= 20; ++n)
    le::PutI16(state.Slot(n), rec::OutputOffset(0) + rec::kOutDelay, static_cast<std::int16_t>(n));
  ByteArchive ar;
  ASSERT_TRUE(SerializeAllPresets(ar, model));
  const std::string file = Path("all.dspa");
  ASSERT_TRUE(ReplaceFile(file, ar.Bytes()).Ok());

  const ToolRun r = RunTool(
      {"preset", "set", file, "source=bluetooth", "volume=-10", "speaker8=22", "out1.gain=-1"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const auto p = Open(file);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->model.InputSource(), 2);
  EXPECT_EQ(p->model.MasterVolume(), 50);
  EXPECT_EQ(p->model.SpeakerType(7), 22);
  EXPECT_EQ(p->model.Output(0).GainCode(), 59);
  for (int n = 1; n <= 20; ++n)
    EXPECT_EQ(le::GetI16(p->state.Slot(n), rec::OutputOffset(0) + rec::kOutDelay), n);

  // The speaker-type menu's rules hold: no type twice, no full-range speaker beside a tweeter.
  const Bytes before = FileBytes(file);
  ToolRun clash = RunTool({"preset", "set", file, "speaker2=1"});
  EXPECT_EQ(clash.code, kExitUsage);
  EXPECT_NE(clash.err.find("speaker2=1"), std::string::npos);
  clash = RunTool({"preset", "set", file, "speaker3=6"});
  EXPECT_EQ(clash.code, kExitUsage);
  EXPECT_EQ(FileBytes(file), before);
}

TEST_F(PresetTool, ShowListsEveryOutputInUnitsAndJsonSaysTheSame) {
  const std::string file = NewFile("a.dsps");
  ASSERT_EQ(
      RunTool({"preset", "set", file, "out2.gain=-6", "out2.delay=1.25", "out2.band31.gain=-3.5"})
          .code,
      kExitOk);
  ToolRun r = RunTool({"preset", "show", file});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_NE(r.out.find("CH8"), std::string::npos);
  EXPECT_NE(r.out.find("Gain: -6dB   Delay: 1.250ms"), std::string::npos);
  EXPECT_NE(r.out.find("-3.5dB"), std::string::npos);
  r = RunTool({"--lang", "zh", "preset", "show", file});
  EXPECT_NE(r.out.find("增益: -6dB"), std::string::npos);

  r = RunTool({"preset", "show", file, "--json"});
  ASSERT_EQ(r.code, kExitOk);
  EXPECT_EQ(r.out.rfind("{\"kind\":\"single\",\"live\":{", 0), 0U) << r.out.substr(0, 80);
  EXPECT_NE(r.out.find("\"gain_db\":-6,\"delay_ms\":1.25"), std::string::npos);
  EXPECT_EQ(r.out.find("\"system\""), std::string::npos);
}

TEST_F(PresetTool, ShowOfAnAllPresetsFileHasTheSystemLiveAndTwentySlots) {
  ProgramState state;
  CKTV_Data model(state);
  model.LoadOutputs();
  ByteArchive ar;
  ASSERT_TRUE(SerializeAllPresets(ar, model));
  ASSERT_TRUE(ReplaceFile(Path("all.dspa"), ar.Bytes()).Ok());
  ToolRun r = RunTool({"preset", "show", Path("all.dspa")});
  ASSERT_EQ(r.code, kExitOk);
  EXPECT_NE(r.out.find("== system"), std::string::npos);
  EXPECT_NE(r.out.find("== live program"), std::string::npos);
  EXPECT_NE(r.out.find("== slot 20"), std::string::npos);
  r = RunTool({"preset", "show", Path("all.dspa"), "--json"});
  std::size_t programs = 0;
  for (std::size_t at = r.out.find("\"outputs\""); at != std::string::npos;
       at = r.out.find("\"outputs\"", at + 1))
    ++programs;
  EXPECT_EQ(programs, 21U);
}

TEST_F(PresetTool, DiffNamesWhatDiffersInUnits) {
  const std::string a = NewFile("a.dsps");
  const std::string b = NewFile("b.dsps");
  ToolRun r = RunTool({"preset", "diff", a, b});
  EXPECT_EQ(r.code, kExitOk);
  EXPECT_TRUE(r.out.empty());
  ASSERT_EQ(RunTool({"preset", "set", b, "out4.band2.gain=6", "out4.phase=inverted"}).code,
            kExitOk);
  r = RunTool({"preset", "diff", a, b});
  ASSERT_EQ(r.lines.size(), 2U) << r.out;
  EXPECT_EQ(r.lines[0], "out4.phase: normal -> inverted");
  EXPECT_EQ(r.lines[1], "out4.band2.gain: 0.0dB -> 6.0dB");
}

TEST_F(PresetTool, ResponseIsTheChannelCurveOfTheLoadedFile) {
  const std::string file = NewFile("a.dsps");
  ASSERT_EQ(RunTool({"preset", "set", file, "out3.hp.freq=80", "out3.hp.family=linkwitz",
                     "out3.hp.slope=2", "out3.band10.freq=1000", "out3.band10.gain=6"})
                .code,
            kExitOk);
  const ToolRun r = RunTool({"response", file, "--channel", "3"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  ASSERT_EQ(r.lines.size(), 241U);
  // Every other filter of the set is flat: the sum is the curve of these two filters.
  const ToolRun curve = RunTool({"curve", "type=highpass,freq=80,slope=2,family=linkwitz",
                                 "type=peak,freq=1000,gain=6,bw=15"});
  EXPECT_EQ(r.out, curve.out);

  const ToolRun all = RunTool({"response", file});
  ASSERT_EQ(all.lines.size(), 8U * 242U);
  EXPECT_EQ(all.lines[0], "# CH1");
  EXPECT_EQ(all.lines[2 * 242], "# CH3");
  EXPECT_EQ(std::vector<std::string>(all.lines.begin() + 2 * 242 + 1, all.lines.begin() + 3 * 242),
            r.lines);
  EXPECT_EQ(all.lines[1], "19.7 0.000000000");
  EXPECT_EQ(RunTool({"response", file, "--channel", "9"}).code, kExitUsage);
}

TEST_F(PresetTool, ReportIsATableAndASpreadsheetFile) {
  const std::string file = NewFile("a.dsps");
  ASSERT_EQ(RunTool({"preset", "set", file, "out1.name=Sub, L"}).code, kExitOk);
  ToolRun r = RunTool({"report", file});
  ASSERT_EQ(r.code, kExitOk);
  EXPECT_EQ(r.lines[0].rfind("Parameter", 0), 0U);
  EXPECT_NE(r.lines[0].find("CH8"), std::string::npos);
  // Name, output, phase, gain, delay, EQ mode, 2 x 3 crossover rows, 3 limiter rows,
  // 14 mixer rows, 31 x 4 band rows.
  EXPECT_EQ(r.lines.size(), 1U + 6U + 6U + 3U + 14U + 124U);

  const std::string csv = Path("r.csv");
  r = RunTool({"report", file, "--lang", "zh", "--csv", csv});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const Bytes bytes = FileBytes(csv);
  const std::string text(bytes.begin(), bytes.end());
  EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(text.substr(3, text.find("\r\n") - 3), "参数,CH1,CH2,CH3,CH4,CH5,CH6,CH7,CH8");
  EXPECT_NE(text.find("名称,\"Sub, L\","), std::string::npos) << "a comma in a field is quoted";
  EXPECT_NE(text.find("\r\n增益,0dB,"), std::string::npos);
}

TEST_F(PresetTool, FileProblemsExitWithTwoAndUsageWithOne) {
  EXPECT_EQ(RunTool({"preset", "show", Path("missing.dsps")}).code, kExitFile);
  std::ofstream(Path("junk.dsps")) << "not a preset";
  ToolRun r = RunTool({"preset", "show", Path("junk.dsps")});
  EXPECT_EQ(r.code, kExitFile);
  EXPECT_TRUE(r.OneErrorLine());
  EXPECT_NE(r.err.find("not a preset file (12 bytes;"), std::string::npos) << r.err;
  // The real size, however large the file.
  std::ofstream(Path("big.dsps")) << std::string(100000, 'x');
  r = RunTool({"preset", "show", Path("big.dsps")});
  EXPECT_NE(r.err.find("big.dsps: not a preset file (100000 bytes;"), std::string::npos) << r.err;
  Bytes wrong = FileBytes(NewFile("a.dsps"));
  wrong[5] = 'x';
  ASSERT_TRUE(ReplaceFile(Path("sig.dsps"), wrong).Ok());
  r = RunTool({"preset", "set", Path("sig.dsps"), "out1.gain=-1"});
  EXPECT_EQ(r.code, kExitFile);
  EXPECT_NE(r.err.find("signature"), std::string::npos);
  EXPECT_EQ(FileBytes(Path("sig.dsps")), wrong);

  EXPECT_EQ(RunTool({"preset"}).code, kExitUsage);
  EXPECT_EQ(RunTool({"preset", "bogus"}).code, kExitUsage);
  EXPECT_EQ(RunTool({"preset", "show"}).code, kExitUsage);
  EXPECT_EQ(RunTool({"preset", "diff", Path("a.dsps")}).code, kExitUsage);
  EXPECT_EQ(RunTool({"report", Path("a.dsps"), "--lang", "fr"}).code, kExitUsage);
  for (const char* command : {"new", "show", "set", "diff"}) {
    r = RunTool({"preset", command, "--help"});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_NE(r.out.find(std::string("usage: vantorctl preset ") + command), std::string::npos);
  }
}

TEST_F(PresetTool, AListeningPositionPastTheFourthShowsAsTheFourth) {
  ProgramState state;
  CKTV_Data model(state);
  model.LoadOutputs();
  state.DelayPositions()[rec::kDelaySelectedPosition] = 7;
  ByteArchive ar;
  ASSERT_TRUE(SerializeAllPresets(ar, model));
  ASSERT_TRUE(ReplaceFile(Path("p.dspa"), ar.Bytes()).Ok());
  const ToolRun r = RunTool({"preset", "show", Path("p.dspa")});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_NE(r.out.find("listening position: 4\n"), std::string::npos);
  EXPECT_EQ(r.out.find("listening position: 8"), std::string::npos);
  const ToolRun json = RunTool({"preset", "show", Path("p.dspa"), "--json"});
  EXPECT_NE(json.out.find("\"listening_position\":3"), std::string::npos);
}

}  // namespace
}  // namespace vantor::cli::testing
