#pragma once
// An example tuning of a two-way front, rear pair, centre and subwoofer, for looking at
// the program (--sample-tune), with the speaker type of every output. It changes the
// objects and the speaker-type table only; nothing is marked for sending while the
// live-sync flag is clear.

namespace vantor {

class CKTV_Data;

void ApplySampleTune(CKTV_Data& data);

}  // namespace vantor
