#include "ui/dialogs/PresetDlg.h"

#include <QCursor>

#include "presets/PresetController.h"
#include "ui/QtText.h"
#include "ui/app/VantorView.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/Skin.h"
#include "ui/controls/TwoStateButton.h"
#include "ui/dialogs/InputSourceNameDlg.h"

namespace vantor {
namespace {

constexpr int kMargin = 20;
constexpr int kColumns = 3;
constexpr QSize kSlotSize(124, 38);
constexpr int kGap = 12;

}  // namespace

PresetDlg::PresetDlg(CVantorView& view, int firstSlotId, TextId title, QSize size)
    : FormDialog(view.window(), view.Chinese(), title, size), m_view(view), m_menu(this) {
  for (int n = 1; n <= kSlots; ++n) {
    const int row = (n - 1) / kColumns;
    const int column = (n - 1) % kColumns;
    auto* b = new BitButton(firstSlotId + n - 1, QString(), this);
    b->setFont(skin::Font1());
    b->setGeometry(kMargin + column * (kSlotSize.width() + kGap),
                   kMargin + row * (kSlotSize.height() + kGap), kSlotSize.width(),
                   kSlotSize.height());
    connect(b, &QAbstractButton::clicked, this, [this, n] { OnSlotClicked(n); });
    connect(b, &BitButton::presetSlotMenu, this, &PresetDlg::OpenSlotMenu);
    m_slots[static_cast<std::size_t>(n - 1)] = b;
  }
  m_menu.setFont(skin::Font1());
  m_load = m_menu.addAction(Text(TextId::SlotMenuLoad), this, &PresetDlg::OnMenuLoad);
  m_save = m_menu.addAction(Text(TextId::SlotMenuSave), this, &PresetDlg::OnMenuSave);
  m_delete = m_menu.addAction(Text(TextId::SlotMenuDelete), this, &PresetDlg::OnMenuDelete);
  connect(&view, &CVantorView::deviceEvent, this, &PresetDlg::OnDeviceEvent);
  connect(&view, &CVantorView::connectionShown, this, [this](bool) { RefreshLabels(); });
  RefreshLabels();
}

PresetDlg::~PresetDlg() = default;

InputSourceNameDlg* PresetDlg::NamePrompt() const { return m_prompt; }

int PresetDlg::SlotGridBottom() {
  const int rows = (kSlots + kColumns - 1) / kColumns;
  return kMargin + rows * kSlotSize.height() + (rows - 1) * kGap;
}

TwoStateButton* PresetDlg::AddFileRow(int top, int fileId, TextId fileText, int closeId) {
  constexpr QSize kFileButton(130, 32);
  constexpr QSize kCloseButton(100, 32);
  TwoStateButton* file = AddButton(fileId, fileText, QRect(QPoint(kMargin, top), kFileButton));
  TwoStateButton* close =
      AddButton(closeId, TextId::DialogClose,
                QRect(QPoint(width() - kMargin - kCloseButton.width(), top), kCloseButton));
  connect(close, &QAbstractButton::clicked, this, &QDialog::accept);
  return file;
}

QString PresetDlg::SlotLabel(int slot) const {
  return m_slots[static_cast<std::size_t>(slot - 1)]->text();
}

void PresetDlg::SetLabel(int slot, const QString& text) {
  m_slots[static_cast<std::size_t>(slot - 1)]->setText(text);
}

void PresetDlg::RefreshLabels() {
  const auto labels = m_view.Presets().SlotLabels();
  for (int n = 1; n <= kSlots; ++n) SetLabel(n, Q(labels[static_cast<std::size_t>(n - 1)]));
}

void PresetDlg::OnDeviceEvent(const DeviceEventMessage& message) {
  // A name read from the device; the connection's own changes come as connectionShown.
  if (message.id == DeviceEvent::WM_DEV_SLOT_NAME) RefreshLabels();
}

QMenu& PresetDlg::PrepareSlotMenu(int slot) {
  m_menuSlot = slot;
  return m_menu;
}

void PresetDlg::OpenSlotMenu(int slot) { PrepareSlotMenu(slot).popup(QCursor::pos()); }

void PresetDlg::OnMenuLoad() {
  // The menu's load asks nothing of the live-sync flag.
  if (m_menuSlot != 0) Recall(m_menuSlot, false);
}

void PresetDlg::OnMenuSave() {
  if (m_menuSlot != 0) StartNaming(m_menuSlot);
}

void PresetDlg::OnMenuDelete() {
  const int slot = m_menuSlot;
  if (slot == 0 || !m_view.Question(Text(TextId::DeleteSlotQuestion))) return;
  if (m_view.Presets().DeleteSlot(slot).Ok()) {
    SetLabel(slot, Q(DefaultSlotLabel(slot, Chinese())));
  }
}

void PresetDlg::Recall(int slot, bool requireLiveSync) {
  m_view.Presets().Recall(slot, requireLiveSync);
}

void PresetDlg::StartNaming(int slot) {
  if (m_prompt != nullptr) return;
  m_prompt = new InputSourceNameDlg(this, Chinese(), SlotLabel(slot));
  m_prompt->setAttribute(Qt::WA_DeleteOnClose);
  connect(m_prompt, &QDialog::accepted, this,
          [this, slot, prompt = m_prompt] { FinishNaming(slot, prompt->Name()); });
  m_prompt->open();
}

void PresetDlg::FinishNaming(int slot, const QString& name) {
  const PresetResult r = m_view.Presets().NameSlot(slot, name.toStdString());
  // A refused name has shown its message and changes nothing; without a device the name
  // stays with the slot and its button all the same.
  if (r.status == PresetStatus::kRejected || r.status == PresetStatus::kBadArgument) return;
  SetLabel(slot, LabelForName(name));
}

void PresetDlg::showEvent(QShowEvent* event) {
  m_view.SetPresetDialog(this);
  FormDialog::showEvent(event);
}

void PresetDlg::hideEvent(QHideEvent* event) {
  m_view.SetPresetDialog(nullptr);
  FormDialog::hideEvent(event);
}

}  // namespace vantor
