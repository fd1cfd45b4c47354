// Preset files: their layout, the signature, what a load replaces, and that a bad file or a
// failed save never changes anything.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/ByteArchive.h"
#include "base/FileIo.h"
#include "base/LittleEndian.h"
#include "connection/LinkRig.h"
#include "presets/PresetController.h"
#include "presets/PresetFormat.h"
#include "presets/PresetSerializer.h"

namespace vantor::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

const Bytes kSignature = {0x0F, 'T', 'R', 'X', '-', '6', '2', '0',
                          '-',  'M', 'A', 'X', '-', '1', '.', '0'};

Bytes StoreSingle(CKTV_Data& model) {
  ByteArchive ar;
  EXPECT_TRUE(SerializePreset(ar, model));
  return ar.Bytes();
}

Bytes StoreAll(CKTV_Data& model) {
  ByteArchive ar;
  EXPECT_TRUE(SerializeAllPresets(ar, model));
  return ar.Bytes();
}

// A program whose records all differ from the start-up ones in a recognisable way.
void Scribble(ProgramState& s) {
  for (std::size_t i = 0; i < rec::kSystemAreaSize; ++i)
    s.SystemArea()[i] = static_cast<std::uint8_t>(i + 1);
  for (int n = 1; n <= rec::kSlotRecordCount; ++n) {
    s.Slot(n)[0] = static_cast<std::uint8_t>('A' + n - 1);
    s.Slot(n)[rec::kMusicOnFlag] = 0;
    le::PutI16(s.Slot(n), rec::OutputOffset(2) + rec::kOutGain, static_cast<std::int16_t>(n));
  }
  for (std::size_t i = 0; i < rec::kDelayPositionsSize; ++i)
    s.DelayPositions()[i] = static_cast<std::uint8_t>(100 + i);
}

TEST(PresetFile, SinglePresetFileIsSignatureAndLiveRecordWithMusicOn) {
  ProgramState state;
  CKTV_Data model(state);
  model.LoadOutputs();
  model.Output(3).SetGainCode(42);
  state.Live()[rec::kMusicOnFlag] = 0;

  const Bytes file = StoreSingle(model);
  ASSERT_EQ(file.size(), 2808U);
  EXPECT_TRUE(std::equal(kSignature.begin(), kSignature.end(), file.begin()));
  EXPECT_EQ(file[16 + 371], 1) << "music-on flag set on store";
  // The objects were written into the live record before it was copied.
  EXPECT_EQ(le::GetI16(file, 16 + rec::OutputOffset(3) + rec::kOutGain), 42);
  EXPECT_TRUE(std::equal(state.Live().begin(), state.Live().end(), file.begin() + 16));
}

TEST(PresetFile, AllPresetsFileLaysOutEveryRecordInOrder) {
  ProgramState state;
  CKTV_Data model(state);
  model.LoadOutputs();
  Scribble(state);
  state.Live()[rec::kMusicOnFlag] = 0;

  const Bytes file = StoreAll(model);
  ASSERT_EQ(file.size(), 58730U);
  EXPECT_TRUE(std::equal(kSignature.begin(), kSignature.end(), file.begin()));
  EXPECT_TRUE(std::equal(state.SystemArea().begin(), state.SystemArea().end(), file.begin() + 16));
  for (int n = 1; n <= 20; ++n) {
    const std::size_t at = 48 + 2792 * static_cast<std::size_t>(n - 1);
    EXPECT_EQ(file[at], 'A' + n - 1) << n;
    EXPECT_EQ(file[at + 371], 1) << "music-on flag of slot " << n;
    EXPECT_EQ(le::GetI16(file, at + rec::OutputOffset(2) + rec::kOutGain), n);
  }
  EXPECT_EQ(file[55888 + 371], 1);
  EXPECT_TRUE(std::equal(state.Live().begin(), state.Live().end(), file.begin() + 55888));
  EXPECT_TRUE(std::equal(state.DelayPositions().begin(), state.DelayPositions().end(),
                         file.begin() + 58680));
}

