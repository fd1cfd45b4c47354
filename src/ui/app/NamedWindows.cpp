#include "ui/app/NamedWindows.h"

#include <array>

#include "ui/app/FormDialogs.h"
#include "ui/app/VantorView.h"
#include "ui/dialogs/AboutDlg.h"
#include "ui/dialogs/AlignDlg.h"
#include "ui/dialogs/CH_Link_Dlg.h"
#include "ui/dialogs/FilterExportDlg.h"
#include "ui/dialogs/InputSourceNameDlg.h"
#include "ui/dialogs/LimiterDlg.h"
#include "ui/dialogs/MeasureDlg.h"
#include "ui/dialogs/ReportDlg.h"
#include "ui/dialogs/SourceLoadDlg.h"
#include "ui/dialogs/SourceSaveDlg.h"
#include "ui/dialogs/UpgradeDlg.h"
#include "ui/panels/DelayPanel.h"
#include "ui/panels/GraphPanel.h"

namespace vantor {
namespace {

// The link dialog is modal while it asks; shown on its own it is only a picture.
QWidget* ShowLinkDialog(CVantorView& view) {
  auto* dialog = new CH_Link_Dlg(view.Chinese(), LinkGroupKind::kFront, view.window());
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->show();
  return dialog;
}

const std::array kWindows = {
    NamedWindow{"presets-load",
                [](CVantorView& v) -> QWidget* { return &v.Dialogs().OpenPresetLoad(); }},
    NamedWindow{"presets-save",
                [](CVantorView& v) -> QWidget* { return &v.Dialogs().OpenPresetSave(); }},
    NamedWindow{"source-name",
                [](CVantorView& v) -> QWidget* { return &v.Dialogs().OpenSourceName(); }},
    NamedWindow{"firmware", [](CVantorView& v) -> QWidget* { return &v.Dialogs().OpenFirmware(); }},
    NamedWindow{"report", [](CVantorView& v) -> QWidget* { return &v.Dialogs().OpenReport(); }},
    NamedWindow{"about", [](CVantorView& v) -> QWidget* { return &v.Dialogs().OpenAbout(); }},
    NamedWindow{"link", ShowLinkDialog},
    NamedWindow{"routing",
                [](CVantorView& v) -> QWidget* {
                  v.OpenLimiterDialog();
                  return v.LimiterDialog();
                }},
    NamedWindow{"measure",
                [](CVantorView& v) -> QWidget* {
                  v.GraphRow().OpenMeasureDialog();
                  return &v.GraphRow().MeasureDialog();
                }},
    NamedWindow{"align",
                [](CVantorView& v) -> QWidget* {
                  v.Delays().OpenAlignDialog();
                  return &v.Delays().AlignDialog();
                }},
    NamedWindow{"filter-export",
                [](CVantorView& v) -> QWidget* {
                  v.ExportDialog().ShowFor(v.CurrentChannel());
                  return &v.ExportDialog();
                }},
};

}  // namespace

QStringList WindowNames() {
  QStringList names;
  for (const NamedWindow& w : kWindows) names << QLatin1String(w.name);
  return names;
}

bool IsWindowName(const QString& name) { return WindowNames().contains(name); }

QWidget* OpenNamedWindow(CVantorView& view, const QString& name) {
  for (const NamedWindow& w : kWindows) {
    if (name == QLatin1String(w.name)) return w.open(view);
  }
  return nullptr;
}

}  // namespace vantor
