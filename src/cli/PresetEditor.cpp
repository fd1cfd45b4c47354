#include "cli/PresetEditor.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <mutex>
#include <optional>

#include "cli/CliText.h"
#include "cli/CommandArgs.h"
#include "dsp/FilterCodes.h"
#include "model/DataDefine.h"
#include "presets/ParameterScales.h"
#include "presets/SlotNames.h"
#include "text/GbkCodec.h"
#include "text/TextCatalog.h"

namespace vantor::cli {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

// "out3" -> 3 for prefix "out", when the number lies in 1..max.
std::optional<int> Numbered(std::string_view word, std::string_view prefix, int max) {
  if (word.size() <= prefix.size() || word.substr(0, prefix.size()) != prefix) return std::nullopt;
  const std::string_view digits = word.substr(prefix.size());
  int n = 0;
  const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  if (r.ec != std::errc() || r.ptr != digits.data() + digits.size() || digits.front() == '0')
    return std::nullopt;
  if (n < 1 || n > max) return std::nullopt;
  return n;
}

// A plain decimal ("-6", "3.5", "+1", ".5") optionally followed by one of `units` in any
// letter case; returns the number's text without the unit.
std::optional<std::string> PlainNumber(std::string_view text,
                                       std::initializer_list<std::string_view> units,
                                       bool integerOnly = false) {
  std::string lower = Lower(text);
  for (std::string_view unit : units) {
    const std::string u = Lower(unit);
    if (lower.size() > u.size() && lower.compare(lower.size() - u.size(), u.size(), u) == 0) {
      lower.resize(lower.size() - u.size());
      break;
    }
  }
  std::size_t i = 0;
  if (i < lower.size() && (lower[i] == '-' || lower[i] == '+')) ++i;
  bool digits = false;
  bool dot = false;
  for (; i < lower.size(); ++i) {
    const char c = lower[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == '.' && !dot && !integerOnly) {
      dot = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  return lower;
}

// Numbers are taken as written: one between two steps of its edit (a mixer level of 40.5,
// a gain of -3.5 dB) is refused rather than cut to a step. The typed number must be the
// value the code stands for, as the edit shows it (to the edit's shown decimals).
constexpr double kShownTolerance = 0.0005 + 1e-9;

std::optional<int> CodeOnStep(const EditScale& scale, const std::string& number,
                              std::string& between) {
  const std::optional<int> code = ReadEditText(scale, number).code;
  if (!code) return std::nullopt;
  const std::string shown = FormatEditCode(scale, *code);
  const auto typed = ParseLeadingDecimal(number);
  const auto value = ParseLeadingDecimal(shown);
  if (typed && value && std::abs(*typed - *value) <= kShownTolerance) return code;
  between = shown;
  return std::nullopt;
}

// Why a value is refused: it lies between two steps (`between`, the step below it), or it is
// no number of the key's range.
std::string ValueProblem(bool chinese, const std::string& between) {
  if (between.empty()) return Say2(chinese, "数值无效或超出范围", "bad or out-of-range value");
  return Say2(chinese, "数值不在步长上（下方最近的是 ", "between two steps (the step below is ") +
         between + Say2(chinese, "）；数值不会被舍入", "); numbers are not rounded");
}

std::optional<int> Choice(std::string_view value,
                          std::initializer_list<std::initializer_list<std::string_view>> names) {
  const std::string v = Lower(value);
  int i = 0;
  for (const auto& spellings : names) {
    for (std::string_view s : spellings) {
      if (v == s) return i;
    }
    ++i;
  }
  return std::nullopt;
}

// The speaker types the speaker-type menu disables for an output while another output has
// type `other` (besides `other` itself).
std::vector<int> TypesExcludedBy(int other) {
  switch (other) {
    case 1:
    case 7:
      return {4, 6, 10, 12};
    case 2:
    case 8:
      return {4, 5, 6, 10, 11, 12};
    case 3:
    case 9:
      return {5, 6, 11, 12};
    case 4:
    case 10:
      return {1, 2, 5, 6, 7, 8, 11, 12};
    case 5:
    case 11:
      return {2, 3, 4, 6, 8, 9, 10, 12};
    case 6:
    case 12:
      return {1, 2, 3, 4, 5, 7, 8, 9, 10, 11};
    case 13:
    case 14:
    case 16:
    case 17:
      return {15, 18};
    case 15:
    case 18:
      return {13, 14, 16, 17};
    case 19:
    case 20:
      return {21};
    case 21:
      return {19, 20};
    case 22:
    case 23:
      return {24};
    case 24:
      return {22, 23};
    default:
      return {};
  }
}

bool SpeakersClash(int a, int b) {
  if (a == 0 || b == 0) return false;
  if (a == b) return true;
  const auto byB = TypesExcludedBy(b);
  const auto byA = TypesExcludedBy(a);
  return std::find(byB.begin(), byB.end(), a) != byB.end() ||
         std::find(byA.begin(), byA.end(), b) != byA.end();
}

}  // namespace

PresetEditor::PresetEditor(EditTarget target, bool chinese)
    : m_target(target),
      m_chinese(chinese),
      m_crossovers(rec::kOutputCount),
      m_speakers(rec::kOutputCount),
      m_speakerKeys(rec::kOutputCount) {
  for (int c = 0; c < rec::kOutputCount; ++c)
    m_speakers[static_cast<std::size_t>(c)] = m_target.model.SpeakerType(c);
  for (int c = 0; c < rec::kOutputCount; ++c) {
    CKTV_OutData& out = m_target.model.Output(c);
    m_crossovers[static_cast<std::size_t>(c)] = {
        out.HighPass().Frequency(), out.LowPass().Frequency(), {}};
  }
}

std::string PresetEditor::KeyHelp() {
  return "keys (outputs N = 1..8, bands B = 1..31, mixer sources K = 1..14):\n"
         "  name=TEXT                          program name, at most 15 bytes\n"
         "  source=highlevel|rca|bluetooth|optical|coaxial|player   (all-presets files, devices)\n"
         "  volume=-60..6                      master volume, whole dB (all-presets files, "
         "devices)\n"
         "  speakerN=0..26                     speaker type of output N (all-presets files, "
         "devices)\n"
         "  outN.on=0|1   outN.phase=normal|inverted   outN.name=TEXT (at most 7 bytes)\n"
         "  outN.gain=-60..0|OFF               dB in whole dB (-60 dB is OFF)\n"
         "  outN.delay=0..50                   ms in steps of 1/48 ms (0.5, 1.25, 2.5, ...)\n"
         "  outN.mixK=0..100                   mixer level of source K, whole numbers\n"
         "  outN.hp.freq=20..20000             Hz (outN.lp.* the same for the low-pass)\n"
         "  outN.hp.family=linkwitz|bessel|butterworth\n"
         "  outN.hp.slope=0..7|12dB/Oct..48dB/Oct|OFF   0..6 = 12..48 dB/Oct, 7 = OFF\n"
         "  outN.bandB.freq=20..20000          Hz\n"
         "  outN.bandB.gain=-20..20            dB in 0.1 dB steps\n"
         "  outN.bandB.q=0.404..16.027         the Q table's value at or below the number\n"
         "  outN.bandB.type=peak|lowshelf6|lowshelf12|highshelf6|highshelf12\n"
         "  outN.limiter.threshold=-30..6|OFF  dBu in 0.1 dBu steps\n"
         "  outN.limiter.attack=0.3..100       ms (0.3..0.9 in 0.1 steps, then whole ms)\n"
         "  outN.limiter.release=0..5          attack time x 2, 4, 6, 8, 16, 32\n"
         "Numbers are taken as written: one between two steps of its key (mix1=50.5,\n"
         "gain=-3.5) or one that is not finite is refused, never rounded or cut.\n";
}

bool PresetEditor::Prepare(const std::vector<std::string>& assignments, std::string& error) {
  m_edits.clear();
  if (assignments.empty()) {
    error = Say2(m_chinese, "没有给出参数", "no KEY=VALUE given");
    return false;
  }
  for (const std::string& a : assignments) {
    const std::size_t eq = a.find('=');
    if (eq == std::string::npos || eq == 0) {
      error = "'" + a + "': " + Say2(m_chinese, "应为 KEY=VALUE", "expected KEY=VALUE");
      return false;
    }
    if (!Parse(a.substr(0, eq), a.substr(eq + 1), error)) return false;
  }
  for (std::size_t i = 0; i < m_speakers.size(); ++i) {
    if (m_speakerKeys[i].empty()) continue;
    for (std::size_t j = 0; j < m_speakers.size(); ++j) {
      if (j == i || !SpeakersClash(m_speakers[i], m_speakers[j])) continue;
      error = "'" + m_speakerKeys[i] +
              "': " + Say2(m_chinese, "与输出", "clashes with the speaker type of output ") +
              std::to_string(j + 1) + Say2(m_chinese, "的扬声器类型冲突", "") + " (" +
              std::to_string(m_speakers[j]) + ")";
      return false;
    }
  }
  for (const Planned& p : m_crossovers) {
    if (!p.key.empty() && p.highPass > p.lowPass) {
      error = "'" + p.key + "': " +
              Say2(m_chinese, "高通频率不能高于低通频率",
                   "the high-pass frequency would lie above the low-pass") +
              " (" + std::to_string(p.highPass) + " > " + std::to_string(p.lowPass) + " Hz)";
      return false;
    }
  }
  return true;
}

void PresetEditor::Apply() {
  for (const Edit& e : m_edits) e.apply();
}

bool PresetEditor::Parse(const std::string& key, const std::string& value, std::string& error) {
  CKTV_Data& model = m_target.model;
  const std::string where = "'" + key + "=" + value + "': ";
  auto bad = [&](std::string_view zh, std::string_view en) {
    error = where + Say2(m_chinese, zh, en);
    return false;
  };
  std::string between;  // a number between two steps: the step below it
  auto badValue = [&] {
    error = where + ValueProblem(m_chinese, between);
    return false;
  };
  auto add = [&](std::function<void()> f) {
    m_edits.push_back({key, std::move(f)});
    return true;
  };
  auto needsSystemArea = [&] {
    return bad("单音效文件不含系统参数",
               "not kept in a single-preset file (only in .dspa files and devices)");
  };

  const std::size_t dot = key.find('.');
  const std::string head = key.substr(0, dot);
  const std::string rest = dot == std::string::npos ? std::string() : key.substr(dot + 1);

  if (const auto channel = Numbered(head, "out", rec::kOutputCount)) {
    if (rest.empty()) return bad("未知参数", "unknown key");
    return ParseOutput(*channel - 1, key, rest, value, error);
  }
  if (!rest.empty()) return bad("未知参数", "unknown key");

  if (head == "name") {
    const auto gbk = Utf8ToGbk(value);
    if (!gbk)
      return bad("名称含有无法保存的字符", "the name holds a character that cannot be stored");
    if (gbk->size() > kSlotNameBytes)
      return bad("名称超过15字节", "the name is longer than 15 bytes");
    return add([this, name = *gbk] {
      std::unique_lock<std::recursive_mutex> lock;
      if (m_target.queueLock != nullptr) lock = std::unique_lock(*m_target.queueLock);
      StoreSlotName(m_target.model.State().Live(), name);
      if (m_target.device != nullptr) m_target.device->SendSystemItem(rec::kSysItemProgramName, 0);
    });
  }
  if (head == "source") {
    if (!m_target.systemArea) return needsSystemArea();
    std::optional<int> source = WholeInt(value);
    if (!source) {
      source = Choice(value, {{"highlevel", "high-level", "high", "high level"},
                              {"rca", "lowlevel", "low-level"},
                              {"bluetooth", "bt"},
                              {"optical"},
                              {"coaxial"},
                              {"player"}});
    }
    for (int i = 0; !source && i < kInputSourceCount; ++i) {
      if (value == InputSourceName(i, true) || Lower(value) == Lower(InputSourceName(i, false)))
        source = i;
    }
    if (!source || *source < 0 || *source >= kInputSourceCount) return badValue();
    return add([this, v = *source] {
      if (m_target.device != nullptr) {
        m_target.device->SelectInputSource(v);
      } else {
        m_target.model.SelectInputSource(v);
      }
    });
  }
  if (head == "volume") {
    if (!m_target.systemArea) return needsSystemArea();
    const auto number = PlainNumber(value, {"dB"});
    const std::optional<int> code =
        number ? CodeOnStep(scales::kMasterVolume, *number, between) : std::nullopt;
    if (!code) return badValue();
    return add([&model, v = *code] {
      // As the master controls do: a new volume switches the master on.
      model.SetMasterOn(1);
      model.SetMasterVolume(v);
    });
  }
  if (const auto channel = Numbered(head, "speaker", rec::kOutputCount)) {
    if (!m_target.systemArea) return needsSystemArea();
    const auto type = WholeInt(value);
    if (!type || *type < 0 || *type >= kSpeakerTypeCount) return badValue();
    m_speakers[static_cast<std::size_t>(*channel - 1)] = *type;
    m_speakerKeys[static_cast<std::size_t>(*channel - 1)] = key + "=" + value;
    return add([this, c = *channel - 1, t = *type] {
      if (m_target.device != nullptr) {
        m_target.device->SetSpeakerType(c, t);
      } else {
        m_target.model.SetSpeakerType(c, t);
      }
    });
  }
  return bad("未知参数", "unknown key");
}

bool PresetEditor::ParseOutput(int channel, const std::string& key, const std::string& rest,
                               const std::string& value, std::string& error) {
  CKTV_OutData& out = m_target.model.Output(channel);
  const std::string where = "'" + key + "=" + value + "': ";
  auto bad = [&](std::string_view zh, std::string_view en) {
    error = where + Say2(m_chinese, zh, en);
    return false;
  };
  std::string between;  // a number between two steps: the step below it
  auto badValue = [&] {
    error = where + ValueProblem(m_chinese, between);
    return false;
  };
  auto unknown = [&] { return bad("未知参数", "unknown key"); };
  auto add = [&](std::function<void()> f) {
    m_edits.push_back({key, std::move(f)});
    return true;
  };
  // A value in a decimal mode: the number (with or without its unit) within the edit's
  // range and on one of its steps, or "OFF" where the edit takes it. Q is looked up in its
  // table instead (the table's value at or below the number).
  auto decimal = [&](const EditScale& scale, std::initializer_list<std::string_view> units,
                     bool offAllowed) -> std::optional<int> {
    if (offAllowed && (value == "OFF" || Lower(value) == "off" || value == "关闭")) {
      return CommitEditText(scale, "OFF").code;
    }
    const auto number = PlainNumber(value, units);
    if (!number) return std::nullopt;
    if (scale.mode == kEditBandwidthQ) return ReadEditText(scale, *number).code;
    return CodeOnStep(scale, *number, between);
  };
  auto frequency = [&]() -> std::optional<int> {
    const auto number = PlainNumber(value, {"Hz"}, true);
    return number ? ReadEditText(scales::kBandFrequency, *number).code : std::nullopt;
  };

  const std::size_t dot = rest.find('.');
  const std::string head = rest.substr(0, dot);
  const std::string tail = dot == std::string::npos ? std::string() : rest.substr(dot + 1);

  if (tail.empty()) {
    if (head == "on") {
      const auto on = Choice(value, {{"0", "off"}, {"1", "on"}});
      if (!on) return badValue();
      return add([&out, v = *on] { out.SetOutputOn(v); });
    }
    if (head == "phase") {
      const auto phase = Choice(value, {{"normal", "0"}, {"inverted", "1", "invert"}});
      if (!phase) return badValue();
      return add([&out, v = *phase] { out.SetPhase(v); });
    }
    if (head == "gain") {
      const auto code = decimal(scales::kOutputGain, {"dB"}, true);
      if (!code) return badValue();
      return add([&out, v = *code] { out.SetGainCode(v); });
    }
    if (head == "delay") {
      const auto code = decimal(scales::kDelay, {"ms"}, false);
      if (!code) return badValue();
      return add([&out, v = *code] { out.SetDelayCode(v); });
    }
    if (head == "name") {
      const auto gbk = Utf8ToGbk(value);
      if (!gbk)
        return bad("名称含有无法保存的字符", "the name holds a character that cannot be stored");
      if (gbk->size() >= rec::kOutNameSize)
        return bad("名称超过7字节", "an output name holds at most 7 bytes");
      return add([&out, v = value] { out.SetNameText(v); });
    }
    if (const auto source = Numbered(head, "mix", static_cast<int>(rec::kMixerSources))) {
      const auto level = decimal(scales::kMixerLevel, {"%"}, false);
      if (!level) return badValue();
      return add([&out, s = *source - 1, v = *level] {
        MixerRow row = out.Mixer();
        row[static_cast<std::size_t>(s)] = static_cast<std::uint8_t>(v);
        if (rec::MixerItemOfSource(s) == rec::kItemMixerLow) {
          out.SetMixerLow(row);
        } else {
          out.SetMixerHigh(row);
        }
      });
    }
    return unknown();
  }

  if (head == "hp" || head == "lp") {
    const bool high = head == "hp";
    auto filter = [&out, high]() -> CFilter& { return high ? out.HighPass() : out.LowPass(); };
    if (tail == "freq") {
      const auto hz = frequency();
      if (!hz) return badValue();
      Planned& planned = m_crossovers[static_cast<std::size_t>(channel)];
      (high ? planned.highPass : planned.lowPass) = *hz;
      planned.key = key;
      return add([filter, v = *hz] { filter().SetFrequency(v, true); });
    }
    if (tail == "family") {
      const auto family = Choice(value, {{"linkwitz", "link_ril", "linkwitz-riley", "0"},
                                         {"bessel", "1"},
                                         {"butterworth", "butter_w", "2"}});
      if (!family) return badValue();
      return add([filter, v = *family] { filter().SetFamily(v, true); });
    }
    if (tail == "slope") {
      std::optional<int> slope = WholeInt(value);
      if (!slope && Lower(value) == "off") slope = kSlopeOff;
      // Also as shown: "24dB/Oct".
      const std::string shown = Lower(value);
      if (!slope && shown.size() > 6 && shown.substr(shown.size() - 6) == "db/oct") {
        const auto db = WholeInt(std::string_view(shown).substr(0, shown.size() - 6));
        if (db && *db >= 12 && *db <= 48 && *db % 6 == 0) slope = (*db - 12) / 6;
      }
      if (!slope || *slope < 0 || *slope > kSlopeOff) return badValue();
      return add([filter, v = *slope] { filter().SetSlope(v, true); });
    }
    return unknown();
  }

  if (const auto band = Numbered(head, "band", rec::kOutputBands)) {
    const int b = *band - 1;
    if (tail == "freq") {
      const auto hz = frequency();
      if (!hz) return badValue();
      return add([&out, b, v = *hz] { out.Filter(b).SetFrequency(v, true); });
    }
    if (tail == "gain") {
      const auto index = decimal(scales::kBandGain, {"dB"}, false);
      if (!index) return badValue();
      return add([&out, b, v = *index] { out.Filter(b).SetGainIndex(v); });
    }
    if (tail == "q") {
      const auto index = decimal(scales::kBandQ, {}, false);
      if (!index) return badValue();
      return add([&out, b, v = *index] { out.Filter(b).SetBandwidthIndex(v); });
    }
    if (tail == "type") {
      const auto type = Choice(
          value,
          {{"peak", "peaking"}, {"lowshelf6"}, {"lowshelf12"}, {"highshelf6"}, {"highshelf12"}});
      if (!type) return badValue();
      return add([&out, b, v = *type] { out.Filter(b).SetEqType(v); });
    }
    return unknown();
  }

  if (head == "limiter") {
    if (tail == "threshold") {
      const auto code = decimal(scales::kLimiterThreshold, {"dBu"}, true);
      if (!code) return badValue();
      return add([&out, v = *code] { out.SetThresholdCode(v); });
    }
    if (tail == "attack") {
      const auto code = decimal(scales::kLimiterAttack, {"ms"}, false);
      if (!code) return badValue();
      return add([&out, v = *code] { out.SetAttackCode(v); });
    }
    if (tail == "release") {
      const auto code = WholeInt(value);
      if (!code || *code < 0 || *code > kReleaseCodeMax) return badValue();
      return add([&out, v = *code] { out.SetReleaseCode(v); });
    }
  }
  return unknown();
}

}  // namespace vantor::cli
