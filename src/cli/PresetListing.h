#pragma once
// What a preset holds, written out for people (`preset show`), as JSON (`preset show
// --json`) and as KEY=VALUE entries with the keys of `preset set` (`preset diff`).

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/JsonWriter.h"
#include "model/KTV_Data.h"

namespace vantor::cli {

struct Entry {
  std::string key;
  std::string text;
};

// Every parameter of a program (its name and the eight outputs), keys prefixed by `prefix`.
std::vector<Entry> ProgramEntries(const CKTV_Data& model, const std::string& prefix = {});
// The system area: source, volume, master on, speaker mode, speaker types.
std::vector<Entry> SystemEntries(const ProgramState& state);

void WriteProgramText(std::ostream& out, const CKTV_Data& model, bool chinese,
                      std::optional<std::span<const std::uint8_t>> speakerTypes);
void WriteSystemText(std::ostream& out, const ProgramState& state, bool chinese);

void WriteProgramJson(JsonWriter& w, const CKTV_Data& model);
void WriteSystemJson(JsonWriter& w, const ProgramState& state);

// Text of single values in their units, as `preset set` takes them.
std::string CrossoverFamilyKey(int family);  // "linkwitz", "bessel", "butterworth"
std::string BandTypeKey(int eqType);         // "peak", "lowshelf6", ...

}  // namespace vantor::cli