TEST(PresetFile, AllPresetsRoundTripReplacesEveryRecord) {
  ProgramState written;
  CKTV_Data writer(written);
  writer.LoadOutputs();
  Scribble(written);
  writer.Output(5).SetDelayCode(480);
  const Bytes file = StoreAll(writer);

  ProgramState read;
  CKTV_Data reader(read);
  reader.LoadOutputs();
  ByteArchive in(file);
  ASSERT_TRUE(SerializeAllPresets(in, reader));
  EXPECT_EQ(read.SystemArea(), written.SystemArea());
  for (int n = 1; n <= 20; ++n) EXPECT_EQ(read.Slot(n), written.Slot(n)) << n;
  EXPECT_EQ(read.Live(), written.Live());
  // The table comes byte for byte, except a listening position past the fourth (here 148),
  // which becomes the fourth.
  auto expected = written.DelayPositions();
  ASSERT_EQ(expected[rec::kDelaySelectedPosition], 148);
  expected[rec::kDelaySelectedPosition] = 3;
  EXPECT_EQ(read.DelayPositions(), expected);
  EXPECT_EQ(reader.Output(5).DelayCode(), 480) << "the live record reached the objects";
}

TEST(PresetFile, NameFieldOfTheFileBecomesTheLiveName) {
  ProgramState state;
  CKTV_Data model(state);
  model.LoadOutputs();
  Bytes file = StoreSingle(model);
  const std::string name = "Evening";
  std::copy(name.begin(), name.end(), file.begin() + 16);

  ProgramState other;
  CKTV_Data reader(other);
  ByteArchive in(file);
  ASSERT_TRUE(SerializePreset(in, reader));
  EXPECT_EQ(std::string(other.Live().begin(), other.Live().begin() + 7), name);
}

// Every way a file can be wrong; none of them may change a byte of memory.
TEST(PresetFile, WrongSizeOrSignatureChangesNothing) {
  ProgramState source;
  CKTV_Data sourceModel(source);
  sourceModel.LoadOutputs();
  Scribble(source);
  const Bytes single = StoreSingle(sourceModel);
  const Bytes all = StoreAll(sourceModel);

  auto variants = [](const Bytes& good) {
    std::vector<Bytes> bad;
    bad.push_back(Bytes(good.begin(), good.end() - 1));      // one byte short
    bad.push_back(Bytes(good.begin(), good.begin() + 100));  // truncated early
    Bytes longer = good;
    longer.push_back(0);
    bad.push_back(longer);  // one byte long
    Bytes lower = good;
    lower[1] = 't';  // the signature is compared with its case
    bad.push_back(lower);
    Bytes length = good;
    length[0] = 0x0E;
    bad.push_back(length);
    bad.push_back({});
    return bad;
  };

  ProgramState target;
  CKTV_Data model(target);
  model.LoadOutputs();
  model.Output(1).SetGainCode(17);
  model.Store();
  const rec::StateRecord live = target.Live();
  const rec::StateRecord slot3 = target.Slot(3);
  const auto system = target.SystemArea();
  for (const Bytes& bad : variants(single)) {
    ByteArchive ar(bad);
    EXPECT_FALSE(SerializePreset(ar, model)) << bad.size();
  }
  for (const Bytes& bad : variants(all)) {
    ByteArchive ar(bad);
    EXPECT_FALSE(SerializeAllPresets(ar, model)) << bad.size();
  }
  // A file of the other kind is no file of this kind.
  ByteArchive wrongKind(all);
  EXPECT_FALSE(SerializePreset(wrongKind, model));
  EXPECT_EQ(target.Live(), live);
  EXPECT_EQ(target.Slot(3), slot3);
  EXPECT_EQ(target.SystemArea(), system);
  EXPECT_EQ(model.Output(1).GainCode(), 17);
}

