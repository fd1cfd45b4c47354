#pragma once
// Forgetting every edit the model holds for the device: at connect (the device's state is
// about to be read back) and at disconnect (nothing can be sent any more).

namespace vantor {

class CKTV_Data;

void ClearModelPending(CKTV_Data& model);

}  // namespace vantor
