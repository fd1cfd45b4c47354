#pragma once
// The status message window: a hidden child of the main form that shows a notice such as
// "unable to connect" as a modal message box of its own.

#include <QTimer>
#include <QWidget>
#include <functional>

namespace vantor {

class CMsgBox : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kId = 1000;
  static constexpr const char* kWindowName = "{62BAB41D-B6BB-402C-89EF-5B86830DF68C}";

  explicit CMsgBox(QWidget* parent = nullptr);

  // Where the text goes; the main form passes its message prompt.
  void SetPresenter(std::function<void(const QString&)> presenter) {
    m_presenter = std::move(presenter);
  }
  void ShowText(const QString& text);
  QString LastText() const { return m_last; }

 private:
  std::function<void(const QString&)> m_presenter;
  QTimer m_timer;
  QString m_last;
};

}  // namespace vantor
