#pragma once
// Where the panels sit on the main form; each panel places its own controls.

#include <QRect>
#include <QSize>

namespace vantor::form {

// The fixed size of the form and of the frameless window around it, in pixels at 96 DPI.
// The outer two pixels are hidden by the frame's mask, so nothing lives there.
inline constexpr QSize kFormSize(1284, 690);

inline const QRect kTopBar(0, 0, kFormSize.width(), 45);
// The A/B toggle lies on the top bar, right of the preset button.
inline const QRect kComparisonPanel(884, 8, 64, 28);
inline const QRect kCarPanel(10, 52, 240, 352);
inline const QRect kGraphPanel(258, 52, 580, 314);
inline const QRect kCrossoverPanel(258, 370, 574, 34);
inline const QRect kStripPanel(846, 52, 428, 352);
// The link button lies on the strips' master column, in the row of the speaker-type buttons
// it locks.
inline const QRect kLinkButton(kStripPanel.left() + 381, kStripPanel.top() + 37, 44, 30);
// The lower band holds the output channel dialog.
inline const QRect kDialogPanel(10, 412, 1264, 268);

}  // namespace vantor::form
