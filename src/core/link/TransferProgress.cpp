#include "link/TransferProgress.h"
#include "text/TextFormat.h"

namespace vantor {

std::string DescribeBrokenTransfer(const TransferProgress& progress, bool chinese) {
  std::string text = FormatText(Tr(TextId::TransferStoppedAt, chinese),
                                {{"operation", std::string(Tr(progress.operation, chinese))},
                                 {"k", std::to_string(progress.answered + 1)},
                                 {"n", std::to_string(progress.commands)}});
  text += '\n';
  if (progress.writes) {
    text += Tr(TextId::TransferMayBeMixed, chinese);
    text += '\n';
    text += Tr(TextId::TransferRepeatWrite, chinese);
  } else {
    text += Tr(TextId::TransferReadNothingChanged, chinese);
  }
  return text;
}

}  // namespace vantor
