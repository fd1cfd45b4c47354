// The skinned slider: stored position and direct flag, keys, wheel, drag notices, focus.

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include "ui/controls/BitmapSlider.h"

namespace vantor {

class BitmapSliderTest : public QObject {
  Q_OBJECT

 private:
  QWidget* window_ = nullptr;
  BitmapSlider* slider_ = nullptr;
  QLineEdit* edit_ = nullptr;

  // Vertical, 0..400, 30 × 220, in an active window; the focus notice is out of the way.
  void MakeSlider(bool direct) {
    delete window_;
    window_ = new QWidget;
    window_->resize(120, 260);
    slider_ = new BitmapSlider(8650, Qt::Vertical, window_);
    slider_->setGeometry(10, 10, 30, 220);
    slider_->SetRange(0, 400);
    slider_->SetPage(5);
    slider_->SetDirect(direct);
    edit_ = new QLineEdit(window_);
    edit_->setGeometry(50, 10, 60, 20);
    slider_->AttachEdit(edit_);
    window_->show();
    QApplication::setActiveWindow(window_);
    QVERIFY(QTest::qWaitForWindowActive(window_));
    slider_->setFocus();
    QTRY_VERIFY(slider_->hasFocus());
  }

  QPoint ThumbCentre() const { return slider_->ThumbRect().center(); }

 private slots:
  void cleanup() {
    delete window_;
    window_ = nullptr;
  }

  void directFlagClearStoresTheMirror() {
    MakeSlider(false);
    slider_->SetPos(300);
    QCOMPARE(slider_->StoredPos(), 100);
    QCOMPARE(slider_->GetPos(), 300);
    // The maximum is at the top.
    slider_->SetPos(400);
    QCOMPARE(slider_->StoredPos(), 0);
    QCOMPARE(slider_->ThumbRect().top(), 0);
    slider_->SetPos(999);
    QCOMPARE(slider_->GetPos(), 400);
  }

  void mirrorHoldsForARangeNotStartingAtZero() {
    MakeSlider(false);
    slider_->SetRange(10, 20);
    slider_->SetPos(12);
    QCOMPARE(slider_->StoredPos(), 18);
    QCOMPARE(slider_->GetPos(), 12);
  }

  void keysStepTheStoredPositionAndReportMoved() {
    MakeSlider(true);
    QSignalSpy moved(slider_, &BitmapSlider::moved);
    slider_->SetPos(398);
    QTest::keyClick(slider_, Qt::Key_PageDown);
    QCOMPARE(slider_->StoredPos(), 400);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(0).toInt(), 8650);
    QCOMPARE(moved.at(0).at(1).toInt(), 400);

    QTest::keyClick(slider_, Qt::Key_PageUp);
    QCOMPARE(slider_->StoredPos(), 395);
    QTest::keyClick(slider_, Qt::Key_Home);
    QCOMPARE(slider_->StoredPos(), 0);
    QTest::keyClick(slider_, Qt::Key_Up);  // clamped, still reported
    QCOMPARE(slider_->StoredPos(), 0);
    QTest::keyClick(slider_, Qt::Key_Down);
    QTest::keyClick(slider_, Qt::Key_Right);
    QCOMPARE(slider_->StoredPos(), 2);
    QTest::keyClick(slider_, Qt::Key_Left);
    QCOMPARE(slider_->StoredPos(), 1);
    QTest::keyClick(slider_, Qt::Key_End);
    QCOMPARE(slider_->StoredPos(), 400);
    QCOMPARE(moved.count(), 8);

    slider_->SetReversedKeys(true);
    QTest::keyClick(slider_, Qt::Key_Up);
    QCOMPARE(slider_->StoredPos(), 400);
    QTest::keyClick(slider_, Qt::Key_Down);
    QCOMPARE(slider_->StoredPos(), 399);
  }

