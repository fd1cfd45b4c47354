#include "measure/MeasurementFile.h"

#include <cmath>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "base/FileIo.h"
#include "base/NumberFormat.h"
#include "measure/DecimalField.h"
#include "measure/ResponseRows.h"

namespace vantor {
namespace {

constexpr std::string_view kMagic = "vantor-measurements";
// A measurement file holds at most eight curves and a target: a few tens of kilobytes.
constexpr std::size_t kMeasurementFileLimit = 1u << 20;
constexpr int kLastPoint = static_cast<int>(kGridPoints) - 1;

std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

void AppendCurve(std::string& out, std::string_view key, const Response& db) {
  out += key;
  for (double v : db) {
    out += ' ';
    out += FormatShortest(v);
  }
  out += '\n';
}

// The file's lines with their numbers, comments and blank lines left out.
struct Line {
  int number;
  std::string_view text;
};

std::vector<Line> ContentLines(std::string_view text) {
  std::vector<Line> lines;
  int number = 0;
  while (!text.empty()) {
    ++number;
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && line.front() != '#') lines.push_back({number, line});
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// "key rest": the rest after the key and one space, or nothing when the key differs.
std::optional<std::string_view> Value(std::string_view line, std::string_view key) {
  if (line == key) return std::string_view();
  if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == ' ') {
    return line.substr(key.size() + 1);
  }
  return std::nullopt;
}

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> words;
  while (!s.empty()) {
    const auto start = s.find_first_not_of(' ');
    if (start == std::string_view::npos) break;
    s.remove_prefix(start);
    const auto end = s.find(' ');
    words.push_back(s.substr(0, end));
    if (end == std::string_view::npos) break;
    s.remove_prefix(end);
  }
  return words;
}

std::optional<double> ParseLevel(std::string_view word) {
  const auto v = ParseDecimalField(word);
  if (!v || std::abs(*v) > kLargestLevelDb) return std::nullopt;
  return v;
}

std::optional<Response> ParseCurve(std::string_view values) {
  const auto words = Words(values);
  if (words.size() != kGridPoints) return std::nullopt;
  Response db{};
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    const auto v = ParseLevel(words[i]);
    if (!v) return std::nullopt;
    db[i] = *v;
  }
  return db;
}

std::optional<int> ParseWhole(std::string_view word) {
  const auto v = ParseDecimalField(word);
  if (!v || *v != std::floor(*v) || std::abs(*v) > 1e6) return std::nullopt;
  return static_cast<int>(*v);
}

class Reader {
 public:
  explicit Reader(std::string_view text) : m_lines(ContentLines(text)) {}

  std::optional<MeasurementSet> Read(MeasureError& error) {
    MeasurementSet set;
    if (m_lines.empty()) return Fail(error, 1);
    const auto version = Value(m_lines[0].text, kMagic);
    const auto number = version ? ParseWhole(*version) : std::nullopt;
    if (!number) return Fail(error, m_lines[0].number);
    if (*number > kMeasurementFileVersion) {
      error = {MeasureErrorKind::kSideFileVersion, m_lines[0].number};
      return std::nullopt;
    }
    if (*number != kMeasurementFileVersion) return Fail(error, m_lines[0].number);
    m_next = 1;
    while (m_next < m_lines.size()) {
      const Line& line = m_lines[m_next++];
      m_failLine = line.number;
      if (const auto target = Value(line.text, "target")) {
        if (!ReadTarget(*target, set.target)) return Fail(error, m_failLine);
      } else if (const auto output = Value(line.text, "output")) {
        const auto n = ParseWhole(*output);
        if (!n || *n < 1 || *n > rec::kOutputCount) return Fail(error, line.number);
        auto& slot = set.outputs[static_cast<std::size_t>(*n - 1)];
        if (slot) return Fail(error, line.number);
        slot = ReadOutput();
        if (!slot) return Fail(error, m_failLine);
      } else {
        return Fail(error, line.number);
      }
    }
    return set;
  }

 private:
  std::nullopt_t Fail(MeasureError& error, int line) {
    error = {MeasureErrorKind::kBadSideFile, line};
    return std::nullopt;
  }

  // The next line's value for `key`; records the line on failure.
  std::optional<std::string_view> Expect(std::string_view key) {
    if (m_next >= m_lines.size()) {
      m_failLine = m_lines.back().number + 1;
      return std::nullopt;
    }
    const Line& line = m_lines[m_next++];
    m_failLine = line.number;
    return Value(line.text, key);
  }

