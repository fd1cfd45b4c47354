#include "cli/PresetListing.h"

#include <iomanip>
#include <ostream>
#include <sstream>

#include "base/LittleEndian.h"
#include "dsp/FilterCodes.h"
#include "model/ValueScales.h"
#include "presets/ParameterReport.h"
#include "presets/ParameterScales.h"
#include "presets/SlotNames.h"
#include "text/TextCatalog.h"

namespace vantor::cli {
namespace {

const CFilter& HighPassOf(const CKTV_OutData& o) { return o.Filters().At(o.Filters().Count() - 2); }
const CFilter& LowPassOf(const CKTV_OutData& o) { return o.Filters().At(o.Filters().Count() - 1); }

std::string GainText(const CKTV_OutData& o) {
  return o.Muted() ? std::string("OFF") : FormatEditCode(scales::kOutputGain, o.GainCode());
}
std::string DelayText(int code) { return FormatEditCode(scales::kDelay, code) + "ms"; }
std::string HzText(int hz) { return std::to_string(hz) + "Hz"; }
int ShownGainIndex(const CFilter& f) {
  return f.EffectivelyOff() != 0 ? kGainIndexFlat : f.GainIndex();
}
std::string BandGainText(const CFilter& f) {
  return FormatEditCode(scales::kBandGain, ShownGainIndex(f)) + "dB";
}
std::string QText(const CFilter& f) { return FormatEditCode(scales::kBandQ, f.BandwidthIndex()); }
std::string ThresholdText(int code) { return FormatEditCode(scales::kLimiterThreshold, code); }
std::string AttackText(int code) { return FormatEditCode(scales::kLimiterAttack, code); }
std::string SourceKey(int source) {
  static const char* kKeys[] = {"highlevel", "rca", "bluetooth", "optical", "coaxial", "player"};
  return source >= 0 && source < kInputSourceCount ? kKeys[source] : std::to_string(source);
}
std::string Label(TextId id, bool chinese) { return std::string(Tr(id, chinese)); }
double Number(const std::string& text) {
  // Texts made by FormatEditCode with a unit after the number.
  return std::strtod(text.c_str(), nullptr);
}

void AddOutput(std::vector<Entry>& e, const CKTV_OutData& o, const std::string& p) {
  e.push_back({p + "name", o.NameText()});
  e.push_back({p + "on", std::to_string(o.OutputOn())});
  e.push_back({p + "phase", o.Phase() != 0 ? "inverted" : "normal"});
  e.push_back({p + "gain", GainText(o)});
  e.push_back({p + "delay", DelayText(o.DelayCode())});
  e.push_back({p + "eqmode", o.EqMode() != 0 ? "graphic" : "parametric"});
  for (const auto& [kind, f] :
       {std::pair{"hp.", &HighPassOf(o)}, std::pair{"lp.", &LowPassOf(o)}}) {
    e.push_back({p + kind + "freq", HzText(f->Frequency())});
    e.push_back({p + kind + "family", CrossoverFamilyKey(f->Family())});
    e.push_back({p + kind + "slope", CrossoverSlopeText(f->Slope())});
  }
  e.push_back({p + "limiter.threshold", ThresholdText(o.ThresholdCode())});
  e.push_back({p + "limiter.attack", AttackText(o.AttackCode())});
  e.push_back({p + "limiter.release",
               std::to_string(o.ReleaseCode()) + " (" + LimiterReleaseText(o.ReleaseCode()) + ")"});
  for (int s = 0; s < static_cast<int>(rec::kMixerSources); ++s) {
    e.push_back({p + "mix" + std::to_string(s + 1), std::to_string(o.MixerLevel(s))});
  }
  for (int b = 0; b < rec::kOutputBands; ++b) {
    const CFilter& f = o.Filter(b);
    const std::string band = p + "band" + std::to_string(b + 1) + ".";
    e.push_back({band + "freq", HzText(f.Frequency())});
    e.push_back({band + "gain", BandGainText(f)});
    e.push_back({band + "q", QText(f)});
    e.push_back({band + "type", BandTypeKey(f.EqType())});
  }
}

void CrossoverJson(JsonWriter& w, const CFilter& f) {
  w.BeginObject();
  w.Key("freq_hz").Int(f.Frequency());
  w.Key("family").String(CrossoverFamilyKey(f.Family()));
  w.Key("slope").Int(f.Slope());
  w.Key("slope_text").String(CrossoverSlopeText(f.Slope()));
  w.EndObject();
}

std::string Pad(const std::string& s, std::size_t width, bool right = false) {
  const std::size_t cols = TextColumns(s);
  if (cols >= width) return s;
  const std::string fill(width - cols, ' ');
  return right ? fill + s : s + fill;
}

}  // namespace

std::string CrossoverFamilyKey(int family) {
  switch (family) {
    case kLinkwitzRiley:
      return "linkwitz";
    case kBessel:
      return "bessel";
    case kButterworth:
      return "butterworth";
    default:
      return std::to_string(family);
  }
}

std::string BandTypeKey(int eqType) {
  static const char* kKeys[] = {"peak", "lowshelf6", "lowshelf12", "highshelf6", "highshelf12"};
  return eqType >= 0 && eqType <= 4 ? kKeys[eqType] : std::to_string(eqType);
}

std::vector<Entry> ProgramEntries(const CKTV_Data& model, const std::string& prefix) {
  std::vector<Entry> e;
  e.push_back({prefix + "name", SlotNameText(model.State().Live())});
  for (int c = 0; c < model.OutputCount(); ++c) {
    AddOutput(e, model.Output(c), prefix + "out" + std::to_string(c + 1) + ".");
  }
  return e;
}

std::vector<Entry> SystemEntries(const ProgramState& s) {
  std::vector<Entry> e;
  const auto system = s.SystemBlock();
  e.push_back({"source", SourceKey(system[rec::kSysInputSource])});
  e.push_back(
      {"volume", FormatEditCode(scales::kMasterVolume, le::GetI16(system, rec::kSysMasterVolume))});
  e.push_back({"master", system[rec::kSysMasterOn] != 0 ? "on" : "off"});
  e.push_back({"speakermode", std::to_string(system[rec::kSysSpeakerMode])});
  for (int c = 0; c < rec::kOutputCount; ++c) {
    e.push_back({"speaker" + std::to_string(c + 1),
                 std::to_string(s.SpeakerTypes()[static_cast<std::size_t>(c)])});
  }
  const auto& delays = s.DelayPositions();
  e.push_back({"position", std::to_string(delays[rec::kDelaySelectedPosition])});
  for (int p = 0; p < 4; ++p) {
    for (int c = 0; c < 6; ++c) {
      e.push_back({"position" + std::to_string(p + 1) + ".delay" + std::to_string(c + 1),
                   DelayText(le::GetI16(delays, rec::DelayPositionOffset(p, c)))});
    }
  }
  return e;
}

void WriteSystemText(std::ostream& out, const ProgramState& s, bool chinese) {
  const auto system = s.SystemBlock();
  const int source = system[rec::kSysInputSource];
  out << (chinese ? "输入源: " : "source: ") << InputSourceName(source, chinese) << " (" << source
      << ")\n";
  out << (chinese ? "主音量: " : "volume: ")
      << FormatEditCode(scales::kMasterVolume, le::GetI16(system, rec::kSysMasterVolume))
      << (system[rec::kSysMasterOn] != 0 ? "" : (chinese ? " (关)" : " (off)")) << '\n';
  out << (chinese ? "扬声器模式: " : "speaker mode: ")
      << SpeakerModeName(system[rec::kSysSpeakerMode]) << " ("
      << static_cast<int>(system[rec::kSysSpeakerMode]) << ")\n";
  for (int c = 0; c < rec::kOutputCount; ++c) {
    const int type = s.SpeakerTypes()[static_cast<std::size_t>(c)];
    out << "CH" << (c + 1) << ": " << SpeakerTypeName(type) << " (" << type << ")\n";
  }
  const auto& delays = s.DelayPositions();
  out << (chinese ? "听音位置: " : "listening position: ")
      << static_cast<int>(delays[rec::kDelaySelectedPosition]) + 1 << '\n';
  for (int p = 0; p < 4; ++p) {
    out << "  " << (p + 1) << ':';
    for (int c = 0; c < 6; ++c)
      out << ' ' << DelayText(le::GetI16(delays, rec::DelayPositionOffset(p, c)));
    out << '\n';
  }
}

void WriteProgramText(std::ostream& out, const CKTV_Data& model, bool chinese,
                      std::optional<std::span<const std::uint8_t>> speakerTypes) {
  const bool zh = chinese;
  out << (zh ? "名称: \"" : "name: \"") << SlotNameText(model.State().Live()) << "\"\n";
  for (int c = 0; c < model.OutputCount(); ++c) {
    const CKTV_OutData& o = model.Output(c);
    out << "CH" << (c + 1) << "  " << Label(TextId::ReportName, zh) << " \"" << o.NameText() << '"';
    if (speakerTypes && static_cast<std::size_t>(c) < speakerTypes->size()) {
      out << "  " << Label(TextId::ReportSpeakerType, zh) << ": "
          << SpeakerTypeName((*speakerTypes)[static_cast<std::size_t>(c)]);
    }
    out << '\n';
    out << "  " << Label(TextId::ReportOutputOn, zh) << ": "
        << Label(o.OutputOn() != 0 ? TextId::ValueOn : TextId::ValueOff, zh) << "   "
        << Label(TextId::ReportPhase, zh) << ": "
        << Label(o.Phase() != 0 ? TextId::ValueInverted : TextId::ValueNormal, zh) << "   "
        << Label(TextId::ReportGain, zh) << ": " << GainText(o) << "   "
        << Label(TextId::ReportDelay, zh) << ": " << DelayText(o.DelayCode()) << "   "
        << Label(TextId::ReportEqMode, zh) << ": "
        << Label(o.EqMode() != 0 ? TextId::ValueGraphic : TextId::ValueParametric, zh) << '\n';
    for (const auto& [kind, f] : {std::pair{TextId::ReportHighPass, &HighPassOf(o)},
                                  std::pair{TextId::ReportLowPass, &LowPassOf(o)}}) {
      out << "  " << Label(kind, zh) << ": " << HzText(f->Frequency()) << ' '
          << FamilyText(f->Family(), zh) << ' ' << CrossoverSlopeText(f->Slope()) << '\n';
    }
    out << "  " << Label(TextId::ReportLimiterThreshold, zh) << ": "
        << ThresholdText(o.ThresholdCode()) << "   " << Label(TextId::ReportLimiterAttack, zh)
        << ": " << AttackText(o.AttackCode()) << "   " << Label(TextId::ReportLimiterRelease, zh)
        << ": " << LimiterReleaseText(o.ReleaseCode()) << '\n';
    out << "  " << Label(TextId::ReportMix, zh) << ':';
    for (int s = 0; s < static_cast<int>(rec::kMixerSources); ++s)
      out << ' ' << (s + 1) << '=' << o.MixerLevel(s);
    out << '\n';
    out << "  " << Pad(Label(TextId::ReportBand, zh), 6)
        << Pad(Label(TextId::ReportFrequency, zh), 11, true)
        << Pad(Label(TextId::ReportBandGain, zh), 10, true)
        << Pad(Label(TextId::ReportBandQ, zh), 9, true) << "  " << Label(TextId::ReportBandType, zh)
        << '\n';
    for (int b = 0; b < o.BandCount(); ++b) {
      const CFilter& f = o.Filter(b);
      out << "  " << Pad(std::to_string(b + 1), 6) << Pad(HzText(f.Frequency()), 11, true)
          << Pad(BandGainText(f), 10, true) << Pad(QText(f), 9, true) << "  "
          << BandTypeText(f.EqType(), zh) << '\n';
    }
  }
}

void WriteProgramJson(JsonWriter& w, const CKTV_Data& model) {
  w.BeginObject();
  w.Key("name").String(SlotNameText(model.State().Live()));
  w.Key("outputs").BeginArray();
  for (int c = 0; c < model.OutputCount(); ++c) {
    const CKTV_OutData& o = model.Output(c);
    w.BeginObject();
    w.Key("channel").Int(c + 1);
    w.Key("name").String(o.NameText());
    w.Key("on").Bool(o.OutputOn() != 0);
    w.Key("phase").String(o.Phase() != 0 ? "inverted" : "normal");
    w.Key("muted").Bool(o.Muted());
    w.Key("gain_db").Int(static_cast<long long>(OutputGainDb(o.GainCode())));
    w.Key("delay_ms").Double(DelayMs(o.DelayCode()));
    w.Key("eq_mode").String(o.EqMode() != 0 ? "graphic" : "parametric");
    w.Key("high_pass");
    CrossoverJson(w, HighPassOf(o));
    w.Key("low_pass");
    CrossoverJson(w, LowPassOf(o));
    w.Key("limiter").BeginObject();
    w.Key("threshold_dbu").Double(Number(ThresholdText(o.ThresholdCode())));
    w.Key("attack_ms").Double(LimiterAttackMs(o.AttackCode()));
    w.Key("release").Int(o.ReleaseCode());
    w.Key("release_ms").Double(LimiterReleaseMs(o.AttackCode(), o.ReleaseCode()));
    w.EndObject();
    w.Key("mixer").BeginArray();
    for (int s = 0; s < static_cast<int>(rec::kMixerSources); ++s) w.Int(o.MixerLevel(s));
    w.EndArray();
    w.Key("bands").BeginArray();
    for (int b = 0; b < o.BandCount(); ++b) {
      const CFilter& f = o.Filter(b);
      w.BeginObject();
      w.Key("band").Int(b + 1);
      w.Key("freq_hz").Int(f.Frequency());
      w.Key("gain_db").Double(Number(FormatEditCode(scales::kBandGain, ShownGainIndex(f))));
      w.Key("q").Double(Number(QText(f)));
      w.Key("type").String(BandTypeKey(f.EqType()));
      w.Key("off").Bool(f.EffectivelyOff() != 0);
      w.EndObject();
    }
    w.EndArray();
    w.EndObject();
  }
  w.EndArray();
  w.EndObject();
}

void WriteSystemJson(JsonWriter& w, const ProgramState& s) {
  const auto system = s.SystemBlock();
  w.BeginObject();
  w.Key("source").String(SourceKey(system[rec::kSysInputSource]));
  w.Key("volume_db")
      .Int(static_cast<long long>(MasterVolumeDb(le::GetI16(system, rec::kSysMasterVolume))));
  w.Key("master_on").Bool(system[rec::kSysMasterOn] != 0);
  w.Key("speaker_mode").Int(system[rec::kSysSpeakerMode]);
  w.Key("speaker_types").BeginArray();
  for (int c = 0; c < rec::kOutputCount; ++c) w.Int(s.SpeakerTypes()[static_cast<std::size_t>(c)]);
  w.EndArray();
  const auto& delays = s.DelayPositions();
  w.Key("listening_position").Int(delays[rec::kDelaySelectedPosition]);
  w.Key("position_delays_ms").BeginArray();
  for (int p = 0; p < 4; ++p) {
    w.BeginArray();
    for (int c = 0; c < 6; ++c)
      w.Double(DelayMs(le::GetI16(delays, rec::DelayPositionOffset(p, c))));
    w.EndArray();
  }
  w.EndArray();
  w.EndObject();
}

}  // namespace vantor::cli
