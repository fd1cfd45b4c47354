#include "cli/MeasureCommand.h"

#include <ostream>

#include "cli/CliText.h"
#include "cli/CommandArgs.h"
#include "cli/CurveCommand.h"
#include "cli/ExitCodes.h"
#include "measure/Measurement.h"

namespace vantor::cli {
namespace {

constexpr const char* kMeasureUsageEn =
    "usage: vantorctl measure FILE\n"
    "Imports a measured frequency response as the program does and prints it on the grid:\n"
    "241 lines \"<grid frequency> <dB>\", normalised to the mean from 200 Hz to 2 kHz.\n"
    "FILE is a text export (comment lines beginning with '*', rows \"frequency level\n"
    "[phase]\"), a .frd file or a CSV file with a header row; fields separated by spaces,\n"
    "tabs, commas or semicolons. Rows outside 10 Hz..24 kHz are ignored. Beyond the measured\n"
    "span the end values are held.\n";

constexpr const char* kMeasureUsageZh =
    "用法: vantorctl measure 文件\n"
    "按程序的方式导入测量的频率响应并在网格上输出：241 行 \"<网格频率> <dB>\"，\n"
    "以 200 Hz 至 2 kHz 的平均值归一化。\n"
    "文件可以是文本导出（以 '*' 开头的注释行，每行 \"频率 电平 [相位]\"）、.frd 文件或带标题行\n"
    "的 CSV 文件；字段以空格、制表符、逗号或分号分隔。10 Hz 至 24 kHz 以外的行被忽略。\n"
    "测量范围之外保持端点的值。\n";

}  // namespace

int RunMeasure(const GlobalOptions& o, const std::vector<std::string>& args, std::ostream& out,
               std::ostream& err) {
  if (WantsHelp(args)) {
    out << (o.chinese ? kMeasureUsageZh : kMeasureUsageEn);
    return kExitOk;
  }
  std::map<std::string, std::string> options;
  std::vector<std::string> files;
  std::string error;
  if (!SplitArgs(args, {}, options, files, error, o.chinese) || files.size() != 1) {
    err << "vantorctl measure: "
        << (error.empty() ? Say2(o.chinese, "需要一个文件", "expected one file") : error)
        << SeeHelp("measure", o.chinese);
    return kExitUsage;
  }
  MeasureError failure;
  const auto m = LoadMeasurement(files[0], failure);
  if (!m) {
    err << "vantorctl measure: " << files[0] << ": " << MeasureErrorText(failure, o.chinese)
        << '\n';
    return kExitFile;
  }
  out << GridCurveText(m->Shifted());
  return kExitOk;
}

}  // namespace vantor::cli
