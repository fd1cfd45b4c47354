#include "cli/PresetCommand.h"

#include <map>
#include <ostream>

#include "base/ByteArchive.h"
#include "base/FileIo.h"
#include "base/NumberFormat.h"
#include "cli/CliText.h"
#include "cli/CommandArgs.h"
#include "cli/CurveCommand.h"
#include "cli/ExitCodes.h"
#include "cli/JsonWriter.h"
#include "cli/OutputCheck.h"
#include "cli/PresetEditor.h"
#include "cli/PresetImage.h"
#include "cli/PresetListing.h"
#include "dsp/ResponseGrid.h"
#include "presets/ParameterReport.h"
#include "presets/PresetFileReader.h"
#include "presets/PresetSerializer.h"
#include "text/TextFormat.h"

namespace vantor::cli {
namespace {

constexpr const char* kPresetUsage =
    "usage: vantorctl preset COMMAND ...\n"
    "commands:\n"
    "  new OUT.dsps                 the program's start-up state as a single-preset file\n"
    "  show FILE [--json]           every parameter of a .dsps or .dspa file\n"
    "  set FILE KEY=VALUE...        change values in a preset file and save it\n"
    "  diff A B                     the parameters that differ between two preset files\n"
    "Run 'vantorctl preset COMMAND --help' for a command's arguments.\n";

constexpr const char* kNewUsage =
    "usage: vantorctl preset new OUT.dsps\n"
    "Saves the program's start-up state as a single-preset file, exactly as the application\n"
    "saves it right after it started. \".dsps\" is added when the name does not end with it.\n";

constexpr const char* kShowUsage =
    "usage: vantorctl preset show FILE [--json]\n"
    "Every parameter of every output in its unit, the program name, and for an all-presets\n"
    "file (.dspa) the system block, the live program and the 20 slots.\n";

constexpr const char* kDiffUsage =
    "usage: vantorctl preset diff A B\n"
    "Prints 'KEY: A-value -> B-value' for every parameter that differs (keys of 'preset set').\n"
    "Files of different kinds are compared on their live programs. Prints nothing when the\n"
    "files hold the same parameters.\n";

constexpr const char* kResponseUsage =
    "usage: vantorctl response FILE [--channel N]\n"
    "The summed response of output N (1..8) of the file's live program, as the graph computes\n"
    "it after the file was loaded: 241 lines \"<grid frequency> <dB>\". Without --channel all\n"
    "eight, each block headed \"# CHn\".\n";

constexpr const char* kReportUsage =
    "usage: vantorctl report FILE [--lang zh|en] [--csv OUT.csv]\n"
    "The parameter report of the file's live program: one row per parameter, one column per\n"
    "output. With --csv it is written as a CSV file (UTF-8 with byte-order mark) instead.\n";

std::string SetUsage() {
  return "usage: vantorctl preset set FILE KEY=VALUE...\n"
         "Changes values of a preset file's live program through the model's own setters and\n"
         "saves the file (through a temporary file). A bad key or value changes nothing.\n" +
         PresetEditor::KeyHelp();
}

int New(const GlobalOptions& o, const std::vector<std::string>& args, std::ostream& err) {
  if (args.size() != 1) {
    err << "vantorctl preset new: " << Say2(o.chinese, "需要一个文件名", "expected one file name")
        << SeeHelp("preset new", o.chinese);
    return kExitUsage;
  }
  if (const auto problem = OutputProblem(args[0], {}, o.chinese)) {
    err << "vantorctl preset new: " << *problem << '\n';
    return kExitUsage;
  }
  Program program;
  ByteArchive ar;
  SerializePreset(ar, program.model);
  const auto path = WithPresetExtension(args[0], PresetKind::kSingle);
  const FileResult written = ReplaceFile(path, ar.Bytes());
  if (!written.Ok()) {
    err << "vantorctl preset new: " << DescribeFileFailure(path, written, o.chinese) << '\n';
    return kExitFile;
  }
  return kExitOk;
}

int Show(const GlobalOptions& o, const std::vector<std::string>& args, std::ostream& out,
         std::ostream& err) {
  std::map<std::string, std::string> options;
  std::vector<std::string> files;
  std::string error;
  if (!SplitArgs(args, {{"--json", false}}, options, files, error, o.chinese) ||
      files.size() != 1) {
    err << "vantorctl preset show: "
        << (error.empty() ? Say2(o.chinese, "需要一个文件", "expected one file") : error)
        << SeeHelp("preset show", o.chinese);
    return kExitUsage;
  }
  auto image = OpenPresetFile(files[0], o.chinese, error);
  if (!image) {
    err << "vantorctl preset show: " << error << '\n';
    return kExitFile;
  }
  const ProgramState& state = image->program->state;
  const bool all = image->kind == PresetKind::kAll;
  std::optional<std::span<const std::uint8_t>> speakers;
  if (all) speakers = state.SpeakerTypes();

  if (options.count("--json") != 0) {
    JsonWriter w(out);
    w.BeginObject();
    w.Key("kind").String(all ? "all" : "single");
    if (all) {
      w.Key("system");
      WriteSystemJson(w, state);
    }
    w.Key("live");
    WriteProgramJson(w, image->program->model);
    if (all) {
      w.Key("slots").BeginArray();
      for (int n = 1; n <= rec::kSlotRecordCount; ++n) {
        const auto slot = DecodeRecord(state.Slot(n));
        WriteProgramJson(w, slot->model);
      }
      w.EndArray();
    }
    w.EndObject();
    out << '\n';
    return kExitOk;
  }

  const bool zh = o.chinese;
  if (!all) {
    WriteProgramText(out, image->program->model, zh, std::nullopt);
    return kExitOk;
  }
  out << (zh ? "== 系统\n" : "== system\n");
  WriteSystemText(out, state, zh);
  out << (zh ? "== 当前音效\n" : "== live program\n");
  WriteProgramText(out, image->program->model, zh, speakers);
  for (int n = 1; n <= rec::kSlotRecordCount; ++n) {
    out << (zh ? "== 音效" : "== slot ") << n << '\n';
    const auto slot = DecodeRecord(state.Slot(n));
    WriteProgramText(out, slot->model, zh, speakers);
  }
  return kExitOk;
}

int Set(const GlobalOptions& o, const std::vector<std::string>& args, std::ostream& err) {
  if (args.size() < 2) {
    err << "vantorctl preset set: "
        << Say2(o.chinese, "需要文件和 KEY=VALUE", "expected a file and KEY=VALUE")
        << SeeHelp("preset set", o.chinese);
    return kExitUsage;
  }
  std::string error;
  // Locked from the read to the save: a second `preset set` on the file waits for this one.
  auto image = OpenPresetFileForUpdate(args[0], o.chinese, error, [&] {
    err << "vantorctl preset set: "
        << FormatText(Tr(TextId::FileWaiting, o.chinese), {{"file", args[0]}}) << '\n';
  });
  if (!image) {
    err << "vantorctl preset set: " << error << '\n';
    return kExitFile;
  }
  PresetEditor editor({image->program->model, image->kind == PresetKind::kAll, nullptr, nullptr},
                      o.chinese);
  if (!editor.Prepare(std::vector<std::string>(args.begin() + 1, args.end()), error)) {
    err << "vantorctl preset set: " << error << '\n';
    return kExitUsage;
  }
  editor.Apply();
  if (!SavePresetImage(*image, error, o.chinese)) {
    err << "vantorctl preset set: " << error << '\n';
    return kExitFile;
  }
  return kExitOk;
}

std::vector<Entry> EntriesOf(const PresetImage& image, bool liveOnly) {
  std::vector<Entry> entries;
  const ProgramState& state = image.program->state;
  if (image.kind == PresetKind::kAll && !liveOnly) entries = SystemEntries(state);
  for (auto& e : ProgramEntries(image.program->model)) entries.push_back(std::move(e));
  if (image.kind == PresetKind::kAll && !liveOnly) {
    for (int n = 1; n <= rec::kSlotRecordCount; ++n) {
      const auto slot = DecodeRecord(state.Slot(n));
      for (auto& e : ProgramEntries(slot->model, "slot" + std::to_string(n) + "."))
        entries.push_back(std::move(e));
    }
  }
  return entries;
}

int Diff(const GlobalOptions& o, const std::vector<std::string>& args, std::ostream& out,
         std::ostream& err) {
  if (args.size() != 2) {
    err << "vantorctl preset diff: " << Say2(o.chinese, "需要两个文件", "expected two files")
        << SeeHelp("preset diff", o.chinese);
    return kExitUsage;
  }
  std::string error;
  auto a = OpenPresetFile(args[0], o.chinese, error);
  auto b = a ? OpenPresetFile(args[1], o.chinese, error) : std::nullopt;
  if (!a || !b) {
    err << "vantorctl preset diff: " << error << '\n';
    return kExitFile;
  }
  const bool liveOnly = a->kind != b->kind;
  const auto left = EntriesOf(*a, liveOnly);
  const auto right = EntriesOf(*b, liveOnly);
  for (std::size_t i = 0; i < left.size() && i < right.size(); ++i) {
    if (left[i].text != right[i].text)
      out << left[i].key << ": " << left[i].text << " -> " << right[i].text << '\n';
  }
  return kExitOk;
}

}  // namespace

int RunPreset(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
              std::ostream& err) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    (args.empty() ? err : out) << kPresetUsage;
    return args.empty() ? kExitUsage : kExitOk;
  }
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  const bool help = WantsHelp(rest);
  if (command == "new") {
    if (help) return out << kNewUsage, kExitOk;
    return New(options, rest, err);
  }
  if (command == "show") {
    if (help) return out << kShowUsage, kExitOk;
    return Show(options, rest, out, err);
  }
  if (command == "set") {
    if (help) return out << SetUsage(), kExitOk;
    return Set(options, rest, err);
  }
  if (command == "diff") {
    if (help) return out << kDiffUsage, kExitOk;
    return Diff(options, rest, out, err);
  }
  err << "vantorctl preset: " << Say2(options.chinese, "未知命令 '", "unknown command '") << command
      << "'" << SeeHelp("preset", options.chinese);
  return kExitUsage;
}

