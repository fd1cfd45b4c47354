// CamillaDSP YAML: a "filters" map of Biquad (and BiquadCombo) filters and one "Filter"
// pipeline step that runs them on the output's channel. Linkwitz-Riley crossovers of even
// order and Butterworth crossovers are written as the combos of their family and order;
// the others (odd Linkwitz-Riley, Bessel) as their sections.

#include "base/NumberFormat.h"
#include "dsp/FilterCodes.h"
#include "exchange/ExchangeValues.h"
#include "exchange/FilterExport.h"
#include "model/ChannelTable.h"

namespace vantor {
namespace {

constexpr int kShelfSlopeDb[2] = {6, 12};

std::string Prefix(int channel) { return "ch" + std::to_string(channel + 1) + "_"; }

// Order of a slope index: 12 dB/Oct is second order, each step adds one.
int OrderOf(int slope) { return slope + 2; }

struct Entry {
  std::string name;
  std::string kind;  // Biquad or BiquadCombo
  std::string type;
  std::vector<std::pair<std::string, std::string>> parameters;
};

void Write(std::string& out, const Entry& e) {
  out += "  " + e.name + ":\n";
  out += "    type: " + e.kind + "\n";
  out += "    parameters:\n";
  out += "      type: " + e.type + "\n";
  for (const auto& [key, value] : e.parameters) out += "      " + key + ": " + value + "\n";
}

void AddCrossover(const ExportCrossover& x, const std::string& prefix, std::vector<Entry>& out) {
  const bool high = x.type == kHighPass;
  const std::string side = high ? "Highpass" : "Lowpass";
  const std::string base = prefix + (high ? "highpass" : "lowpass");
  const bool combo = x.family == kButterworth || (x.family == kLinkwitzRiley && x.slope % 2 == 0);
  if (combo) {
    out.push_back({base,
                   "BiquadCombo",
                   (x.family == kButterworth ? "Butterworth" : "LinkwitzRiley") + side,
                   {{"freq", FormatExchangeFrequency(x.frequency)},
                    {"order", std::to_string(OrderOf(x.slope))}}});
    return;
  }
  int n = 0;
  for (const CrossoverSection& s : x.sections) {
    const std::string name = base + "_" + std::to_string(++n);
    if (s.order == 1) {
      out.push_back({name, "Biquad", side + "FO", {{"freq", FormatFixed(s.frequency, 1)}}});
    } else {
      out.push_back({name,
                     "Biquad",
                     side,
                     {{"freq", FormatFixed(s.frequency, 1)}, {"q", FormatFixed(s.q, 3)}}});
    }
  }
}

void AddBand(const ExportBand& b, int index, const std::string& prefix, std::vector<Entry>& out) {
  const std::string n = std::to_string(index + 1);
  const std::string name = prefix + "band_" + (n.size() < 2 ? "0" + n : n);
  const std::string gain = FormatFixed(GainDbFromIndex(b.gainIndex), 1);
  const std::string freq = FormatExchangeFrequency(b.frequency);
  if (b.type == kLowShelf || b.type == kHighShelf) {
    out.push_back({name,
                   "Biquad",
                   b.type == kLowShelf ? "Lowshelf" : "Highshelf",
                   {{"freq", freq},
                    {"gain", gain},
                    {"slope", std::to_string(kShelfSlopeDb[b.slope == 0 ? 0 : 1])}}});
    return;
  }
  out.push_back({name,
                 "Biquad",
                 "Peaking",
                 {{"freq", freq},
                  {"gain", gain},
                  {"q", FormatFixed(QOfBandwidthIndex(b.bandwidthIndex), 3)}}});
}

}  // namespace

ExportResult WriteCamillaDsp(const ExportList& list) {
  const std::string prefix = Prefix(list.channel);
  std::vector<Entry> entries;
  for (const ExportCrossover& x : list.crossovers) AddCrossover(x, prefix, entries);
  for (std::size_t i = 0; i < list.bands.size(); ++i) {
    AddBand(list.bands[i], static_cast<int>(i), prefix, entries);
  }

  ExportResult result;
  std::string& out = result.text;
  out += "# Vantor " + ChannelLabel(list.channel) + "\n";
  out += entries.empty() ? "filters: {}\n" : "filters:\n";
  for (const Entry& e : entries) Write(out, e);
  out += "pipeline:\n";
  out += "  - type: Filter\n";
  out += "    channels: [" + std::to_string(list.channel) + "]\n";
  out += entries.empty() ? "    names: []\n" : "    names:\n";
  for (const Entry& e : entries) out += "      - " + e.name + "\n";
  result.filters = static_cast<int>(entries.size());
  return result;
}

}  // namespace vantor