TEST(PresetFileNames, ExtensionIsAppendedOnlyWhenMissingAndIsReadInAnyCase) {
  EXPECT_EQ(WithPresetExtension("abc", PresetKind::kSingle), "abc.dsps");
  EXPECT_EQ(WithPresetExtension("abc.dsps", PresetKind::kSingle), "abc.dsps");
  EXPECT_EQ(WithPresetExtension("ABC.DSPS", PresetKind::kSingle), "ABC.DSPS");
  EXPECT_EQ(WithPresetExtension("abc.dspa", PresetKind::kSingle), "abc.dspa.dsps");
  EXPECT_EQ(WithPresetExtension("dir/abc", PresetKind::kAll), "dir/abc.dspa");
  EXPECT_EQ(WithPresetExtension("v1.2", PresetKind::kAll), "v1.2.dspa");

  EXPECT_EQ(PresetKindOfPath("X.DSPS"), PresetKind::kSingle);
  EXPECT_EQ(PresetKindOfPath("a/b.Dspa"), PresetKind::kAll);
  EXPECT_EQ(PresetKindOfPath("a.dsp"), PresetKind::kNone);
  EXPECT_EQ(PresetKindOfPath("noext"), PresetKind::kNone);
  EXPECT_EQ(PresetKindOfPath("folder.dsps/file"), PresetKind::kNone)
      << "the last dot of the whole path";
}

// --- Saving and loading through the preset operations (no device connected).

class PresetFileFlow : public ::testing::Test {
 protected:
  PresetFileFlow() { rig.State().chinese = false; }
  LinkRig rig;
  PresetController presets{rig.Controller()};
  std::filesystem::path Path(const std::string& name) const { return rig.dir.Path() / name; }
};

TEST_F(PresetFileFlow, SaveAppendsTheExtensionOnlyWhenMissing) {
  auto r = presets.SaveSinglePresetFile(Path("abc"));
  ASSERT_TRUE(r.Ok());
  EXPECT_EQ(r.path, Path("abc.dsps"));
  r = presets.SaveSinglePresetFile(Path("abc.dsps"));
  EXPECT_EQ(r.path, Path("abc.dsps"));
  EXPECT_FALSE(std::filesystem::exists(Path("abc.dsps.dsps")));
  EXPECT_EQ(std::filesystem::file_size(Path("abc.dsps")), 2808U);
  EXPECT_TRUE(rig.Screen().messages.empty());
}

TEST_F(PresetFileFlow, CapitalExtensionLoadsAndIsStoredWithTheConnectionError) {
  rig.Model().Output(4).SetPhase(1);
  ASSERT_TRUE(presets.SaveSinglePresetFile(Path("X.DSPS")).Ok());
  rig.Model().Output(4).SetPhase(0);
  const int refreshes = rig.Screen().refreshes;

  const PresetResult r = presets.LoadFile(Path("X.DSPS"));
  EXPECT_TRUE(r.loaded);
  EXPECT_EQ(r.kind, PresetKind::kSingle);
  EXPECT_EQ(rig.Model().Output(4).Phase(), 1);
  // No device: the panels show the file, the store reports that it cannot connect.
  EXPECT_EQ(r.status, PresetStatus::kNotConnected);
  EXPECT_EQ(rig.Screen().statusMessages, std::vector<TextId>{TextId::UnableToConnect});
  EXPECT_EQ(rig.Screen().refreshes, refreshes + 1);
}

TEST_F(PresetFileFlow, UnknownExtensionIsIgnoredSilently) {
  ASSERT_TRUE(presets.SaveSinglePresetFile(Path("a.dsps")).Ok());
  std::filesystem::copy_file(Path("a.dsps"), Path("a.txt"));
  const PresetResult r = presets.LoadFile(Path("a.txt"));
  EXPECT_EQ(r.status, PresetStatus::kIgnored);
  EXPECT_FALSE(r.loaded);
  EXPECT_TRUE(rig.Screen().messages.empty());
  EXPECT_TRUE(rig.Screen().statusMessages.empty());
}

