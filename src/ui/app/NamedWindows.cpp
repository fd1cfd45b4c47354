#include "ui/app/NamedWindows.h"

#include <array>

#include "ui/app/FormDialogs.h"
#include "ui/dialogs/AboutDlg.h"
#include "ui/dialogs/InputSourceNameDlg.h"
#include "ui/dialogs/ReportDlg.h"
#include "ui/dialogs/SourceLoadDlg.h"
#include "ui/dialogs/SourceSaveDlg.h"
#include "ui/dialogs/UpgradeDlg.h"

namespace vantor {
namespace {

const std::array kWindows = {
    NamedWindow{"presets-load", [](FormDialogs& d) -> QWidget* { return &d.OpenPresetLoad(); }},
    NamedWindow{"presets-save", [](FormDialogs& d) -> QWidget* { return &d.OpenPresetSave(); }},
    NamedWindow{"source-name", [](FormDialogs& d) -> QWidget* { return &d.OpenSourceName(); }},
    NamedWindow{"firmware", [](FormDialogs& d) -> QWidget* { return &d.OpenFirmware(); }},
    NamedWindow{"report", [](FormDialogs& d) -> QWidget* { return &d.OpenReport(); }},
    NamedWindow{"about", [](FormDialogs& d) -> QWidget* { return &d.OpenAbout(); }},
};

}  // namespace

QStringList WindowNames() {
  QStringList names;
  for (const NamedWindow& w : kWindows) names << QLatin1String(w.name);
  return names;
}

bool IsWindowName(const QString& name) { return WindowNames().contains(name); }

QWidget* OpenNamedWindow(FormDialogs& dialogs, const QString& name) {
  for (const NamedWindow& w : kWindows) {
    if (name == QLatin1String(w.name)) return w.open(dialogs);
  }
  return nullptr;
}

}  // namespace vantor
