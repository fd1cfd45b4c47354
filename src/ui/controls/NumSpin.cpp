#include "ui/controls/NumSpin.h"

#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "ui/controls/NumEdit.h"
#include "ui/controls/Skin.h"

namespace vantor {

CNumSpin::CNumSpin(int id, QWidget* parent) : QWidget(parent), m_id(id) {
  setFocusPolicy(Qt::NoFocus);
  m_repeat.setTimerType(Qt::PreciseTimer);
  connect(&m_repeat, &QTimer::timeout, this, [this] {
    m_repeat.setInterval(kRepeatStepMs);
    StepBy(m_pressedHalf);
  });
  m_report.setInterval(NumSpinState::kRepeatIntervalMs);
  m_report.setTimerType(Qt::PreciseTimer);
  connect(&m_report, &QTimer::timeout, this, [this] {
    if (m_state.Tick()) emit changeNotice(m_id);
  });
  m_message = [this](const QString& text) { QMessageBox::warning(this, QString(), text); };
}

void CNumSpin::SetBuddy(CNumEdit* buddy) {
  m_buddy = buddy;
  m_state.SetBuddy(buddy != nullptr ? &buddy->State() : nullptr);
}

void CNumSpin::SetRange32(int minimum, int maximum) {
  m_state.SetRange32(minimum, maximum);
  if (m_buddy != nullptr) m_buddy->SetRange(minimum, maximum);
}

void CNumSpin::GetRange32(int& minimum, int& maximum) const {
  minimum = m_state.Minimum();
  maximum = m_state.Maximum();
}

int CNumSpin::GetValue() { return m_state.GetValue(); }

bool CNumSpin::SetValue(int v) {
  if (!m_state.SetValue(v)) {
    const bool chinese = m_chinese == nullptr || m_chinese->load();
    const int editId = m_buddy != nullptr ? m_buddy->Id() : m_id;
    if (m_message)
      m_message(QString::fromStdString(NumSpinState::DataErrorMessage(editId, chinese)));
    return false;
  }
  if (m_buddy != nullptr) m_buddy->SetValue(v);
  return true;
}

void CNumSpin::StepBy(int delta) {
  const bool notify = m_state.Step(delta);
  if (m_buddy != nullptr) m_buddy->SetValue(m_state.Current());
  if (notify) emit changeNotice(m_id);
}

int CNumSpin::HalfAt(QPointF p) const { return p.y() < height() / 2.0 ? 1 : -1; }

void CNumSpin::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !isEnabled()) return;
  m_pressedHalf = HalfAt(event->position());
  m_state.Press();
  m_report.start();
  StepBy(m_pressedHalf);
  m_repeat.start(kRepeatDelayMs);
  update();
}

void CNumSpin::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || m_pressedHalf == 0) return;
  m_repeat.stop();
  m_report.stop();
  m_pressedHalf = 0;
  update();
  if (m_state.Release()) emit changeNotice(m_id);
}

void CNumSpin::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  const int half = height() / 2;
  const QRect up(0, 0, width(), half);
  const QRect down(0, half, width(), height() - half);
  for (int h : {1, -1}) {
    const QRect r = h == 1 ? up : down;
    skin::FaceState face = skin::FaceState::kNormal;
    if (!isEnabled()) {
      face = skin::FaceState::kDisabled;
    } else if (m_pressedHalf == h) {
      face = skin::FaceState::kPressed;
    }
    skin::DrawFace(p, r, face, 2.0);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c = QRectF(r).center();
    QPainterPath arrow;
    arrow.moveTo(c + QPointF(-3.0, h == 1 ? 1.5 : -1.5));
    arrow.lineTo(c + QPointF(0.0, h == 1 ? -1.5 : 1.5));
    arrow.lineTo(c + QPointF(3.0, h == 1 ? 1.5 : -1.5));
    p.setPen(QPen(isEnabled() ? skin::Text() : skin::TextDisabled(), 1.3, Qt::SolidLine,
                  Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arrow);
  }
}

}  // namespace vantor