  void wheelNotchesStepByOne() {
    MakeSlider(true);
    slider_->SetPos(100);
    QSignalSpy moved(slider_, &BitmapSlider::moved);
    const QPoint at = ThumbCentre();
    auto wheel = [&](int delta) {
      QWheelEvent e(QPointF(at), QPointF(slider_->mapToGlobal(at)), QPoint(), QPoint(0, delta),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(slider_, &e);
    };
    wheel(-120);  // towards the user
    QCOMPARE(slider_->StoredPos(), 101);
    wheel(120);
    wheel(120);
    QCOMPARE(slider_->StoredPos(), 99);
    QCOMPARE(moved.count(), 3);
    wheel(-60);  // half a notch does nothing yet
    QCOMPARE(slider_->StoredPos(), 99);
    wheel(-60);
    QCOMPARE(slider_->StoredPos(), 100);
    QCOMPARE(moved.count(), 4);
  }

  void holdingStillPostsNothingAndReleasePostsOneMoved() {
    MakeSlider(false);
    slider_->SetPos(200);
    QSignalSpy moving(slider_, &BitmapSlider::moving);
    QSignalSpy moved(slider_, &BitmapSlider::moved);
    const QPoint c = ThumbCentre() + QPoint(0, 3);  // caught a little off centre
    QTest::mousePress(slider_, Qt::LeftButton, Qt::NoModifier, c);
    QVERIFY(slider_->IsDragging());
    QCOMPARE(slider_->GetPos(), 200);  // the grab offset keeps the thumb where it was
    QTest::qWait(180);
    QCOMPARE(moving.count(), 0);
    QTest::mouseRelease(slider_, Qt::LeftButton, Qt::NoModifier, c);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(1).toInt(), 200);
    QTest::qWait(120);
    QCOMPARE(moving.count(), 0);
  }

  void pressAwayFromTheThumbBringsItToThePointer() {
    MakeSlider(true);
    slider_->SetPos(0);
    const QPoint target(15, 200);
    QTest::mousePress(slider_, Qt::LeftButton, Qt::NoModifier, target);
    QVERIFY(qAbs(ThumbCentre().y() - target.y()) <= 1);
    QTest::mouseRelease(slider_, Qt::LeftButton, Qt::NoModifier, target);
  }

  void draggingReportsMovingAtMostEveryFiftyMilliseconds() {
    MakeSlider(true);
    slider_->SetPos(0);
    QSignalSpy moving(slider_, &BitmapSlider::moving);
    QSignalSpy moved(slider_, &BitmapSlider::moved);
    QPoint p = ThumbCentre();
    QTest::mousePress(slider_, Qt::LeftButton, Qt::NoModifier, p);
    QElapsedTimer clock;
    clock.start();
    int steps = 0;
    while (clock.elapsed() < 300) {
      p.ry() = 10 + (steps % 180);
      QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(slider_->mapToGlobal(p)),
                       Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(slider_, &move);
      ++steps;
      QTest::qWait(2);
    }
    const qint64 elapsed = clock.elapsed();
    QTest::mouseRelease(slider_, Qt::LeftButton, Qt::NoModifier, p);
    QVERIFY2(steps > 40, "the loop must move the thumb far more often than it reports");
    QVERIFY(moving.count() >= 1);
    QVERIFY2(moving.count() <= elapsed / 50 + 1, qPrintable(QString::number(moving.count())));
    for (const auto& args : moving) QCOMPARE(args.at(0).toInt(), 8650);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(1).toInt(), slider_->StoredPos());
  }

  void focusHighlightsTheAttachedEditAndReportsMoving() {
    MakeSlider(true);
    QVERIFY(edit_->property(BitmapSlider::kHighlightProperty).toBool());
    QVERIFY(slider_->IsFocused());
    edit_->setFocus();
    QTRY_VERIFY(!slider_->hasFocus());
    QVERIFY(!edit_->property(BitmapSlider::kHighlightProperty).toBool());
    QVERIFY(!slider_->IsFocused());

    QSignalSpy moving(slider_, &BitmapSlider::moving);
    slider_->SetPos(42);
    slider_->TakeFocus();
    QTRY_COMPARE(moving.count(), 1);
    QCOMPARE(moving.at(0).at(1).toInt(), 42);
    QVERIFY(edit_->property(BitmapSlider::kHighlightProperty).toBool());
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::BitmapSliderTest)
#include "BitmapSliderTest.moc"
