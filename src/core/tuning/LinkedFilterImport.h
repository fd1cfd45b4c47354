#pragma once
// Another tool's filters imported into an output of the window. The person sees the plan of
// the output shown (its line-by-line report) and accepts it or not. Linked outputs take
// band and crossover edits from each other, so they take the import too: each output of
// the link group is planned for itself (its own crossover limits hold) and takes what fits.

#include <string_view>

#include "exchange/FilterImport.h"
#include "model/KTV_Data.h"

namespace vantor {

// Applies `plan` (made for output `channel` from `text`) to that output and the rest of its
// link group. False, and nothing changed, when the plan refused lines and `acceptPartial`
// is false.
bool ApplyImportToLinkGroup(CKTV_Data& data, int channel, std::string_view text,
                            const ImportPlan& plan, bool acceptPartial);

}  // namespace vantor
