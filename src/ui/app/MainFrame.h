#pragma once
// The top-level window: the form's size (1284 × 690 pixels), no caption and no border, centred at
// start, its outer two pixels hidden by a mask. A change of the display puts it back at the
// top-left corner. It hosts the main form, which fills it.

#include <QWidget>

namespace vantor {

class CVantorDoc;
class CVantorView;

class CMainFrame : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMaskInset = 2;

  explicit CMainFrame(CVantorDoc& doc);

  CVantorView& View() { return *m_view; }
  void CentreOnScreen();
  // What a display change does: back to (0, 0) at the fixed size, shown.
  void OnDisplayChanged();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void WatchScreen();

  CVantorView* m_view = nullptr;
  QScreen* m_watched = nullptr;
};

}  // namespace vantor
