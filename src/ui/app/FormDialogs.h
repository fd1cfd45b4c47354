#pragma once
// The windows the main form opens from its menus: the preset dialogs, the firmware dialog,
// the parameter report and the about box. Each is modal over the main window and opens
// once; asking again brings the open one forward. They close before the form's link goes.

#include <QObject>
#include <QPointer>

namespace vantor {

class AboutDlg;
class CVantorView;
class InputSourceNameDlg;
class ReportDlg;
class SourceLoadDlg;
class SourceSaveDlg;
class UpgradeDlg;

class FormDialogs : public QObject {
  Q_OBJECT

 public:
  explicit FormDialogs(CVantorView& view);
  ~FormDialogs() override;

  SourceLoadDlg& OpenPresetLoad();
  SourceSaveDlg& OpenPresetSave();
  UpgradeDlg& OpenFirmware();
  ReportDlg& OpenReport();
  AboutDlg& OpenAbout();
  // The name prompt on its own, holding slot 1's label (its picture; the preset dialogs
  // open their own).
  InputSourceNameDlg& OpenSourceName();

  // The open windows, or null.
  SourceLoadDlg* PresetLoad() const;
  SourceSaveDlg* PresetSave() const;
  UpgradeDlg* Firmware() const;
  ReportDlg* Report() const;
  AboutDlg* About() const;
  InputSourceNameDlg* SourceName() const;

  // Closes every open window (they work on the form's link).
  void CloseAll();

 private:
  template <class Dialog, class Make>
  Dialog& Show(QPointer<Dialog>& open, Make make);

  CVantorView& m_view;
  QPointer<SourceLoadDlg> m_presetLoad;
  QPointer<SourceSaveDlg> m_presetSave;
  QPointer<UpgradeDlg> m_firmware;
  QPointer<ReportDlg> m_report;
  QPointer<AboutDlg> m_about;
  QPointer<InputSourceNameDlg> m_sourceName;
};

}  // namespace vantor