  bool ReadTarget(std::string_view value, TargetCurve& target) {
    if (value == "flat") {
      target = FlatTarget();
      return true;
    }
    if (value == "car") {
      target = CarTarget();
      return true;
    }
    const auto name = Value(value, "file");
    if (!name) return false;
    const auto curve = Expect("target-curve");
    const auto db = curve ? ParseCurve(*curve) : std::nullopt;
    if (!db) return false;
    target = {TargetKind::kFile, std::string(*name), *db};
    return true;
  }

  std::optional<Measurement> ReadOutput() {
    Measurement m;
    const auto source = Expect("source");
    if (!source) return std::nullopt;
    m.source = std::string(*source);
    const auto shift = Expect("shift");
    const auto shiftDb = shift ? ParseLevel(*shift) : std::nullopt;
    if (!shiftDb) return std::nullopt;
    m.shiftDb = *shiftDb;
    const auto covers = Expect("covers");
    if (!covers) return std::nullopt;
    const auto words = Words(*covers);
    const auto first = words.size() == 2 ? ParseWhole(words[0]) : std::nullopt;
    const auto last = words.size() == 2 ? ParseWhole(words[1]) : std::nullopt;
    if (!first || !last || *first < 0 || *first > *last || *last > kLastPoint) {
      return std::nullopt;
    }
    m.firstIndex = *first;
    m.lastIndex = *last;
    const auto curve = Expect("curve");
    const auto db = curve ? ParseCurve(*curve) : std::nullopt;
    if (!db) return std::nullopt;
    m.db = *db;
    const auto end = Expect("end");
    if (!end || !end->empty()) return std::nullopt;
    return m;
  }

  std::vector<Line> m_lines;
  std::size_t m_next = 0;
  int m_failLine = 0;
};

}  // namespace

std::string MeasurementSetText(const MeasurementSet& set) {
  std::string out;
  out += "# Measured responses of the outputs and the target curve, on the 241-point grid.\n";
  out += std::string(kMagic) + " " + std::to_string(kMeasurementFileVersion) + "\n";
  switch (set.target.kind) {
    case TargetKind::kFlat:
      out += "target flat\n";
      break;
    case TargetKind::kCar:
      out += "target car\n";
      break;
    case TargetKind::kFile:
      out += "target file " + OneLine(set.target.name) + "\n";
      AppendCurve(out, "target-curve", set.target.db);
      break;
  }
  for (std::size_t o = 0; o < set.outputs.size(); ++o) {
    const auto& m = set.outputs[o];
    if (!m) continue;
    out += "output " + std::to_string(o + 1) + "\n";
    out += "source " + OneLine(m->source) + "\n";
    out += "shift " + FormatShortest(m->shiftDb) + "\n";
    out += "covers " + std::to_string(m->firstIndex) + " " + std::to_string(m->lastIndex) + "\n";
    AppendCurve(out, "curve", m->db);
    out += "end\n";
  }
  return out;
}

std::optional<MeasurementSet> MeasurementSetFromText(std::string_view text, MeasureError& error) {
  Reader reader(text);
  return reader.Read(error);
}

bool SaveMeasurementSet(const std::filesystem::path& path, const MeasurementSet& set,
                        MeasureError& error) {
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  const std::string text = MeasurementSetText(set);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  if (!ReplaceFile(path, std::span(bytes, text.size())).Ok()) {
    error = {MeasureErrorKind::kCannotWrite, 0};
    return false;
  }
  return true;
}

std::optional<MeasurementSet> LoadMeasurementSet(const std::filesystem::path& path,
                                                 MeasureError& error) {
  const auto text = ReadTextFile(path, kMeasurementFileLimit, error);
  if (!text) return std::nullopt;
  return MeasurementSetFromText(*text, error);
}

std::filesystem::path MeasurementFileFor(const std::filesystem::path& presetFile) {
  std::filesystem::path p = presetFile;
  p += kMeasurementFileExtension;
  return p;
}

std::optional<std::filesystem::path> DefaultMeasurementFile() {
  const std::filesystem::path name =
      std::string("measurements") + std::string(kMeasurementFileExtension);
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data != '\0') {
    return std::filesystem::path(data) / "vantor" / name;
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return std::filesystem::path(home) / ".local" / "share" / "vantor" / name;
  }
  return std::nullopt;
}

}  // namespace vantor
