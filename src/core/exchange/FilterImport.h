#pragma once
// Importing another tool's filters into one output: REW filter settings files and
// Equalizer APO configurations. Planning reads the text and says what would change and
// which lines cannot be represented; applying makes the change. Nothing changes when a
// line was refused unless the caller accepts the rest.
//
// PK lines become peaking bands, LS/LSC/HS/HSC shelves, HP/HPQ/HP1 and LP/LPQ/LP1 lines
// the sections of the high-pass and low-pass crossover. Frequencies snap to the response
// grid (whole hertz), a Q (or a bandwidth in octaves) to the nearest bandwidth index, a
// gain to 0.1 dB, a shelf to the nearer of 6 and 12 dB/Oct. The file's bands replace all
// 31 bands of the output, sorted by frequency, the rest back at their defaults; crossovers
// the file does not mention stay as they are.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dsp/Filter.h"
#include "text/TextCatalog.h"

namespace vantor {

class CKTV_OutData;

enum class LineVerdict {
  kLeftOut,  // switched off or flat: nothing to import, nothing lost
  kRefused,  // cannot be represented
};

struct ImportLineReport {
  int line = 0;      // 1-based
  std::string text;  // the line as it stands in the file
  LineVerdict verdict = LineVerdict::kRefused;
  TextId reason = TextId::ImportNotUnderstood;
};

struct ImportCrossover {
  int family = 0;
  int slope = 0;
  int frequency = 0;
};

struct ImportPlan {
  int channel = 0;
  std::vector<FilterSettings> bands;  // sorted by frequency, at most 31
  std::optional<ImportCrossover> highPass;
  std::optional<ImportCrossover> lowPass;
  bool toParametric = false;  // the output is in graphic mode and gets bands
  int importedLines = 0;
  std::vector<ImportLineReport> reports;  // every line left out or refused, in file order

  // No line was refused.
  bool Complete() const;
  int RefusedLines() const;
  bool ChangesAnything() const { return !bands.empty() || highPass || lowPass; }
};

// Reads `text` for `output` (whose channel and crossovers the range rules look at).
ImportPlan PlanFilterImport(std::string_view text, const CKTV_OutData& output);

// Applies the plan to `output` as edits (the pending scan sends them while edits are sent).
// False, and nothing changed, when the plan refused lines and `acceptPartial` is false.
bool ApplyFilterImport(const ImportPlan& plan, CKTV_OutData& output, bool acceptPartial);

}  // namespace vantor