int RunResponse(const GlobalOptions& o, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err) {
  if (WantsHelp(args)) return out << kResponseUsage, kExitOk;
  std::map<std::string, std::string> options;
  std::vector<std::string> files;
  std::string error;
  if (!SplitArgs(args, {{"--channel", true}}, options, files, error, o.chinese) ||
      files.size() != 1) {
    err << "vantorctl response: "
        << (error.empty() ? Say2(o.chinese, "需要一个文件", "expected one file") : error)
        << SeeHelp("response", o.chinese);
    return kExitUsage;
  }
  int first = 0;
  int last = rec::kOutputCount - 1;
  if (const auto found = options.find("--channel"); found != options.end()) {
    const std::string& v = found->second;
    if (v.size() != 1 || v[0] < '1' || v[0] > '8') {
      err << "vantorctl response: "
          << Say2(o.chinese, "--channel 取 1..8，不是 '", "--channel takes 1..8, not '") << v
          << "'\n";
      return kExitUsage;
    }
    first = last = v[0] - '1';
  }
  auto image = OpenPresetFile(files[0], o.chinese, error);
  if (!image) {
    err << "vantorctl response: " << error << '\n';
    return kExitFile;
  }
  std::string text;
  for (int c = first; c <= last; ++c) {
    if (first != last) text += "# CH" + std::to_string(c + 1) + "\n";
    text += GridCurveText(image->program->model.Output(c).Filters().SumDb());
  }
  out << text;
  return kExitOk;
}

