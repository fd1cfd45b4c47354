#pragma once
// Time alignment from distances: a row per output (its channel and speaker type, its
// speaker's distance to the listening seat, its delay now and the delay that follows), in
// centimetres or inches. The new delays are previewed while the distances are typed;
// Apply sets them through the outputs' delay setter as one undo step. An empty distance
// leaves its output alone.

#include <QWidget>
#include <array>
#include <optional>

#include "measure/TimeAlignment.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vantor {

class PanelHost;

class AlignDlg : public QWidget {
  Q_OBJECT

 public:
  AlignDlg(PanelHost& host, QWidget* parent);

  // The outputs' names and delays as the model has them now.
  void Refresh();
  void ApplyLanguage();
  void SetInches(bool inches);
  bool Inches() const;

  // The previewed delays; nothing when a distance is refused or none is given.
  std::optional<AlignmentPreview> Preview() const;
  // Sets the previewed delays as one undo step; false (nothing changed) without a preview.
  bool Apply();

  QLineEdit& DistanceEdit(int output) { return *m_rows[Index(output)].distance; }
  QLabel& NewDelayLabel(int output) { return *m_rows[Index(output)].next; }
  QPushButton& ApplyButton() { return *m_apply; }
  QLabel& ErrorLabel() { return *m_error; }

 signals:
  // The delays were set.
  void delaysApplied();

 private:
  struct Row {
    QLabel* name = nullptr;
    QLineEdit* distance = nullptr;
    QLabel* now = nullptr;
    QLabel* next = nullptr;
  };
  static std::size_t Index(int output) { return static_cast<std::size_t>(output); }
  // The distances in metres; the first output whose text is refused, or −1.
  OutputDistances Distances(int* refused) const;
  void ShowPreview();

  PanelHost& m_host;
  std::array<Row, rec::kOutputCount> m_rows{};
  QLabel* m_hint = nullptr;
  QLabel* m_headers[4] = {};
  QRadioButton* m_cm = nullptr;
  QRadioButton* m_inch = nullptr;
  QLabel* m_error = nullptr;
  QPushButton* m_apply = nullptr;
  QPushButton* m_close = nullptr;
};

}  // namespace vantor
