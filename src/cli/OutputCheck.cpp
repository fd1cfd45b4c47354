#include "cli/OutputCheck.h"

#include <ostream>
#include "base/FileIo.h"

#include "cli/CliText.h"
#include "cli/ExitCodes.h"
#include "cli/GlobalOptions.h"
#include "text/TextCatalog.h"
#include "text/TextFormat.h"

namespace vantor::cli {

std::optional<std::string> OutputProblem(const std::filesystem::path& output,
                                         const std::vector<std::filesystem::path>& inputs,
                                         bool chinese) {
  // "" or "folder/" would become a hidden ".dsps" or the folder itself.
  if (output.empty() || !output.has_filename()) {
    return "'" + output.string() + "': " + Say2(chinese, "文件名为空", "the file name is empty");
  }
  for (const auto& input : inputs) {
    if (!SameFile(output, input)) continue;
    return FormatText(Tr(TextId::FileSameAsInput, chinese),
                      {{"output", output.string()}, {"input", input.string()}});
  }
  return std::nullopt;
}

int CheckSimStateApart(const std::string& prefix, const std::filesystem::path& path, bool output,
                       const GlobalOptions& options, std::ostream& err) {
  if (!options.simState) return kExitOk;
  const std::filesystem::path state = *options.simState;
  const auto problem = output ? OutputProblem(path, {state}, options.chinese)
                              : OutputProblem(state, {path}, options.chinese);
  if (!problem) return kExitOk;
  err << prefix << *problem << '\n';
  return kExitUsage;
}

}  // namespace vantor::cli
