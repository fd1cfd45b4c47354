#include "link/PendingCommand.h"

#include "link/FrameBuilders.h"
#include "model/KTV_Data.h"

namespace vantor {

std::unique_ptr<CSendData> NextPendingCommand(CKTV_Data& model) {
  const std::optional<PendingChange> change = model.TakePendingChange();
  std::unique_ptr<CSendData> command;
  if (change) {
    switch (change->kind) {
      case PendingChange::Kind::SystemItem:
        command = BuildSystemWrite(model.State(), change->item, 0);
        break;
      case PendingChange::Kind::MusicItem:
        command =
            BuildItemWrite(model.State(), rec::kBlockMusic, rec::kMusicInputIndex, change->item);
        break;
      case PendingChange::Kind::OutputItem:
        command = BuildItemWrite(model.State(), rec::kBlockOutput, change->channel, change->item,
                                 model.IsLinked(change->channel));
        break;
    }
  }
  // Nothing pending, or a change the frames have no address for: keep the link busy.
  return command ? std::move(command) : BuildStatusPoll();
}

}  // namespace vantor
