#include "presets/ParameterReport.h"

#include <algorithm>
#include <cstdint>

#include "dsp/FilterCodes.h"
#include "model/ValueScales.h"
#include "presets/ParameterScales.h"
#include "text/TextCatalog.h"

namespace vantor {
namespace {

using Row = std::vector<std::string>;

std::string Label(TextId id, bool chinese) { return std::string(Tr(id, chinese)); }

std::string Join(TextId a, TextId b, bool chinese) {
  // Chinese headings run together ("高通频率"), English ones take a space.
  return Label(a, chinese) + (chinese ? "" : " ") + Label(b, chinese);
}

const CFilter& HighPassOf(const CKTV_OutData& out) {
  return out.Filters().At(out.Filters().Count() - 2);
}
const CFilter& LowPassOf(const CKTV_OutData& out) {
  return out.Filters().At(out.Filters().Count() - 1);
}

void CrossoverRows(const CKTV_Data& model, bool chinese, TextId kind, bool highPass,
                   std::vector<Row>& rows) {
  Row frequency{Join(kind, TextId::ReportFrequency, chinese)};
  Row family{Join(kind, TextId::ReportFamily, chinese)};
  Row slope{Join(kind, TextId::ReportSlope, chinese)};
  for (int c = 0; c < model.OutputCount(); ++c) {
    const CFilter& f = highPass ? HighPassOf(model.Output(c)) : LowPassOf(model.Output(c));
    frequency.push_back(FormatEditCode(scales::kCrossoverFrequency, f.Frequency()));
    family.push_back(std::string(FamilyText(f.Family(), chinese)));
    slope.push_back(CrossoverSlopeText(f.Slope()));
  }
  rows.push_back(std::move(frequency));
  rows.push_back(std::move(family));
  rows.push_back(std::move(slope));
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

}  // namespace

std::size_t TextColumns(std::string_view s) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    std::uint32_t cp = len == 1 ? c : c & (0x7F >> len);
    for (std::size_t k = 1; k < len && i + k < s.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    n += cp >= 0x2E80 ? 2 : 1;
    i += len;
  }
  return n;
}

std::string CrossoverSlopeText(int slope) {
  if (slope == kSlopeOff) return "OFF";
  if (slope < 0 || slope > 6) return "?";
  return std::to_string(12 + 6 * slope) + "dB/Oct";
}

std::string LimiterReleaseText(int releaseCode) {
  const int factor = LimiterReleaseFactor(releaseCode);
  if (factor == 0) return "?";
  return "Atk × " + std::to_string(factor);
}

std::string_view FamilyText(int family, bool chinese) {
  switch (family) {
    case kLinkwitzRiley:
      return Tr(TextId::FamilyLinkwitz, chinese);
    case kBessel:
      return Tr(TextId::FamilyBessel, chinese);
    case kButterworth:
      return Tr(TextId::FamilyButterworth, chinese);
    default:
      return "?";
  }
}

std::string_view BandTypeText(int eqType, bool chinese) {
  switch (eqType) {
    case 0:
      return Tr(TextId::BandPeak, chinese);
    case 1:
      return Tr(TextId::BandLowShelf6, chinese);
    case 2:
      return Tr(TextId::BandLowShelf12, chinese);
    case 3:
      return Tr(TextId::BandHighShelf6, chinese);
    case 4:
      return Tr(TextId::BandHighShelf12, chinese);
    default:
      return "?";
  }
}

ParameterReport BuildParameterReport(const CKTV_Data& model, bool chinese,
                                     std::optional<std::span<const std::uint8_t>> speakerTypes) {
  ParameterReport report;
  report.headings.push_back(Label(TextId::ReportParameter, chinese));
  for (int c = 0; c < model.OutputCount(); ++c)
    report.headings.push_back("CH" + std::to_string(c + 1));

  auto perOutput = [&](std::string name, auto value) {
    Row row{std::move(name)};
    for (int c = 0; c < model.OutputCount(); ++c) row.push_back(value(model.Output(c), c));
    report.rows.push_back(std::move(row));
  };
  using Out = const CKTV_OutData&;

  perOutput(Label(TextId::ReportName, chinese), [](Out o, int) { return o.NameText(); });
  if (speakerTypes) {
    perOutput(Label(TextId::ReportSpeakerType, chinese), [&](Out, int c) {
      const auto at = static_cast<std::size_t>(c);
      return at < speakerTypes->size() ? std::string(SpeakerTypeName((*speakerTypes)[at]))
                                       : std::string();
    });
  }
  perOutput(Label(TextId::ReportOutputOn, chinese), [&](Out o, int) {
    return Label(o.OutputOn() != 0 ? TextId::ValueOn : TextId::ValueOff, chinese);
  });
  perOutput(Label(TextId::ReportPhase, chinese), [&](Out o, int) {
    return Label(o.Phase() != 0 ? TextId::ValueInverted : TextId::ValueNormal, chinese);
  });
  perOutput(Label(TextId::ReportGain, chinese), [](Out o, int) {
    return o.Muted() ? std::string("OFF") : FormatEditCode(scales::kOutputGain, o.GainCode());
  });
  perOutput(Label(TextId::ReportDelay, chinese),
            [](Out o, int) { return FormatEditCode(scales::kDelay, o.DelayCode()) + "ms"; });
  perOutput(Label(TextId::ReportEqMode, chinese), [&](Out o, int) {
    return Label(o.EqMode() != 0 ? TextId::ValueGraphic : TextId::ValueParametric, chinese);
  });
  CrossoverRows(model, chinese, TextId::ReportHighPass, true, report.rows);
  CrossoverRows(model, chinese, TextId::ReportLowPass, false, report.rows);
  perOutput(Label(TextId::ReportLimiterThreshold, chinese), [](Out o, int) {
    return FormatEditCode(scales::kLimiterThreshold, o.ThresholdCode());
  });
  perOutput(Label(TextId::ReportLimiterAttack, chinese),
            [](Out o, int) { return FormatEditCode(scales::kLimiterAttack, o.AttackCode()); });
  perOutput(Label(TextId::ReportLimiterRelease, chinese),
            [](Out o, int) { return LimiterReleaseText(o.ReleaseCode()); });
  for (int s = 0; s < static_cast<int>(rec::kMixerSources); ++s) {
    perOutput(Label(TextId::ReportMix, chinese) + " " + std::to_string(s + 1),
              [s](Out o, int) { return FormatEditCode(scales::kMixerLevel, o.MixerLevel(s)); });
  }
  for (int b = 0; b < rec::kOutputBands; ++b) {
    const std::string band = Label(TextId::ReportBand, chinese) + " " + std::to_string(b + 1) + " ";
    perOutput(band + Label(TextId::ReportFrequency, chinese), [b](Out o, int) {
      return FormatEditCode(scales::kBandFrequency, o.Filter(b).Frequency());
    });
    perOutput(band + Label(TextId::ReportBandGain, chinese), [b](Out o, int) {
      const CFilter& f = o.Filter(b);
      return FormatEditCode(scales::kBandGain,
                            f.EffectivelyOff() != 0 ? kGainIndexFlat : f.GainIndex());
    });
    perOutput(band + Label(TextId::ReportBandQ, chinese), [b](Out o, int) {
      return FormatEditCode(scales::kBandQ, o.Filter(b).BandwidthIndex());
    });
    perOutput(band + Label(TextId::ReportBandType, chinese), [&, b](Out o, int) {
      return std::string(BandTypeText(o.Filter(b).EqType(), chinese));
    });
  }
  return report;
}

std::string ParameterReportText(const ParameterReport& report) {
  std::vector<std::size_t> widths(report.headings.size(), 0);
  auto measure = [&widths](const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i)
      widths[i] = std::max(widths[i], TextColumns(cells[i]));
  };
  measure(report.headings);
  for (const auto& row : report.rows) measure(row);
  std::string text;
  auto line = [&](const std::vector<std::string>& cells) {
    std::string l;
    for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
      if (i != 0) l += "  ";
      l += cells[i];
      l.append(widths[i] - TextColumns(cells[i]), ' ');
    }
    l.erase(l.find_last_not_of(' ') + 1);
    text += l;
    text += '\n';
  };
  line(report.headings);
  for (const auto& row : report.rows) line(row);
  return text;
}

std::string ParameterReportCsv(const ParameterReport& report) {
  std::string csv = "\xEF\xBB\xBF";
  auto line = [&csv](const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i != 0) csv += ',';
      csv += CsvField(cells[i]);
    }
    csv += "\r\n";
  };
  line(report.headings);
  for (const auto& row : report.rows) line(row);
  return csv;
}

}  // namespace vantor
