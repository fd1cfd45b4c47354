#include "ui/panels/DelayPanel.h"

#include "history/EditHistory.h"
#include "model/ProgramState.h"
#include "model/ValueScales.h"
#include "tuning/ChannelSelection.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/dialogs/AlignDlg.h"
#include "ui/dialogs/ToolWindow.h"
#include "ui/panels/CarPanel.h"

namespace vantor {
namespace {

// Under the position button, centred on it and a little wider, so that "50.000" fits.
constexpr int kFieldGap = 2;
constexpr int kFieldOverhang = 3;
// The unit buttons in the picture's top right corner.
constexpr int kUnitTop = 5;
constexpr int kUnitWidth = 34;
constexpr int kUnitHeight = 18;
constexpr int kUnitRight = 6;
constexpr int kUnitGap = 2;
// The align button under the unit buttons, clear of the car and the centre positions.
const QRect kAlignRect(172, 28, 62, 20);

constexpr std::array<DelayUnit, 3> kUnits = {DelayUnit::kMilliseconds, DelayUnit::kCentimetres,
                                             DelayUnit::kInches};

std::size_t IndexOf(DelayUnit unit) { return static_cast<std::size_t>(unit); }

}  // namespace

DelayPanel::DelayPanel(PanelHost& host, QWidget* parent)
    : Panel(host, parent), m_editor(host.Data(), host.Selection()) {
  for (const DelayField& f : DelayFields()) {
    const QRect button = CarPanel::PositionButtonRect(f.positionButton);
    FieldControls c;
    c.edit = new CNumEdit(f.id, this);
    c.edit->setGeometry(button.translated(0, button.height() + kFieldGap)
                            .adjusted(-kFieldOverhang, 0, kFieldOverhang, 0));
    c.edit->SetMode(EditModeOf(m_unit));
    c.spin = new CNumSpin(f.id + kDelaySpinOffset, this);
    c.spin->hide();
    c.spin->SetBuddy(c.edit);
    c.spin->SetRange32(0, kDelayCodeMax);
    c.spin->SetLanguage(&Host().State().chinese);
    c.spin->SetMessageHandler([this](const QString& text) { Host().Message(text); });
    c.edit->hide();
    const int id = f.id;
    connect(c.edit, &CNumEdit::changeNotice, this, [this, id] { OnFieldChanged(id); });
    connect(c.spin, &CNumSpin::changeNotice, this, [this, id] { OnFieldChanged(id); });
    m_fields.emplace(f.id, c);
  }
  for (DelayUnit unit : kUnits) {
    const int i = static_cast<int>(IndexOf(unit));
    auto* b = new BitButton(kDelayUnitButtonFirst + i, QString(), this);
    connect(b, &QAbstractButton::clicked, this, [this, unit] { ChooseUnit(unit); });
    m_units[IndexOf(unit)] = b;
  }
  m_units[IndexOf(m_unit)]->SetState(1);
  m_align = new BitButton(kAlignButtonId, QString(), this);
  m_align->setGeometry(kAlignRect);
  connect(m_align, &QAbstractButton::clicked, this, &DelayPanel::OpenAlignDialog);
}

AlignDlg& DelayPanel::AlignDialog() {
  if (m_alignDialog == nullptr) {
    m_alignDialog = new AlignDlg(Host(), this);
    connect(m_alignDialog, &AlignDlg::delaysApplied, this, [this] {
      Refresh();
      Host().OutputsEdited(*this);
    });
  }
  return *m_alignDialog;
}

void DelayPanel::OpenAlignDialog() {
  AlignDlg& dialog = AlignDialog();
  dialog.Refresh();
  // Beside the car picture, over the form's lower band.
  ShowToolWindow(dialog, [this](QSize) { return mapToGlobal(QPoint(width() + 8, 0)); });
}

void DelayPanel::resizeEvent(QResizeEvent* event) {
  Panel::resizeEvent(event);
  const int n = static_cast<int>(m_units.size());
  for (int i = 0; i < n; ++i) {
    m_units[static_cast<std::size_t>(i)]->setGeometry(
        width() - kUnitRight - (n - i) * (kUnitWidth + kUnitGap) + kUnitGap, kUnitTop, kUnitWidth,
        kUnitHeight);
  }
}

CNumEdit* DelayPanel::Field(int id) const {
  const auto it = m_fields.find(id);
  return it == m_fields.end() ? nullptr : it->second.edit;
}

CNumSpin* DelayPanel::Spin(int id) const {
  const auto it = m_fields.find(id);
  return it == m_fields.end() ? nullptr : it->second.spin;
}

BitButton& DelayPanel::UnitButton(DelayUnit unit) const { return *m_units[IndexOf(unit)]; }

void DelayPanel::Refresh() {
  for (const auto& [field, code] : m_editor.FieldCodes()) m_fields[field].spin->SetValue(code);
  ShowFieldsInUse();
  if (m_alignDialog != nullptr) m_alignDialog->Refresh();
}

void DelayPanel::ApplyLanguage() {
  const TextId names[] = {TextId::DelayUnitMs, TextId::DelayUnitCm, TextId::DelayUnitInch};
  for (std::size_t i = 0; i < m_units.size(); ++i) m_units[i]->setText(Text(names[i]));
  for (auto& [id, c] : m_fields) c.edit->setToolTip(Text(TextId::DelayCaption));
  m_align->setText(Text(TextId::AlignButton));
  if (m_alignDialog != nullptr) m_alignDialog->ApplyLanguage();
}

void DelayPanel::ShowFieldsInUse() {
  const auto types = Host().State().SpeakerTypes().first(rec::kOutputCount);
  for (auto& [id, c] : m_fields) c.edit->setVisible(DelayFieldInUse(id, types));
}

void DelayPanel::OnFieldChanged(int field) {
  CNumSpin* spin = Spin(field);
  if (spin == nullptr) return;
  EditStep step(Host().History(), TextId::StepDelay);
  const int code = spin->GetValue();
  const DelayEditor::Result r = m_editor.Edit(field, code);
  if (!r.changed) return;
  // The field that shows the output's type takes the value (the one edited, normally).
  const int shownIn = DelayFieldOfType(Host().Data().SpeakerType(r.output));
  if (CNumSpin* s = Spin(shownIn)) s->SetValue(code);
}

void DelayPanel::ChooseUnit(DelayUnit unit) {
  m_units[IndexOf(m_unit)]->SetState(0);
  m_unit = unit;
  m_units[IndexOf(m_unit)]->SetState(1);
  // The codes stay; only how they are shown changes.
  for (auto& [id, c] : m_fields) c.edit->SetMode(EditModeOf(unit));
}

void DelayPanel::ShowListeningPosition() {
  const ListeningPosition lp = SelectedListeningPosition(Host().State().DelayPositions());
  for (std::size_t c = 0; c < lp.codes.size(); ++c) {
    if (CNumSpin* s = Spin(kDelayFieldFirst + static_cast<int>(c))) s->SetValue(lp.codes[c]);
  }
}

}  // namespace vantor
