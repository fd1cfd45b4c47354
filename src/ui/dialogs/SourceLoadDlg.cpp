#include "ui/dialogs/SourceLoadDlg.h"

#include "presets/PresetController.h"
#include "ui/app/VantorView.h"
#include "ui/controls/TwoStateButton.h"

namespace vantor {
namespace {

constexpr int kCloseId = 2408;

}  // namespace

SourceLoadDlg::SourceLoadDlg(CVantorView& view)
    : PresetDlg(view, kFirstSlotId, TextId::SourceLoadTitle, kSize) {
  m_file = AddFileRow(SlotGridBottom() + 20, kFileButtonId, TextId::PresetFileLoadButton, kCloseId);
  connect(m_file, &QAbstractButton::clicked, this, &SourceLoadDlg::LoadFromFile);
}

void SourceLoadDlg::OnSlotClicked(int slot) { Recall(slot, true); }

void SourceLoadDlg::LoadFromFile() {
  FileRequest request;
  request.kind = FileRequest::Kind::kOpen;
  request.title = Text(TextId::PresetFileLoadButton);
  request.filter = QStringLiteral("*.dsps *.dspa");
  const QString path = View().ChooseFile(request);
  if (path.isEmpty()) return;
  const PresetResult r = View().Presets().LoadFile(path.toStdString());
  View().OnPresetFileLoaded(r);
}

}  // namespace vantor
