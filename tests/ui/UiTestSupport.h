#pragma once
// Shared pieces of the widget tests: the main form over its own program state, optionally
// with a simulated processor behind it, prompts that record instead of opening boxes, and
// mouse helpers.

#include <QApplication>
#include <QMouseEvent>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <memory>
#include <vector>

#include "link/ConnectionController.h"
#include "link/LinkTimings.h"
#include "model/DataDefine.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"
#include "sim/SimulatedProcessor.h"
#include "ui/app/DeviceHost.h"
#include "ui/app/MainFrame.h"
#include "ui/app/VantorDoc.h"
#include "ui/app/VantorView.h"
#include "ui/controls/DropSelector.h"
#include "ui/controls/NumEdit.h"

namespace vantor::uitest {

// Short limits, so that a lost device is noticed within a fraction of a second.
inline LinkTimings FastTimings() {
  using std::chrono::milliseconds;
  LinkTimings t;
  t.writeWait = milliseconds(20);
  t.readWait = milliseconds(250);
  t.exchangeLimit = milliseconds(300);
  t.linkErrorPause = milliseconds(1);
  t.cyclePause = milliseconds(1);
  t.workerWait = milliseconds(50);
  t.disconnectPause = milliseconds(1);
  return t;
}

// The main form as the application builds it. With a unit, the unit is on a bus of its own
// and the form works with it through the short time limits; the unit is plugged in by the
// caller (before Start, as at a start-up with the device present, or later).
// What the window remembers goes to a folder of the test program's own, never into the
// user's settings.
inline void RedirectSettings() {
  static QTemporaryDir folder;
  static const bool redirected = [] {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    return true;
  }();
  (void)redirected;
}

struct Form {
  explicit Form(std::shared_ptr<sim::SimulatedProcessor> withUnit = nullptr)
      : unit(std::move(withUnit)) {
    RedirectSettings();
    if (unit) host = DeviceHost::Simulated(unit);
    frame = std::make_unique<CMainFrame>(doc);
    View().SetPrompts({[this](const QString& t) { messages << t; },
                       [this](const QString& t) { return Answer(t); },
                       [this](const QString& t) { return Answer(t); },
                       [this](const FileRequest& r) {
                         fileRequests.push_back(r);
                         return chosenFiles.isEmpty() ? QString() : chosenFiles.takeFirst();
                       }});
    if (host) View().AttachDevice(*host, FastTimings());
  }
  ~Form() {
    frame.reset();
    host.reset();
  }

  // Start-up as the application does it; with a unit, waits until the first connection
  // attempt has come to rest.
  bool Start() {
    View().OnInitialUpdate();
    frame->show();
    if (!QTest::qWaitForWindowExposed(frame.get())) return false;
    QApplication::setActiveWindow(frame.get());
    if (!QTest::qWaitForWindowActive(frame.get())) return false;
    return QTest::qWaitFor([this] { return View().StartupSettled(); }, 10000);
  }

  // Plugs the unit in and starts; true once the connection is live.
  bool StartLive() {
    unit->Plug();
    return Start() && View().Controller().Phase() == ConnectionPhase::kLive;
  }

  // True once nothing is queued (beyond the poll) and no output, band or the master level
  // has a change waiting to be sent.
  bool Drained() {
    return QTest::qWaitFor(
        [&] {
          if (View().Controller().Queue().Count() > 1) return false;
          for (int c = 0; c < rec::kOutputCount; ++c) {
            const CKTV_OutData& out = Data().Output(c);
            for (int k = 0; k < kOutputChangeCount; ++k) {
              if (out.Changed(static_cast<OutputChange>(k))) return false;
            }
            for (int e = 0; e < out.Filters().Count(); ++e) {
              if (out.Filter(e).Pending() != 0) return false;
            }
          }
          return !Data().MasterVolumeChanged();
        },
        10000);
  }

  CVantorView& View() { return frame->View(); }
  CKTV_Data& Data() { return doc.Data(); }

  bool Answer(const QString& question) {
    questions << question;
    return answers.isEmpty() ? answer : answers.takeFirst();
  }

  ProgramState state;
  CVantorDoc doc{state};
  std::shared_ptr<sim::SimulatedProcessor> unit;
  std::unique_ptr<DeviceHost> host;
  std::unique_ptr<CMainFrame> frame;
  QStringList messages;
  // Questions with OK/Cancel and with Yes/No: the next of `answers`, then `answer`.
  QStringList questions;
  QList<bool> answers;
  bool answer = true;
  // What the file chooser returns, one a request (none left: cancelled), and what it was
  // asked.
  QStringList chosenFiles;
  std::vector<FileRequest> fileRequests;
};

inline std::shared_ptr<sim::SimulatedProcessor> InstantUnit() {
  sim::SimOptions options;
  options.timing = sim::SimTiming::Instant();
  return sim::SimulatedProcessor::Create(options);
}

inline void MouseMoveTo(QWidget* w, QPoint p, Qt::MouseButtons buttons) {
  QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::NoButton, buttons,
                Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// Hover, press, move through the points with the button held, release at the last.
inline void DragThrough(QWidget* w, QPoint from, std::initializer_list<QPoint> path) {
  MouseMoveTo(w, from, Qt::NoButton);
  QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
  QPoint last = from;
  for (QPoint p : path) {
    MouseMoveTo(w, p, Qt::LeftButton);
    last = p;
  }
  QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, last);
}

// Writes other than the idle status poll the unit received after frame `from`.
inline int WritesSince(const sim::SimulatedProcessor& unit, std::uint64_t from) {
  int n = 0;
  for (const sim::SimFrameRecord& r : unit.FrameLog()) {
    if (r.number > from && r.IsWrite()) ++n;
  }
  return n;
}

// The payload of the last item `item` of output `channel` the unit stored; empty if none.
inline std::vector<std::uint8_t> LastOutputItemWrite(const sim::SimulatedProcessor& unit,
                                                     int channel, int item) {
  std::vector<std::uint8_t> last;
  for (const sim::SimFrameRecord& r : unit.FrameLog()) {
    if (r.IsWrite() && r.block == rec::kBlockOutput && r.index == channel && r.item == item &&
        r.fate == sim::SimFrameFate::kStored) {
      last = r.payload;
    }
  }
  return last;
}

// Opens a drop-down list and clicks its row, as a user chooses an item.
inline bool ChooseRow(DropSelector& selector, int row) {
  selector.OpenList();
  if (!QTest::qWaitFor([&] { return selector.IsListOpen(); })) return false;
  DropList* list = selector.List();
  const int h = list->RowHeight();
  const QPoint at(10, 1 + (row - list->FirstRow()) * h + h / 2);
  if (list->RowAt(at) != row) return false;
  QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, at);
  return QTest::qWaitFor([&] { return !selector.IsListOpen(); });
}

// Types a text into a numeric edit and moves the focus away, which commits it.
inline bool TypeInto(CNumEdit& edit, const QString& text, QWidget& elsewhere) {
  // The transfer window of a read-back may have taken the activation.
  QApplication::setActiveWindow(edit.window());
  edit.setFocus();
  if (!QTest::qWaitFor([&] { return edit.hasFocus(); })) return false;
  edit.selectAll();
  QTest::keyClicks(&edit, text);
  elsewhere.setFocus();
  return QTest::qWaitFor([&] { return !edit.hasFocus(); });
}

}  // namespace vantor::uitest
