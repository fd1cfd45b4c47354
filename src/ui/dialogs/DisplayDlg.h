#pragma once
// The transfer window: shown while a batch runs (the read-back after connecting, later the
// preset transfers), with a caption and a progress bar that the answered commands move.
// While it is shown the window it was shown for is disabled, so that nothing is edited
// behind the transfer; hiding it enables that window again.

#include <QPointer>
#include <QWidget>

namespace vantor {

class GradientProgressCtrl;

class CDisplayDlg : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 320;
  static constexpr int kHeight = 112;

  explicit CDisplayDlg(QWidget* parent = nullptr);

  // Title and caption in the language of the moment.
  void SetTexts(const QString& title, const QString& caption);
  QString Caption() const { return m_caption; }

  void SetRange(int low, int high);
  void SetPosition(int position);
  int Low() const;
  int High() const;
  int Position() const;

  // Disables `owner` (may be null), centres itself over it and shows itself.
  void ShowFor(QWidget* owner);
  // Hides itself and enables the window that was disabled.
  void HideAndRelease();
  QWidget* Owner() const { return m_owner; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString m_caption;
  GradientProgressCtrl* m_bar = nullptr;
  QPointer<QWidget> m_owner;
};

}  // namespace vantor
