#include "cli/AlignCommand.h"

#include <ostream>

#include "base/NumberFormat.h"
#include "cli/CliText.h"
#include "cli/CommandArgs.h"
#include "cli/ExitCodes.h"
#include "cli/PresetImage.h"
#include "measure/MeasureController.h"
#include "model/ValueScales.h"

namespace vantor::cli {
namespace {

constexpr const char* kAlignUsageEn =
    "usage: vantorctl align IN.dsps OUT.dsps --distance 1=120cm,2=95cm,...\n"
    "Sets the delay of every output given a distance (its speaker to the listening seat, in\n"
    "cm or in) so that all arrive with the farthest one: delay = (farthest - this) / 346 m/s,\n"
    "rounded to the 1/48 ms step, at most 50 ms. Outputs not listed keep their delay.\n"
    "Writes OUT and prints each output's new delay.\n";

constexpr const char* kAlignUsageZh =
    "用法: vantorctl align 输入.dsps 输出.dsps --distance 1=120cm,2=95cm,...\n"
    "按各扬声器到听音位置的距离（cm 或 in）设置所列输出的延时，使所有声音与最远的一个同时到达：\n"
    "延时 = (最远距离 - 本距离) / 346 m/s，取最近的 1/48 ms 步进，最多 50 ms。未列出的输出\n"
    "保持原延时。写入输出文件并显示各输出的新延时。\n";

// "1=120cm,2=95cm" as distances in metres; false with a one-line reason.
bool ReadDistances(const std::string& list, bool zh, OutputDistances& metres, std::string& error) {
  std::size_t start = 0;
  while (start <= list.size()) {
    const auto end = std::min(list.find(',', start), list.size());
    const std::string item = list.substr(start, end - start);
    const auto eq = item.find('=');
    const auto output = eq != std::string::npos ? WholeInt(item.substr(0, eq)) : std::nullopt;
    const auto distance =
        eq != std::string::npos ? ParseDistance(item.substr(eq + 1)) : std::nullopt;
    if (!output || *output < 1 || *output > rec::kOutputCount || !distance) {
      error = Say2(zh, "距离应写成 输出=数值cm 或 输出=数值in（输出 1..8），不是 '",
                   "a distance is OUTPUT=VALUEcm or OUTPUT=VALUEin (OUTPUT 1..8), not '") +
              item + "'";
      return false;
    }
    auto& slot = metres[static_cast<std::size_t>(*output - 1)];
    if (slot) {
      error = Say2(zh, "输出 ", "output ") + std::to_string(*output) +
              Say2(zh, " 给了两次距离", " is given twice");
      return false;
    }
    slot = *distance;
    start = end + 1;
  }
  return true;
}

}  // namespace

int RunAlign(const GlobalOptions& o, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err) {
  const bool zh = o.chinese;
  if (WantsHelp(args)) {
    out << (zh ? kAlignUsageZh : kAlignUsageEn);
    return kExitOk;
  }
  std::map<std::string, std::string> options;
  std::vector<std::string> files;
  std::string error;
  OutputDistances metres{};
  const bool parsed = SplitArgs(args, {{"--distance", true}}, options, files, error, zh);
  if (parsed && error.empty() && options.count("--distance") == 0) {
    error = Say2(zh, "需要 --distance", "--distance is needed");
  }
  if (!parsed || files.size() != 2 || !error.empty() ||
      !ReadDistances(options["--distance"], zh, metres, error)) {
    err << "vantorctl align: "
        << (error.empty() ? Say2(zh, "需要输入和输出两个文件", "expected IN and OUT files") : error)
        << SeeHelp("align", zh);
    return kExitUsage;
  }
  auto image = OpenPresetFile(files[0], zh, error);
  if (!image) {
    err << "vantorctl align: " << error << '\n';
    return kExitFile;
  }
  MeasureController controller(image->program->model);
  const AlignmentPreview preview = controller.PreviewAlignment(metres);
  controller.ApplyAlignment(preview);
  image->path = files[1];
  if (!SavePresetImage(*image, error, zh)) {
    err << "vantorctl align: " << error << '\n';
    return kExitFile;
  }
  std::string text;
  for (std::size_t i = 0; i < preview.delayCodes.size(); ++i) {
    const auto& code = preview.delayCodes[i];
    if (!code) continue;
    const std::string name = "CH" + std::to_string(i + 1);
    text += name + ": " + FormatFixed(DelayMs(*code), 3) + " ms (" + std::to_string(*code) + ")\n";
    if (preview.clamped[i]) {
      err << "vantorctl align: " << name
          << Say2(zh, ": 所需延时超过 50 ms，已设为 50 ms",
                  ": the delay needed passes 50 ms; set to 50 ms")
          << '\n';
    }
  }
  out << text;
  return kExitOk;
}

}  // namespace vantor::cli
