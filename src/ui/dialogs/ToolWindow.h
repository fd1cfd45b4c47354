#pragma once
// The small windows that float over the form (the measurement and time alignment
// dialogs): shown where their owner wants them the first time, left where the person put
// them afterwards, and brought to the front.

#include <QWidget>
#include <functional>

namespace vantor {

// Shows `window`; when it was hidden, first sized to its contents and moved to where
// `place` puts a window of that size (global coordinates).
inline void ShowToolWindow(QWidget& window, const std::function<QPoint(QSize)>& place) {
  if (!window.isVisible()) {
    window.adjustSize();
    window.move(place(window.size()));
  }
  window.show();
  window.raise();
  window.activateWindow();
}

}  // namespace vantor
