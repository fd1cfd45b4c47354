#include "tuning/LinkedFilterImport.h"

#include "tuning/LinkCopyRules.h"

namespace vantor {

bool ApplyImportToLinkGroup(CKTV_Data& data, int channel, std::string_view text,
                            const ImportPlan& plan, bool acceptPartial) {
  if (!ApplyFilterImport(plan, data.Output(channel), acceptPartial)) return false;
  ForEachOutput(data, LinkPartnersOf(data.Links(), channel), [&](CKTV_OutData& partner) {
    // The person accepted the rest for the output shown; a partner takes what fits it.
    ApplyFilterImport(PlanFilterImport(text, partner), partner, true);
  });
  return true;
}

}  // namespace vantor
