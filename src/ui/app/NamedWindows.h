#pragma once
// The windows `vantor --open NAME` opens after start-up (and `--screenshot` then draws),
// by name. A new window adds its line to the table in NamedWindows.cpp.

#include <QString>
#include <QStringList>

class QWidget;

namespace vantor {

class CVantorView;

struct NamedWindow {
  const char* name;
  // Opens the window and returns it.
  QWidget* (*open)(CVantorView& view);
};

// Every name, in the table's order.
QStringList WindowNames();
bool IsWindowName(const QString& name);
// Opens the named window; null for a name that is not in the table.
QWidget* OpenNamedWindow(CVantorView& view, const QString& name);

}  // namespace vantor
