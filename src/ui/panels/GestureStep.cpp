#include "ui/panels/GestureStep.h"

#include <QMouseEvent>
#include <QWidget>

#include "history/EditHistory.h"

namespace vantor {
namespace {

const char* const kStepProperty = "vantorGestureStep";

}  // namespace

GestureStep::GestureStep(std::function<EditHistory&()> history, QObject* parent)
    : QObject(parent), m_history(std::move(history)) {}

// The form's history goes before its panels: an open gesture is simply dropped.
GestureStep::~GestureStep() = default;

void GestureStep::Watch(QWidget* control, TextId name) {
  control->setProperty(kStepProperty, static_cast<int>(name));
  control->installEventFilter(this);
}

void GestureStep::Close() {
  EditHistory* open = m_open;
  m_open = nullptr;
  // The form's history may have been replaced meanwhile; only the one begun on is closed.
  if (open != nullptr && open == &m_history()) open->Commit();
}

bool GestureStep::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease) return false;
  if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
  auto* control = qobject_cast<QWidget*>(watched);
  if (control == nullptr || !control->isEnabled()) return false;
  if (type == QEvent::MouseButtonPress) {
    Close();
    EditHistory& history = m_history();
    history.Begin(static_cast<TextId>(control->property(kStepProperty).toInt()));
    m_open = &history;
  } else if (m_open != nullptr) {
    QMetaObject::invokeMethod(this, &GestureStep::Close, Qt::QueuedConnection);
  }
  return false;
}

}  // namespace vantor
