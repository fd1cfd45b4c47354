#include "ui/panels/SpeakerMenu.h"

#include "text/TextCatalog.h"
#include "ui/QtText.h"

namespace vantor {
namespace {

void AddTypes(QMenu& menu, const SpeakerTypeMenuState& state, int first, int last) {
  for (int t = first; t <= last; ++t) {
    QAction* a = menu.addAction(Q(SpeakerTypeName(t)));
    a->setData(t);
    a->setCheckable(true);
    a->setChecked(state.ticked[static_cast<std::size_t>(t)]);
    a->setEnabled(state.enabled[static_cast<std::size_t>(t)]);
  }
}

}  // namespace

void FillSpeakerMenu(QMenu& menu, const SpeakerTypeMenuState& state) {
  AddTypes(menu, state, 0, 0);
  QMenu* front = menu.addMenu(Q(kSpeakerFrontGroup));
  AddTypes(*front->addMenu(Q(SpeakerPositionWord(0))), state, 1, 6);
  AddTypes(*front->addMenu(Q(SpeakerPositionWord(1))), state, 7, 12);
  QMenu* rear = menu.addMenu(Q(kSpeakerRearGroup));
  AddTypes(*rear->addMenu(Q(SpeakerPositionWord(2))), state, 13, 15);
  AddTypes(*rear->addMenu(Q(SpeakerPositionWord(3))), state, 16, 18);
  AddTypes(*menu.addMenu(Q(SpeakerPositionWord(4))), state, 19, 21);
  AddTypes(*menu.addMenu(Q(SpeakerPositionWord(5))), state, 22, 24);
}

QAction* SpeakerMenuAction(const QMenu& menu, int type) {
  for (QAction* a : menu.findChildren<QAction*>()) {
    if (a->data().isValid() && a->data().toInt() == type) return a;
  }
  return nullptr;
}

}  // namespace vantor
