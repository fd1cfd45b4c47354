#pragma once
// The link dialog: which side's data the other side of each left/right pair takes. Two
// choice buttons drawn as a pressed/released pair (left side's data, right side's data;
// left at first), OK and Cancel. Its caption is "声场联调" in Chinese and names the kind of
// group in English.

#include <QDialog>

#include "tuning/ChannelLink.h"

class QLabel;

namespace vantor {

class TwoStateButton;

class CH_Link_Dlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kOkId = 2418;
  static constexpr int kCancelId = 2419;
  static constexpr int kLeftId = 2420;
  static constexpr int kRightId = 2421;

  CH_Link_Dlg(bool chinese, LinkGroupKind kind, QWidget* parent = nullptr);

  LinkSide Choice() const { return m_choice; }
  void Choose(LinkSide side);

  TwoStateButton& LeftButton() { return *m_left; }
  TwoStateButton& RightButton() { return *m_right; }
  TwoStateButton& OkButton() { return *m_ok; }
  TwoStateButton& CancelButton() { return *m_cancel; }
  QLabel& Question() { return *m_question; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  LinkSide m_choice = LinkSide::kLeft;
  QLabel* m_heading = nullptr;
  QLabel* m_question = nullptr;
  TwoStateButton* m_left = nullptr;
  TwoStateButton* m_right = nullptr;
  TwoStateButton* m_ok = nullptr;
  TwoStateButton* m_cancel = nullptr;
};

}  // namespace vantor
