#pragma once
// A drop-down selector: a skinned button that shows the selected item's text and opens
// its list below itself (above it when the list would leave the work area). Choosing an
// item reports selectionChanged(id, index); setting the selection from code reports
// nothing, and closing the list without a choice keeps the previous selection.

#include <QAbstractButton>
#include <QPointer>
#include <QStringList>

#include "ui/controls/DropList.h"

namespace vantor {

class DropSelector : public QAbstractButton {
  Q_OBJECT

 public:
  DropSelector(int id, QWidget* parent = nullptr);
  ~DropSelector() override;

  int Id() const { return m_id; }
  void AddItem(const QString& text);
  // Replaces the items and keeps the selection index when it still exists.
  void SetItems(const QStringList& items);
  void Clear();
  int Count() const { return static_cast<int>(m_items.size()); }
  QString ItemText(int index) const;
  const QStringList& Items() const { return m_items; }

  void SetSelection(int index);
  int Selection() const { return m_selection; }

  // Largest height of the open list; 0 lets it grow to its items.
  void SetMaxListHeight(int pixels) { m_maxListHeight = pixels; }
  int MaxListHeight() const { return m_maxListHeight; }

  void OpenList();
  bool IsListOpen() const;
  DropList* List() const { return m_list; }

  // Where a list of the given height opens for a selector at `selector` (screen
  // coordinates): directly below and as wide, or above when below would pass the bottom
  // of the work area.
  static QRect ListGeometry(const QRect& selector, int listHeight, const QRect& workArea);

 signals:
  void selectionChanged(int id, int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  // Selects an item as the user's choice: shows it and reports it.
  void ChooseByUser(int index);

 private:
  void OnChosen(int index);
  void OnDismissed();

  int m_id;
  QStringList m_items;
  int m_selection = -1;
  int m_beforeOpen = -1;
  int m_maxListHeight = 0;
  bool m_hover = false;
  QPointer<DropList> m_list;
};

}  // namespace vantor
