#include "cli/AutoEqCommand.h"

#include <cmath>
#include <ostream>

#include "base/NumberFormat.h"
#include "cli/CliText.h"
#include "cli/CommandArgs.h"
#include "cli/ExitCodes.h"
#include "cli/PresetImage.h"
#include "dsp/FilterCodes.h"
#include "measure/DecimalField.h"
#include "measure/MeasureController.h"
#include "model/DataDefine.h"
#include "model/EditConversion.h"
#include "presets/ParameterScales.h"

namespace vantor::cli {
namespace {

constexpr const char* kAutoEqUsageEn =
    "usage: vantorctl autoeq IN.dsps OUT.dsps --output N --measurement FILE\n"
    "                        [--target flat|car|FILE] [--bands K] [--from HZ] [--to HZ]\n"
    "                        [--max-boost DB] [--shift DB]\n"
    "Fits the bands of output N (1..8) of IN so that the measurement plus the output's\n"
    "channel curve follows the target, and writes OUT with the fitted bands (as peaking\n"
    "bands; bands switched off are left alone, the other bands not needed go to 0 dB).\n"
    "Prints the fitted bands, then the RMS deviation from the target over the range before\n"
    "and after, the last line \"rms before <dB> after <dB>\".\n"
    "  --measurement FILE  the output's measured response (as for 'vantorctl measure')\n"
    "  --target            flat (default), car, or a house-curve file (\"frequency dB\" lines)\n"
    "  --bands K           at most K bands (default: every band not switched off)\n"
    "  --from, --to HZ     the range fitted, 20..20000 (default: the crossover passband)\n"
    "  --max-boost DB      no band and no point of their sum above this, 0..20 (default 6)\n"
    "  --shift DB          added to the normalised measurement (default 0)\n";

constexpr const char* kAutoEqUsageZh =
    "用法: vantorctl autoeq 输入.dsps 输出.dsps --output N --measurement 文件\n"
    "                        [--target flat|car|文件] [--bands K] [--from HZ] [--to HZ]\n"
    "                        [--max-boost DB] [--shift DB]\n"
    "拟合输入文件中输出 N (1..8) 的 EQ 段，使测量曲线加上该输出的通道曲线接近目标曲线，\n"
    "并把拟合后的 EQ 段写入输出文件（均为峰值段；已关闭的段保持不变，其余不需要的段设为 0 dB）。\n"
    "输出拟合的各段，最后一行为范围内与目标曲线的均方根偏差 \"rms before <dB> after <dB>\"。\n"
    "  --measurement 文件  该输出的测量响应（格式同 'vantorctl measure'）\n"
    "  --target            flat（默认）、car 或目标曲线文件（每行 \"频率 dB\"）\n"
    "  --bands K           最多使用 K 段（默认：所有未关闭的段）\n"
    "  --from, --to HZ     拟合范围 20..20000（默认：分频器的通带）\n"
    "  --max-boost DB      任何一段及各段之和都不超过此提升，0..20（默认 6）\n"
    "  --shift DB          加到归一化后的测量曲线上（默认 0）\n";

constexpr double kLargestShiftDb = 60.0;

struct Request {
  int output = 0;
  std::string measurement;
  std::string target = "flat";
  AutoEqOptions fit;
  double shiftDb = 0.0;
};

// The options as a request; false with a one-line reason.
bool ReadRequest(const std::map<std::string, std::string>& options, bool zh, Request& r,
                 std::string& error) {
  auto decimal = [&options](const char* key) -> std::optional<std::optional<double>> {
    const auto found = options.find(key);
    if (found == options.end()) return std::optional<double>();
    const auto v = ParseDecimalField(found->second);
    if (!v) return std::nullopt;
    return v;
  };
  const auto output = options.find("--output");
  const auto n = output != options.end() ? WholeInt(output->second) : std::nullopt;
  if (!n || *n < 1 || *n > rec::kOutputCount) {
    error = Say2(zh, "--output 取 1..8", "--output takes 1..8");
    return false;
  }
  r.output = *n - 1;
  const auto measurement = options.find("--measurement");
  if (measurement == options.end()) {
    error = Say2(zh, "需要 --measurement 文件", "--measurement FILE is needed");
    return false;
  }
  r.measurement = measurement->second;
  if (const auto t = options.find("--target"); t != options.end()) r.target = t->second;
  if (const auto b = options.find("--bands"); b != options.end()) {
    const auto k = WholeInt(b->second);
    if (!k || *k < 1 || *k > rec::kOutputBands) {
      error = Say2(zh, "--bands 取 1..31", "--bands takes 1..31");
      return false;
    }
    r.fit.bands = *k;
  }
  const auto from = decimal("--from");
  const auto to = decimal("--to");
  const auto boost = decimal("--max-boost");
  const auto shift = decimal("--shift");
  auto inBand = [](const std::optional<double>& hz) {
    return !hz || (*hz >= kFitLowestHz && *hz <= kFitHighestHz);
  };
  if (!from || !to || !inBand(*from) || !inBand(*to) || (*from && *to && !(**from < **to))) {
    error = Say2(zh, "--from 和 --to 取 20..20000 Hz，且 --from 小于 --to",
                 "--from and --to take 20..20000 Hz, --from below --to");
    return false;
  }
  r.fit.fromHz = *from;
  r.fit.toHz = *to;
  if (!boost || (*boost && (**boost < 0.0 || **boost > 20.0))) {
    error = Say2(zh, "--max-boost 取 0..20 dB", "--max-boost takes 0..20 dB");
    return false;
  }
  if (*boost) r.fit.maxBoostDb = **boost;
  if (!shift || (*shift && std::abs(**shift) > kLargestShiftDb)) {
    error = Say2(zh, "--shift 取 -60..60 dB", "--shift takes -60..60 dB");
    return false;
  }
  r.shiftDb = shift->value_or(0.0);
  return true;
}

std::optional<TargetCurve> TargetOf(const std::string& name, MeasureError& error) {
  if (name == "flat") return FlatTarget();
  if (name == "car") return CarTarget();
  return LoadHouseCurve(name, error);
}

}  // namespace

int RunAutoEq(const GlobalOptions& o, const std::vector<std::string>& args, std::ostream& out,
              std::ostream& err) {
  const bool zh = o.chinese;
  if (WantsHelp(args)) {
    out << (zh ? kAutoEqUsageZh : kAutoEqUsageEn);
    return kExitOk;
  }
  std::map<std::string, std::string> options;
  std::vector<std::string> files;
  std::string error;
  Request request;
  const std::map<std::string, bool> known = {
      {"--output", true}, {"--measurement", true}, {"--target", true},    {"--bands", true},
      {"--from", true},   {"--to", true},          {"--max-boost", true}, {"--shift", true}};
  if (!SplitArgs(args, known, options, files, error, zh) || files.size() != 2 ||
      !ReadRequest(options, zh, request, error)) {
    err << "vantorctl autoeq: "
        << (error.empty() ? Say2(zh, "需要输入和输出两个文件", "expected IN and OUT files") : error)
        << SeeHelp("autoeq", zh);
    return kExitUsage;
  }

  auto image = OpenPresetFile(files[0], zh, error);
  if (!image) {
    err << "vantorctl autoeq: " << error << '\n';
    return kExitFile;
  }
  MeasureError failure;
  auto measurement = LoadMeasurement(request.measurement, failure);
  if (!measurement) {
    err << "vantorctl autoeq: " << request.measurement << ": " << MeasureErrorText(failure, zh)
        << '\n';
    return kExitFile;
  }
  measurement->shiftDb = request.shiftDb;
  auto target = TargetOf(request.target, failure);
  if (!target) {
    err << "vantorctl autoeq: " << request.target << ": " << MeasureErrorText(failure, zh) << '\n';
    return kExitFile;
  }

  MeasureController controller(image->program->model);
  controller.SetMeasurement(request.output, std::move(*measurement));
  controller.SetTarget(std::move(*target));
  const auto preview = controller.PreviewAutoEq(request.output, request.fit, failure);
  if (!preview) {
    err << "vantorctl autoeq: " << Say2(zh, "输出 ", "output ") << request.output + 1 << ": "
        << MeasureErrorText(failure, zh) << '\n';
    return kExitFile;
  }
  controller.ApplyAutoEq(request.output, *preview);
  image->path = files[1];
  if (!SavePresetImage(*image, error, zh)) {
    err << "vantorctl autoeq: " << error << '\n';
    return kExitFile;
  }

  std::string text;
  for (const BandSetting& b : preview->bands) {
    if (b.gainIndex == kGainIndexFlat) continue;
    text += Say2(zh, "第 ", "band ") + std::to_string(b.band + 1) + Say2(zh, " 段: ", ": ") +
            std::to_string(b.frequencyHz) + " Hz, " + FormatFixed(GainDbFromIndex(b.gainIndex), 1) +
            " dB, Q " + FormatEditCode(scales::kBandQ, b.widthIndex) + "\n";
  }
  text += "rms before " + FormatFixed(preview->rmsBeforeDb, 2) + " after " +
          FormatFixed(preview->rmsAfterDb, 2) + "\n";
  out << text;
  return kExitOk;
}

}  // namespace vantor::cli
