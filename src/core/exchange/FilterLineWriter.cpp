// REW filter settings and Equalizer APO configuration: one "Filter N: ON TYPE ..." line per
// band or crossover section. The two differ in spacing, in the header, and in how a shelf
// is named: REW by its slope ("LS 12dB"), Equalizer APO as a shelf with a Q ("LSC ... Q").

#include <algorithm>

#include "base/NumberFormat.h"
#include "dsp/FilterCodes.h"
#include "dsp/FilterDesign.h"
#include "exchange/ExchangeValues.h"
#include "exchange/FilterExport.h"
#include "model/ChannelTable.h"

namespace vantor {
namespace {

class LineWriter {
 public:
  explicit LineWriter(ExchangeFormat format) : m_rew(format == ExchangeFormat::kRew) {}

  void Header(int channel) {
    if (m_rew) {
      m_text += "Filter Settings file\n\nNotes: Vantor " + ChannelLabel(channel) +
                "\n\nEqualiser: Generic\n";
    } else {
      m_text += "# Vantor " + ChannelLabel(channel) + "\n";
    }
  }

  void Band(const ExportBand& b) {
    const double gain = GainDbFromIndex(b.gainIndex);
    std::string type = "PK";
    std::string q = FormatFixed(QOfBandwidthIndex(b.bandwidthIndex), 3);
    if (b.type == kLowShelf || b.type == kHighShelf) {
      const char* side = b.type == kLowShelf ? "L" : "H";
      if (m_rew) {
        type = std::string(side) + (b.slope == 0 ? "S 6dB" : "S 12dB");
        q.clear();
      } else {
        type = std::string(side) + "SC";
        q = FormatFixed(ShelfQFromSlope(gain, ShelfSlopeParameter(b.slope)), 3);
      }
    }
    Line(type, static_cast<double>(b.frequency), FormatFixed(gain, 1), q);
  }

  void Section(int type, const CrossoverSection& s, ExportResult& result) {
    const std::string name = type == kHighPass ? "HP" : "LP";
    if (s.order == 1) {
      // Neither format has a first-order pass filter.
      if (!m_rew) {
        m_text += "# first-order " + std::string(type == kHighPass ? "high" : "low") +
                  "-pass section at " + FormatExchangeFrequency(s.frequency) + " Hz left out\n";
      }
      if (std::find(result.notes.begin(), result.notes.end(), TextId::ExportFirstOrderLeftOut) ==
          result.notes.end()) {
        result.notes.push_back(TextId::ExportFirstOrderLeftOut);
      }
      return;
    }
    Line(name + "Q", s.frequency, {}, FormatFixed(s.q, 3));
  }

  int Count() const { return m_count; }
  std::string Take() { return std::move(m_text); }

 private:
  void Line(const std::string& type, double hz, const std::string& gain, const std::string& q) {
    ++m_count;
    const std::string gap = m_rew ? "  " : " ";
    std::string n = std::to_string(m_count);
    if (m_rew && n.size() < 2) n.insert(0, " ");
    std::string line = "Filter " + n + ": ON" + gap + type + gap + "Fc" + gap +
                       FormatExchangeFrequency(hz) + " Hz";
    if (!gain.empty()) line += gap + "Gain" + gap + gain + " dB";
    if (!q.empty()) line += gap + "Q" + gap + q;
    m_text += line + "\n";
  }

  bool m_rew;
  int m_count = 0;
  std::string m_text;
};

}  // namespace

ExportResult WriteFilterLines(const ExportList& list, ExchangeFormat format) {
  ExportResult result;
  LineWriter w(format);
  w.Header(list.channel);
  for (const ExportCrossover& x : list.crossovers) {
    for (const CrossoverSection& s : x.sections) w.Section(x.type, s, result);
  }
  for (const ExportBand& b : list.bands) w.Band(b);
  result.filters = w.Count();
  result.text = w.Take();
  return result;
}

}  // namespace vantor