int RunReport(const GlobalOptions& o, const std::vector<std::string>& args, std::ostream& out,
              std::ostream& err) {
  if (WantsHelp(args)) return out << kReportUsage, kExitOk;
  std::map<std::string, std::string> options;
  std::vector<std::string> files;
  std::string error;
  if (!SplitArgs(args, {{"--csv", true}, {"--lang", true}}, options, files, error, o.chinese) ||
      files.size() != 1) {
    err << "vantorctl report: "
        << (error.empty() ? Say2(o.chinese, "需要一个文件", "expected one file") : error)
        << SeeHelp("report", o.chinese);
    return kExitUsage;
  }
  bool chinese = o.chinese;
  if (const auto lang = options.find("--lang"); lang != options.end()) {
    if (lang->second != "zh" && lang->second != "en") {
      err << "vantorctl report: "
          << Say2(o.chinese, "--lang 取 zh 或 en，不是 '", "--lang takes zh or en, not '")
          << lang->second << "'\n";
      return kExitUsage;
    }
    chinese = lang->second == "zh";
  }
  if (const auto csv = options.find("--csv"); csv != options.end()) {
    if (const auto problem = OutputProblem(csv->second, {files[0]}, chinese)) {
      err << "vantorctl report: " << *problem << '\n';
      return kExitUsage;
    }
  }
  auto image = OpenPresetFile(files[0], chinese, error);
  if (!image) {
    err << "vantorctl report: " << error << '\n';
    return kExitFile;
  }
  std::optional<std::span<const std::uint8_t>> speakers;
  if (image->kind == PresetKind::kAll) speakers = image->program->state.SpeakerTypes();
  const ParameterReport report = BuildParameterReport(image->program->model, chinese, speakers);

  if (const auto csv = options.find("--csv"); csv != options.end()) {
    const std::string text = ParameterReportCsv(report);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const FileResult written = ReplaceFile(csv->second, std::span(bytes, text.size()));
    if (!written.Ok()) {
      err << "vantorctl report: " << DescribeFileFailure(csv->second, written, chinese) << '\n';
      return kExitFile;
    }
    return kExitOk;
  }
  out << ParameterReportText(report);
  return kExitOk;
}

}  // namespace vantor::cli
