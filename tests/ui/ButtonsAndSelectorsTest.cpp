// Two-state buttons and drop-down selectors: state belongs to the owner, clicks and
// choices are reported with the control's id, lists open where they fit.

#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include "ui/controls/BitButton.h"
#include "ui/controls/ComBoxBtn.h"
#include "ui/controls/DropBtn.h"
#include "ui/controls/DropList.h"
#include "ui/controls/xSkinButton.h"

namespace vantor {
namespace {

QPixmap Filled(const QColor& c) {
  QPixmap pm(20, 20);
  pm.fill(c);
  return pm;
}

void Wheel(QWidget* w, int delta) {
  const QPointF at(5, 5);
  QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &e);
}

}  // namespace

class ButtonsAndSelectorsTest : public QObject {
  Q_OBJECT

 private:
  QWidget* window_ = nullptr;

  void Show() {
    window_->resize(400, 300);
    window_->show();
    QApplication::setActiveWindow(window_);
    QVERIFY(QTest::qWaitForWindowActive(window_));
  }

 private slots:
  void init() { window_ = new QWidget; }
  void cleanup() {
    delete window_;
    window_ = nullptr;
  }

  void aClickIsReportedButNeverChangesTheState() {
    auto* b = new BitButton(6052, QStringLiteral("ON"), window_);
    auto* x = new xSkinButton(2281, xSkinButton::Glyph::kClose, {}, window_);
    b->setGeometry(10, 10, 60, 24);
    x->setGeometry(80, 10, 30, 24);
    Show();
    QSignalSpy clicked(b, &TwoStateButton::clickedId);
    QSignalSpy xClicked(x, &TwoStateButton::clickedId);
    b->SetState(1);
    QTest::mouseClick(b, Qt::LeftButton);
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(b->State(), 1);
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(clicked.at(0).at(0).toInt(), 6052);
    QTest::mouseClick(x, Qt::LeftButton);
    QCOMPARE(x->State(), 0);
    QCOMPARE(xClicked.count(), 1);
    QCOMPARE(xClicked.at(0).at(0).toInt(), 2281);

    b->setEnabled(false);
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(clicked.count(), 2);
  }

  void pressedFlagFollowsTheMouseButton() {
    auto* b = new BitButton(1944, QStringLiteral("POL"), window_);
    b->setGeometry(10, 10, 60, 24);
    Show();
    QTest::mousePress(b, Qt::LeftButton);
    QVERIFY(b->IsPressed());
    QTest::mouseRelease(b, Qt::LeftButton);
    QVERIFY(!b->IsPressed());
  }

  void bitButtonStateOneFallsBackOnStateZeroImages() {
    auto* b = new BitButton(100, {}, window_);
    b->setGeometry(10, 10, 20, 20);
    b->SetImages({Filled(Qt::red), {}, {}, {}}, {});
    b->SetState(1);
    Show();
    const QImage shot = b->grab().toImage();
    QCOMPARE(QColor(shot.pixel(10, 10)), QColor(Qt::red));

    // A plain two-state button has no such fallback: state 1 without images is drawn
    // in code, not with the state-0 picture.
    auto* x = new xSkinButton(101, xSkinButton::Glyph::kNone, {}, window_);
    x->setGeometry(40, 10, 20, 20);
    x->SetImages({Filled(Qt::red), {}, {}, {}}, {});
    x->SetState(1);
    x->show();
    QVERIFY(QColor(x->grab().toImage().pixel(10, 10)) != QColor(Qt::red));
  }

  void rightClickOnAPresetSlotButtonAsksForItsMenu() {
    QCOMPARE(BitButton::PresetSlotOf(2401), 1);
    QCOMPARE(BitButton::PresetSlotOf(2406), 6);
    QCOMPARE(BitButton::PresetSlotOf(2419), 1);
    QCOMPARE(BitButton::PresetSlotOf(2424), 6);
    QCOMPARE(BitButton::PresetSlotOf(2407), 0);
    QCOMPARE(BitButton::PresetSlotOf(2418), 0);

    auto* slot = new BitButton(2420, QStringLiteral("2"), window_);
    auto* other = new BitButton(2331, QStringLiteral("EQ"), window_);
    slot->setGeometry(10, 10, 40, 24);
    other->setGeometry(60, 10, 40, 24);
    Show();
    QSignalSpy slotMenu(slot, &BitButton::presetSlotMenu);
    QSignalSpy otherMenu(other, &BitButton::presetSlotMenu);
    QSignalSpy clicks(slot, &TwoStateButton::clickedId);
    QTest::mouseClick(slot, Qt::RightButton);
    QTest::mouseClick(other, Qt::RightButton);
    QCOMPARE(slotMenu.count(), 1);
    QCOMPARE(slotMenu.at(0).at(0).toInt(), 2);
    QCOMPARE(otherMenu.count(), 0);
    QCOMPARE(clicks.count(), 0);
  }