TEST_F(PresetFileFlow, BadFilesShowTheirKindsMessageAndChangeNothing) {
  ASSERT_TRUE(presets.SaveSinglePresetFile(Path("good.dsps")).Ok());
  Bytes shortFile = ReadAll(Path("good.dsps"));
  shortFile.resize(2000);
  WriteAll(Path("short.dsps"), shortFile);
  WriteAll(Path("short.dspa"), shortFile);
  rig.Model().Output(0).SetGainCode(33);
  rig.Model().Store();
  const rec::StateRecord live = rig.State().Live();

  PresetResult r = presets.LoadFile(Path("short.dsps"));
  EXPECT_EQ(r.status, PresetStatus::kFileError);
  EXPECT_EQ(r.message, TextId::PresetFileError);
  r = presets.LoadFile(Path("short.dspa"));
  EXPECT_EQ(r.message, TextId::AllPresetsReadError);
  r = presets.LoadFile(Path("missing.dsps"));
  EXPECT_EQ(r.message, TextId::PresetFileError);
  r = presets.LoadFile(rig.dir.Path());  // a folder named like nothing
  EXPECT_EQ(r.status, PresetStatus::kIgnored);

  EXPECT_EQ(rig.Screen().messages,
            (std::vector<TextId>{TextId::PresetFileError, TextId::AllPresetsReadError,
                                 TextId::PresetFileError}));
  EXPECT_EQ(rig.State().Live(), live);
  EXPECT_EQ(rig.Model().Output(0).GainCode(), 33);
  EXPECT_TRUE(rig.Screen().statusMessages.empty()) << "nothing was sent";
}

TEST_F(PresetFileFlow, AllPresetsLoadWithoutDeviceSendsNothingAndClampsThePosition) {
  rig.State().DelayPositions()[rec::kDelaySelectedPosition] = 7;
  ASSERT_TRUE(ReplaceFile(Path("p.dspa"), StoreAll(rig.Model())).Ok());
  rig.State().DelayPositions()[rec::kDelaySelectedPosition] = 0;

  const PresetResult r = presets.LoadFile(Path("p.dspa"));
  EXPECT_TRUE(r.loaded);
  EXPECT_EQ(r.status, PresetStatus::kNotConnected);
  EXPECT_FALSE(r.message.has_value());
  EXPECT_EQ(rig.State().DelayPositions()[rec::kDelaySelectedPosition], 3);
  EXPECT_TRUE(rig.Screen().statusMessages.empty()) << "send-all is silent without a device";
}

TEST_F(PresetFileFlow, AllPresetsSaveNeedsADeviceBeforeAnyDialog) {
  EXPECT_FALSE(presets.CanSaveAllPresets());
  const PresetResult r = presets.SaveAllPresetsFile(Path("all"));
  EXPECT_EQ(r.status, PresetStatus::kNotConnected);
  EXPECT_FALSE(presets.AllPresetsSavePending());
  EXPECT_FALSE(std::filesystem::exists(Path("all.dspa")));
  EXPECT_EQ(rig.Screen().statusMessages.size(), 2U);
}

TEST_F(PresetFileFlow, SaveThatCannotBeWrittenSaysSoWithThePathAndTheReason) {
  const PresetResult r = presets.SaveSinglePresetFile(Path("no-such-folder/x"));
  EXPECT_EQ(r.status, PresetStatus::kFileError);
  EXPECT_EQ(rig.Screen().messages, std::vector<TextId>{TextId::PresetSaveError});
  const std::string expected =
      Path("no-such-folder/x.dsps").string() + ": No such file or directory";
  EXPECT_EQ(rig.Screen().details, std::vector<std::string>{expected});

  rig.State().chinese = true;
  presets.SaveSinglePresetFile(Path("no-such-folder/x"));
  EXPECT_EQ(rig.Screen().details.back(),
            Path("no-such-folder/x.dsps").string() + ": 文件或文件夹不存在");
}

TEST_F(PresetFileFlow, ALoadErrorNamesTheFileAndWhatIsWrongWithIt) {
  rig.State().chinese = false;
  WriteAll(Path("huge.dsps"), Bytes(100000, 0));
  WriteAll(Path("foreign.dsps"), Bytes(2808, 0));
  presets.LoadFile(Path("huge.dsps"));
  presets.LoadFile(Path("foreign.dsps"));
  presets.LoadFile(Path("gone.dspa"));
  EXPECT_EQ(rig.Screen().details,
            (std::vector<std::string>{
                Path("huge.dsps").string() + ": not a single-preset file (.dsps)",
                Path("foreign.dsps").string() + ": not a preset file (wrong signature)",
                Path("gone.dspa").string() + ": No such file or directory"}));
}

}  // namespace
}  // namespace vantor::testing
