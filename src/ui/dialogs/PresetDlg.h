#pragma once
// What the two preset dialogs share: six slot buttons labelled from the processor's slot
// names (the default labels while disconnected), the right-click menu of a slot ("Load",
// "Save", "Delete" in the interface language), the naming flow through InputSourceNameDlg
// and the delete flow with its question. The labels follow the name replies of the device
// and the connection. While it is open the transfer window of a slot transfer disables
// this dialog instead of the form. The operations are PresetController's.

#include <QMenu>
#include <QPointer>
#include <array>

#include "ui/dialogs/FormDialog.h"

namespace vantor {

class BitButton;
class CVantorView;
class TwoStateButton;
class InputSourceNameDlg;
struct DeviceEventMessage;

class PresetDlg : public FormDialog {
  Q_OBJECT

 public:
  static constexpr int kSlots = 6;

  ~PresetDlg() override;

  // Slot 1..6.
  BitButton& SlotButton(int slot) { return *m_slots[static_cast<std::size_t>(slot - 1)]; }
  QString SlotLabel(int slot) const;

  // What the controls do, callable as a click would.
  virtual void OnSlotClicked(int slot) = 0;
  // The right-click menu of a slot: prepared for `slot`, then opened at the pointer.
  QMenu& PrepareSlotMenu(int slot);
  void OpenSlotMenu(int slot);
  void OnMenuLoad();
  void OnMenuSave();
  void OnMenuDelete();
  int MenuSlot() const { return m_menuSlot; }
  QMenu& SlotMenu() { return m_menu; }
  // The labels from the slot names (or the defaults) as they are now.
  void RefreshLabels();
  // The name prompt while the naming flow waits for it.
  InputSourceNameDlg* NamePrompt() const;

 protected:
  PresetDlg(CVantorView& view, int firstSlotId, TextId title, QSize size);

  CVantorView& View() { return m_view; }
  // The naming flow for a slot: the prompt opens with the slot's label; OK stores the name
  // (refused names change nothing).
  void StartNaming(int slot);
  // A recall; with requireLiveSync nothing happens while the program is not in step with
  // the processor.
  void Recall(int slot, bool requireLiveSync);
  // The label a slot shows for a name just entered.
  virtual QString LabelForName(const QString& name) const = 0;
  // Where the slot grid ends; subclasses place their own controls below it.
  static int SlotGridBottom();
  // The bottom row at `top`: the file button on the left, the close button on the right
  // (which closes the dialog with OK). Returns the file button.
  TwoStateButton* AddFileRow(int top, int fileId, TextId fileText, int closeId);

  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void FinishNaming(int slot, const QString& name);
  void OnDeviceEvent(const DeviceEventMessage& message);
  void SetLabel(int slot, const QString& text);

  CVantorView& m_view;
  std::array<BitButton*, kSlots> m_slots{};
  QMenu m_menu;
  QAction* m_load = nullptr;
  QAction* m_save = nullptr;
  QAction* m_delete = nullptr;
  int m_menuSlot = 0;
  QPointer<InputSourceNameDlg> m_prompt;
};

}  // namespace vantor
