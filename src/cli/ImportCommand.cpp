#include "cli/ImportCommand.h"

#include <map>
#include <ostream>

#include "cli/CliText.h"
#include "cli/CommandArgs.h"
#include "cli/ExitCodes.h"
#include "cli/PresetImage.h"
#include "exchange/FilterFile.h"
#include "exchange/FilterImport.h"
#include "model/ChannelTable.h"
#include "presets/PresetFileReader.h"

namespace vantor::cli {
namespace {

constexpr const char* kUsage =
    "usage: vantorctl import IN OUT --output N FILE [--accept-partial]\n"
    "Reads FILE, a REW filter settings file or an Equalizer APO configuration, into output N\n"
    "(1..8) of the live program of preset file IN and saves the result as OUT, of IN's kind\n"
    "(OUT may be IN). PK lines become peaking bands, LS/LSC/HS/HSC shelves, HP/HPQ/LP/LPQ\n"
    "lines the sections of the high-pass and low-pass crossover. Frequencies snap to the\n"
    "response grid, Q to the nearest bandwidth, gain to 0.1 dB. The file's bands replace all\n"
    "31 bands, sorted by frequency. Every line that cannot be represented (more than 31\n"
    "bands, another filter type, a value out of range, another command) is listed on standard\n"
    "error; then nothing is written and the exit code is 2, unless --accept-partial is given.\n";

std::string LineReport(const ImportLineReport& r, bool chinese) {
  return Say2(chinese, "第 ", "line ") + std::to_string(r.line) + Say2(chinese, " 行：", ": ") +
         std::string(Tr(r.reason, chinese)) + Say2(chinese, "：", ": ") + r.text;
}

}  // namespace

int RunImport(const GlobalOptions& o, const std::vector<std::string>& args, std::ostream& out,
              std::ostream& err) {
  if (WantsHelp(args)) return out << kUsage, kExitOk;
  std::map<std::string, std::string> options;
  std::vector<std::string> files;
  std::string error;
  const bool split = SplitArgs(args, {{"--output", true}, {"--accept-partial", false}}, options,
                               files, error, o.chinese);
  if (!split || files.size() != 3 || options.count("--output") == 0) {
    err << "vantorctl import: "
        << (error.empty() ? Say2(o.chinese, "需要 IN、OUT、--output 和导入文件",
                                 "expected IN, OUT, --output and the file to import")
                          : error)
        << SeeHelp("import", o.chinese);
    return kExitUsage;
  }
  const auto channel = OutputOption(options, "import", o.chinese, err);
  if (!channel) return kExitUsage;
  auto image = OpenPresetFile(files[0], o.chinese, error);
  if (!image) {
    err << "vantorctl import: " << error << '\n';
    return kExitFile;
  }
  const FilterFileText file = ReadFilterFile(files[2]);
  if (!file.result.Ok()) {
    err << "vantorctl import: " << DescribeFileFailure(files[2], file.result, o.chinese) << '\n';
    return kExitFile;
  }
  if (file.tooLarge) {
    err << "vantorctl import: " << files[2] << ": " << Tr(TextId::ImportFileTooLarge, o.chinese)
        << '\n';
    return kExitFile;
  }
  CKTV_OutData& output = image->program->model.Output(*channel);
  const ImportPlan plan = PlanFilterImport(file.text, output);
  for (const ImportLineReport& r : plan.reports) {
    err << "vantorctl import: " << LineReport(r, o.chinese) << '\n';
  }
  const bool accept = options.count("--accept-partial") != 0;
  if (!ApplyFilterImport(plan, output, accept)) {
    err << "vantorctl import: " << Say2(o.chinese, "有 ", "") << plan.RefusedLines()
        << Say2(
               o.chinese, " 行无法导入，未写入任何文件（--accept-partial 导入其余各行）",
               " lines cannot be imported; nothing was written (--accept-partial imports the rest)")
        << '\n';
    return kExitFile;
  }
  if (plan.toParametric)
    err << "vantorctl import: " << Tr(TextId::ImportToParametric, o.chinese) << '\n';
  image->path = files[1];
  if (!SavePresetImage(*image, error, o.chinese)) {
    err << "vantorctl import: " << error << '\n';
    return kExitFile;
  }
  out << ChannelLabel(*channel) << ": " << plan.bands.size()
      << Say2(o.chinese, " 个频段", " bands");
  if (plan.highPass) out << Say2(o.chinese, "，高通", ", high-pass");
  if (plan.lowPass) out << Say2(o.chinese, "，低通", ", low-pass");
  out << '\n';
  return kExitOk;
}

}  // namespace vantor::cli
