#include "cli/ExportCommand.h"

#include <map>
#include <ostream>

#include "cli/CliText.h"
#include "cli/CommandArgs.h"
#include "cli/ExitCodes.h"
#include "cli/PresetImage.h"
#include "exchange/FilterExport.h"
#include "exchange/FilterFile.h"
#include "presets/PresetFileReader.h"

namespace vantor::cli {
namespace {

constexpr const char* kUsage =
    "usage: vantorctl export FILE --output N --format rew|eqapo|camilladsp [--out OUT]\n"
    "The filters of output N (1..8) of a preset file's live program, as text for another tool:\n"
    "  rew         REW filter settings (\"Filter Settings file\"; shelves as LS/HS 6dB or 12dB)\n"
    "  eqapo       Equalizer APO configuration (shelves as LSC/HSC with their Q, crossovers as\n"
    "              their second-order sections HPQ/LPQ)\n"
    "  camilladsp  CamillaDSP YAML: the filters (Biquad, crossovers as BiquadCombo of their\n"
    "              family and order, or as sections) and a Filter step on channel N-1\n"
    "Flat and bypassed bands and open crossovers are left out; numbers use '.' whatever the\n"
    "locale. Written to standard output, or with --out to OUT (through a temporary file). What\n"
    "a format cannot hold (a first-order crossover section in rew or eqapo) is named on\n"
    "standard error.\n";

}  // namespace

int RunExport(const GlobalOptions& o, const std::vector<std::string>& args, std::ostream& out,
              std::ostream& err) {
  if (WantsHelp(args)) return out << kUsage, kExitOk;
  std::map<std::string, std::string> options;
  std::vector<std::string> files;
  std::string error;
  const bool split = SplitArgs(args, {{"--output", true}, {"--format", true}, {"--out", true}},
                               options, files, error, o.chinese);
  if (!split || files.size() != 1 || options.count("--output") == 0 ||
      options.count("--format") == 0) {
    err << "vantorctl export: "
        << (error.empty() ? Say2(o.chinese, "需要一个文件、--output 和 --format",
                                 "expected a file, --output and --format")
                          : error)
        << SeeHelp("export", o.chinese);
    return kExitUsage;
  }
  const auto channel = OutputOption(options, "export", o.chinese, err);
  if (!channel) return kExitUsage;
  const auto format = ExchangeFormatFromName(options["--format"]);
  if (!format) {
    err << "vantorctl export: "
        << Say2(o.chinese, "--format 取 rew、eqapo 或 camilladsp，不是 '",
                "--format takes rew, eqapo or camilladsp, not '")
        << options["--format"] << "'\n";
    return kExitUsage;
  }
  auto image = OpenPresetFile(files[0], o.chinese, error);
  if (!image) {
    err << "vantorctl export: " << error << '\n';
    return kExitFile;
  }
  const ExportResult result = ExportFilters(image->program->model.Output(*channel), *format);
  for (TextId note : result.notes) err << "vantorctl export: " << Tr(note, o.chinese) << '\n';
  if (const auto target = options.find("--out"); target != options.end()) {
    const FileResult written = WriteFilterFile(target->second, result.text);
    if (!written.Ok()) {
      err << "vantorctl export: " << DescribeFileFailure(target->second, written, o.chinese)
          << '\n';
      return kExitFile;
    }
    return kExitOk;
  }
  out << result.text;
  return kExitOk;
}

}  // namespace vantor::cli
