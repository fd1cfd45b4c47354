#pragma once
// The speaker-type menu of a channel strip: "空" and the types 1..24 grouped by position
// ("前置" with "前左" and "前右", "后置" with "后左" and "后右", "中置", "超低"), in Chinese in
// both interface languages. Each entry's data is its type; entries are ticked and enabled
// as the rules for the output say.

#include <QMenu>

#include "tuning/SpeakerTypeMenu.h"

namespace vantor {

void FillSpeakerMenu(QMenu& menu, const SpeakerTypeMenuState& state);

// The entry of `type` in a filled menu, or null.
QAction* SpeakerMenuAction(const QMenu& menu, int type);

}  // namespace vantor
