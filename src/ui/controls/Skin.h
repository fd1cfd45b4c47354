#pragma once
// The application's own look, drawn in code: one small palette and the four shared fonts.
// The form is a light blue-grey; controls are soft raised faces with a slate-blue accent
// for "on" and focus, so that state reads at a glance without shouting.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>

namespace vantor::skin {

// Form background, red 0xE3, green 0xE4, blue 0xEE.
inline QColor FormBackground() { return {0xE3, 0xE4, 0xEE}; }

inline QColor FaceTop() { return {0xFA, 0xFB, 0xFE}; }
inline QColor FaceBottom() { return {0xE6, 0xE8, 0xF0}; }
inline QColor FaceHoverTop() { return {0xFF, 0xFF, 0xFF}; }
inline QColor FaceHoverBottom() { return {0xEE, 0xF0, 0xF7}; }
inline QColor FacePressed() { return {0xD3, 0xD8, 0xE6}; }
inline QColor FaceDisabled() { return {0xEC, 0xED, 0xF1}; }
inline QColor Border() { return {0xA4, 0xAA, 0xBC}; }
inline QColor BorderHover() { return {0x6F, 0x8C, 0xC0}; }
inline QColor Text() { return {0x26, 0x2A, 0x35}; }
inline QColor TextDisabled() { return {0xA2, 0xA6, 0xB2}; }
inline QColor Accent() { return {0x3D, 0x6A, 0xB0}; }
inline QColor AccentDark() { return {0x2D, 0x52, 0x8E}; }
inline QColor AccentText() { return {0xFF, 0xFF, 0xFF}; }
inline QColor Focus() { return {0x4F, 0x7D, 0xC7}; }
inline QColor Groove() { return {0xC2, 0xC7, 0xD5}; }
inline QColor ListBackground() { return {0xFF, 0xFF, 0xFF}; }
inline QColor ListHighlight() { return {0xD8, 0xE3, 0xF5}; }
// Background of a numeric edit while it has the focus (or its slider has).
inline QColor EditHighlight() { return {137, 173, 209}; }

// Fonts by pixel size, so that the fixed 96-DPI layout never scales. "Arial" where the
// system has it, otherwise the metric-compatible Liberation Sans, then a CJK face for the
// Chinese texts.
QFont Font(int pixelSize);
inline QFont Font1() { return Font(14); }
inline QFont Font2() { return Font(12); }
inline QFont Font3() { return Font(16); }
inline QFont Font4() { return Font(18); }

// A raised face with a 1-pixel border and rounded corners; the common body of buttons,
// selectors and slider thumbs.
enum class FaceState { kNormal, kHover, kPressed, kOn, kOnHover, kOnPressed, kDisabled };
void DrawFace(QPainter& p, const QRectF& r, FaceState state, qreal radius = 4.0,
              const QColor& onColour = Accent());

}  // namespace vantor::skin
