#include "ui/dialogs/SourceSaveDlg.h"

#include "presets/PresetController.h"
#include "ui/QtText.h"
#include "ui/app/VantorView.h"
#include "ui/controls/TwoStateButton.h"

namespace vantor {
namespace {

constexpr int kCloseId = 2428;

}  // namespace

SourceSaveDlg::SourceSaveDlg(CVantorView& view)
    : PresetDlg(view, kFirstSlotId, TextId::SourceSaveTitle, kSize) {
  const int optionsTop = SlotGridBottom() + 18;
  m_currentOption =
      AddButton(kCurrentOptionId, TextId::SaveOptionCurrent, QRect(20, optionsTop, 140, 28));
  m_allOption = AddButton(kAllOptionId, TextId::SaveOptionAll, QRect(168, optionsTop, 140, 28));
  m_file = AddFileRow(optionsTop + 28 + 16, kFileButtonId, TextId::PresetFileSaveButton, kCloseId);
  connect(m_currentOption, &QAbstractButton::clicked, this, [this] { ChooseAllPresets(false); });
  connect(m_allOption, &QAbstractButton::clicked, this, [this] { ChooseAllPresets(true); });
  connect(m_file, &QAbstractButton::clicked, this, &SourceSaveDlg::SaveToFile);
  ChooseAllPresets(false);
}

void SourceSaveDlg::OnSlotClicked(int slot) { StartNaming(slot); }

QString SourceSaveDlg::LabelForName(const QString& name) const {
  return Q(SaveDialogLabel(name.toStdString()));
}

void SourceSaveDlg::ChooseAllPresets(bool all) {
  m_all = all;
  m_currentOption->SetState(all ? 0 : 1);
  m_allOption->SetState(all ? 1 : 0);
}

void SourceSaveDlg::SaveToFile() {
  PresetController& presets = View().Presets();
  // All presets are read from the processor: without one nothing is asked for.
  if (m_all && !presets.CanSaveAllPresets()) return;
  FileRequest request;
  request.kind = FileRequest::Kind::kSave;
  request.title = Text(TextId::PresetFileSaveButton);
  const PresetKind kind = m_all ? PresetKind::kAll : PresetKind::kSingle;
  request.suffix = Q(PresetExtension(kind));
  request.filter = QStringLiteral("*.") + request.suffix;
  const QString path = View().ChooseFile(request);
  if (path.isEmpty()) return;
  if (m_all) {
    presets.SaveAllPresetsFile(path.toStdString());
  } else {
    presets.SaveSinglePresetFile(path.toStdString());
  }
}

}  // namespace vantor
