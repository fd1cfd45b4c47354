#include "presets/PresetSerializer.h"

#include <algorithm>
#include <array>
#include <memory>

#include "model/DataDefine.h"
#include "model/ProgramState.h"

namespace vantor {
namespace {

std::array<std::uint8_t, kPresetSignatureSize> Signature() {
  std::array<std::uint8_t, kPresetSignatureSize> s{};
  s[0] = static_cast<std::uint8_t>(kPresetSignatureText.size());
  std::copy(kPresetSignatureText.begin(), kPresetSignatureText.end(), s.begin() + 1);
  return s;
}

void WriteSignature(ByteArchive& ar) {
  const auto s = Signature();
  ar.WriteBytes(s);
}

// Reads and checks the signature of an archive that holds exactly `size` bytes.
bool ReadSignature(ByteArchive& ar, std::size_t size) {
  if (ar.Remaining() != size) return false;
  std::array<std::uint8_t, kPresetSignatureSize> s{};
  return ar.ReadBytes(s) && s == Signature();
}

void SetMusicOn(rec::StateRecord& record) { record[rec::kMusicOnFlag] = 1; }

constexpr std::uint8_t kLastListeningPosition = 3;

}  // namespace

bool HasPresetSignature(std::span<const std::uint8_t> image) {
  const auto s = Signature();
  return image.size() >= s.size() && std::equal(s.begin(), s.end(), image.begin());
}

bool SerializePreset(ByteArchive& ar, CKTV_Data& model) {
  ProgramState& state = model.State();
  if (ar.IsStoring()) {
    WriteSignature(ar);
    model.Store();
    SetMusicOn(state.Live());
    ar.WriteBytes(state.Live());
    return true;
  }
  if (!ReadSignature(ar, kSinglePresetFileSize)) return false;
  rec::StateRecord live{};
  if (!ar.ReadBytes(live)) return false;
  state.Live() = live;
  model.Load(-1);
  return true;
}

bool SerializeAllPresets(ByteArchive& ar, CKTV_Data& model) {
  ProgramState& state = model.State();
  if (ar.IsStoring()) {
    WriteSignature(ar);
    ar.WriteBytes(state.SystemArea());
    for (int slot = 1; slot <= rec::kSlotRecordCount; ++slot) {
      SetMusicOn(state.Slot(slot));
      ar.WriteBytes(state.Slot(slot));
    }
    model.Store();
    SetMusicOn(state.Live());
    ar.WriteBytes(state.Live());
    ar.WriteBytes(state.DelayPositions());
    return true;
  }
  if (!ReadSignature(ar, kAllPresetsFileSize)) return false;
  // Everything is read aside first; the records change only once all of it is there.
  struct Image {
    std::array<std::uint8_t, rec::kSystemAreaSize> system{};
    std::array<rec::StateRecord, rec::kSlotRecordCount> slots{};
    rec::StateRecord live{};
    std::array<std::uint8_t, rec::kDelayPositionsSize> delays{};
  };
  auto image = std::make_unique<Image>();
  bool ok = ar.ReadBytes(image->system);
  for (auto& slot : image->slots) ok = ok && ar.ReadBytes(slot);
  ok = ok && ar.ReadBytes(image->live) && ar.ReadBytes(image->delays);
  if (!ok) return false;
  state.SystemArea() = image->system;
  for (int slot = 1; slot <= rec::kSlotRecordCount; ++slot) {
    state.Slot(slot) = image->slots[static_cast<std::size_t>(slot - 1)];
  }
  state.Live() = image->live;
  state.DelayPositions() = image->delays;
  // Four listening positions: a damaged or foreign file's larger index is the last one.
  auto& position = state.DelayPositions()[rec::kDelaySelectedPosition];
  position = std::min(position, kLastListeningPosition);
  model.Load(-1);
  return true;
}

}  // namespace vantor
