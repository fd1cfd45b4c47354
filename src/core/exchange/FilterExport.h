#pragma once
// An output's filters as text for other tools: REW filter settings, Equalizer APO
// configuration, CamillaDSP YAML. Bands that are flat or bypassed, and crossovers that are
// open or "OFF", are left out. Values are the ones the person set (the nominal frequency,
// the gain, the Q of the bandwidth table); numbers use '.' whatever the locale.

#include <string>
#include <vector>

#include "exchange/CrossoverSections.h"
#include "exchange/ExchangeFormat.h"
#include "text/TextCatalog.h"

namespace vantor {

class CKTV_OutData;

struct ExportResult {
  std::string text;
  int filters = 0;            // filters (or crossover sections) written
  std::vector<TextId> notes;  // what the format could not hold, once per kind
};

ExportResult ExportFilters(const CKTV_OutData& output, ExchangeFormat format);

// What is exported, before it is written in a format.
struct ExportBand {
  int type = 0;  // 0 peaking, 1 low shelf, 2 high shelf
  int frequency = 0;
  int gainIndex = 200;
  int bandwidthIndex = 15;
  int slope = 0;  // shelves: 0 = 6 dB/Oct, 1 = 12 dB/Oct
};
struct ExportCrossover {
  int type = 3;  // 3 high-pass, 4 low-pass
  int family = 0;
  int slope = 0;  // effective slope index 0..6
  int frequency = 0;
  std::vector<CrossoverSection> sections;
};
struct ExportList {
  int channel = 0;
  std::vector<ExportCrossover> crossovers;  // high-pass first
  std::vector<ExportBand> bands;            // in band order
};
ExportList CollectExport(const CKTV_OutData& output);

// The writers of the three formats.
ExportResult WriteFilterLines(const ExportList& list, ExchangeFormat format);  // REW, EQ APO
ExportResult WriteCamillaDsp(const ExportList& list);

}  // namespace vantor
