#pragma once
// An example tuning of a two-way front, rear pair, centre and subwoofer, for looking at
// the program without a processor (--sample-tune). It changes the objects only; nothing
// is marked for sending while the live-sync flag is clear.

namespace vantor {

class CKTV_Data;

void ApplySampleTune(CKTV_Data& data);

}  // namespace vantor