  void listOpensBelowOrAboveWhereItFits() {
    const QRect work(0, 0, 1000, 700);
    const QRect below = DropSelector::ListGeometry(QRect(100, 200, 120, 22), 130, work);
    QCOMPARE(below, QRect(100, 222, 120, 130));
    const QRect above = DropSelector::ListGeometry(QRect(100, 600, 120, 22), 130, work);
    QCOMPARE(above, QRect(100, 470, 120, 130));
    // Exactly reaching the bottom row still fits below.
    const QRect edge = DropSelector::ListGeometry(QRect(100, 548, 120, 22), 130, work);
    QCOMPARE(edge.top(), 570);
  }

  void choosingAnItemSelectsAndReportsIt() {
    auto* c = new ComBoxBtn(2400, window_);
    c->setGeometry(10, 10, 120, 22);
    for (const char* s : {"High level", "RCA", "Bluetooth", "Optical", "Coaxial", "Player"}) {
      c->AddItem(QString::fromLatin1(s));
    }
    Show();
    QSignalSpy changed(c, &DropSelector::selectionChanged);
    c->SetSelection(1);
    QCOMPARE(changed.count(), 0);

    QTest::mouseClick(c, Qt::LeftButton);
    QTRY_VERIFY(c->IsListOpen());
    DropList* list = c->List();
    QCOMPARE(list->width(), c->width());
    QVERIFY(list->height() <= ComBoxBtn::kMaxListHeight);
    QCOMPARE(list->geometry().top(), c->mapToGlobal(QPoint(0, 0)).y() + c->height());

    const QPoint row3(20, 1 + 3 * list->RowHeight() + list->RowHeight() / 2 -
                              list->FirstRow() * list->RowHeight());
    QCOMPARE(list->RowAt(row3), 3);
    QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, row3);
    QTRY_VERIFY(!c->IsListOpen());
    QCOMPARE(c->Selection(), 3);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toInt(), 2400);
    QCOMPARE(changed.at(0).at(1).toInt(), 3);
  }

  void closingTheListWithoutAChoiceKeepsTheSelection() {
    auto* d = new DropBtn(3000, window_);
    d->setGeometry(10, 10, 120, 22);
    d->SetItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    d->SetSelection(2);
    Show();
    QSignalSpy changed(d, &DropSelector::selectionChanged);
    d->OpenList();
    QTRY_VERIFY(d->IsListOpen());
    // A DropBtn list shows every item.
    QCOMPARE(d->List()->height(), 3 * d->List()->RowHeight() + 2);
    QTest::keyClick(d->List(), Qt::Key_Up);
    QTest::keyClick(d->List(), Qt::Key_Escape);
    QTRY_VERIFY(!d->IsListOpen());
    QCOMPARE(d->Selection(), 2);
    QCOMPARE(changed.count(), 0);

    d->OpenList();
    QTRY_VERIFY(d->IsListOpen());
    d->List()->close();  // what a click outside the list does
    QCOMPARE(d->Selection(), 2);
    QCOMPARE(changed.count(), 0);

    // The wheel does not step a DropBtn.
    Wheel(d, -120);
    QCOMPARE(d->Selection(), 2);
  }

  void comboWheelAddsUpToWholeNotches() {
    auto* c = new ComBoxBtn(2401, window_);
    c->setGeometry(10, 10, 120, 22);
    c->SetItems({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")});
    c->SetSelection(0);
    Show();
    QSignalSpy changed(c, &DropSelector::selectionChanged);
    Wheel(c, -120);  // towards the user: next item
    QCOMPARE(c->Selection(), 1);
    Wheel(c, -60);
    QCOMPARE(c->Selection(), 1);
    Wheel(c, -60);
    QCOMPARE(c->Selection(), 2);
    Wheel(c, -360);  // at the last item it stays there
    QCOMPARE(c->Selection(), 2);
    QCOMPARE(changed.count(), 3);
    Wheel(c, 120);
    QCOMPARE(c->Selection(), 1);
    Wheel(c, 60);
    Wheel(c, -60);  // back to nothing
    Wheel(c, 60);
    QCOMPARE(c->Selection(), 1);
    QCOMPARE(changed.last().at(1).toInt(), 1);
  }

  void longListsAreLimitedToTheirMaximumHeight() {
    auto* c = new ComBoxBtn(2402, window_);
    c->setGeometry(10, 10, 120, 22);
    for (int i = 0; i < 27; ++i) c->AddItem(QString::number(i));
    c->SetSelection(20);
    Show();
    c->OpenList();
    QTRY_VERIFY(c->IsListOpen());
    QCOMPARE(c->List()->height(), ComBoxBtn::kMaxListHeight);
    QVERIFY(c->List()->FirstRow() > 0);  // scrolled so that the selection shows
    c->List()->close();
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::ButtonsAndSelectorsTest)
#include "ButtonsAndSelectorsTest.moc"
