#include "link/ModelPending.h"

#include "model/KTV_Data.h"

namespace vantor {
namespace {

void ClearFilters(CKTVEQ& set) {
  for (int i = 0; i < set.Count(); ++i) set.At(i).SetPending(0);
}

}  // namespace

void ClearModelPending(CKTV_Data& model) {
  model.SetMasterVolumeChanged(false);
  model.SetHiddenLevelChanged(false);
  for (int c = 0; c < kMusicChangeCount; ++c) model.Music().TakeChange(static_cast<MusicChange>(c));
  ClearFilters(model.Music().Filters());
  ClearFilters(model.Mic().Filters());
  ClearFilters(model.Effect().Filters());
  for (int o = 0; o < model.OutputCount(); ++o) {
    CKTV_OutData& out = model.Output(o);
    for (int c = 0; c < kOutputChangeCount; ++c) out.TakeChange(static_cast<OutputChange>(c));
    ClearFilters(out.Filters());
  }
}

}  // namespace vantor
