#include "ui/app/FormDialogs.h"

#include "presets/PresetController.h"
#include "ui/QtText.h"
#include "ui/app/VantorView.h"
#include "ui/dialogs/AboutDlg.h"
#include "ui/dialogs/InputSourceNameDlg.h"
#include "ui/dialogs/ReportDlg.h"
#include "ui/dialogs/SourceLoadDlg.h"
#include "ui/dialogs/SourceSaveDlg.h"
#include "ui/dialogs/UpgradeDlg.h"

namespace vantor {

FormDialogs::FormDialogs(CVantorView& view) : m_view(view) {}

FormDialogs::~FormDialogs() { CloseAll(); }

template <class Dialog, class Make>
Dialog& FormDialogs::Show(QPointer<Dialog>& open, Make make) {
  if (open == nullptr) {
    open = make();
    open->setAttribute(Qt::WA_DeleteOnClose);
  }
  open->show();
  open->raise();
  open->activateWindow();
  return *open;
}

SourceLoadDlg& FormDialogs::OpenPresetLoad() {
  return Show(m_presetLoad, [this] { return new SourceLoadDlg(m_view); });
}

SourceSaveDlg& FormDialogs::OpenPresetSave() {
  return Show(m_presetSave, [this] { return new SourceSaveDlg(m_view); });
}

UpgradeDlg& FormDialogs::OpenFirmware() {
  return Show(m_firmware, [this] { return new UpgradeDlg(m_view); });
}

ReportDlg& FormDialogs::OpenReport() {
  return Show(m_report, [this] { return new ReportDlg(m_view); });
}

AboutDlg& FormDialogs::OpenAbout() {
  return Show(m_about, [this] { return new AboutDlg(m_view.window(), m_view.Chinese()); });
}

InputSourceNameDlg& FormDialogs::OpenSourceName() {
  return Show(m_sourceName, [this] {
    return new InputSourceNameDlg(m_view.window(), m_view.Chinese(),
                                  Q(m_view.Presets().SlotLabel(1)));
  });
}

SourceLoadDlg* FormDialogs::PresetLoad() const { return m_presetLoad; }
SourceSaveDlg* FormDialogs::PresetSave() const { return m_presetSave; }
UpgradeDlg* FormDialogs::Firmware() const { return m_firmware; }
ReportDlg* FormDialogs::Report() const { return m_report; }
AboutDlg* FormDialogs::About() const { return m_about; }
InputSourceNameDlg* FormDialogs::SourceName() const { return m_sourceName; }

void FormDialogs::CloseAll() {
  // Deleted at once: they hold the form's link, which goes next.
  delete m_sourceName.data();
  delete m_presetLoad.data();
  delete m_presetSave.data();
  delete m_firmware.data();
  delete m_report.data();
  delete m_about.data();
}

}  // namespace vantor
