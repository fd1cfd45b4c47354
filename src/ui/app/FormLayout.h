#pragma once
// Where everything sits on the main form.

#include <QRect>
#include <QSize>

namespace vantor::form {

// The fixed layout of the form, in pixels at 96 DPI. The outer two pixels are hidden by
// the frame's mask, so nothing lives there. The lower third stays free for the output
// channel dialog.
inline constexpr int kTopBarHeight = 44;
inline const QRect kCarPanel(10, 52, 240, 352);
// 574 pixels wide: the plot's 529 pixels (three decades of 176) put a whole 4000 Hz on a
// pixel.
inline const QRect kGraphRect(258, 52, 574, 316);
inline const QRect kStripPanel(846, 52, 428, 352);
inline const QRect kDialogPanel(10, 412, 1264, 268);
inline const QRect kEqResetRect(258, 376, 96, 24);
inline const QRect kLimiterRect(362, 376, 136, 24);
inline const QRect kChannelCaption(510, 376, 328, 24);
inline const QRect kConnectRect(330, 8, 104, 28);
inline const QRect kSourceCaption(442, 8, 44, 28);
inline const QRect kSourceRect(488, 10, 118, 24);
inline const QRect kModeCaption(616, 8, 44, 28);
inline const QRect kModeRect(662, 10, 110, 24);
inline const QRect kPresetRect(786, 8, 84, 28);
inline const QSize kChromeButton(34, 28);

}  // namespace vantor::form
