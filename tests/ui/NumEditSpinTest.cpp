// The numeric edit and its spin: text in units, commit on focus loss, grid steps of a
// frequency spin, and the held button's rate of change notices.

#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <atomic>

#include "model/EditConversion.h"
#include "ui/controls/BitmapSlider.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"

namespace vantor {

class NumEditSpinTest : public QObject {
  Q_OBJECT

 private:
  QWidget* window_ = nullptr;
  CNumEdit* edit_ = nullptr;
  CNumSpin* spin_ = nullptr;
  QLineEdit* other_ = nullptr;
  std::atomic<bool> chinese_{false};
  QStringList messages_;

  void Make(int mode, int minimum, int maximum) {
    window_ = new QWidget;
    window_->resize(200, 100);
    edit_ = new CNumEdit(2584, window_);
    edit_->setGeometry(10, 10, 60, 22);
    edit_->SetMode(mode);
    spin_ = new CNumSpin(2585, window_);
    spin_->setGeometry(72, 10, 16, 22);
    spin_->SetBuddy(edit_);
    spin_->SetLanguage(&chinese_);
    spin_->SetMessageHandler([this](const QString& m) { messages_ << m; });
    spin_->SetRange32(minimum, maximum);
    other_ = new QLineEdit(window_);
    other_->setGeometry(100, 10, 60, 22);
    window_->show();
    QApplication::setActiveWindow(window_);
    QVERIFY(QTest::qWaitForWindowActive(window_));
  }

  QPoint Upper() const { return {8, 4}; }
  QPoint Lower() const { return {8, 18}; }

  void Type(const QString& text) {
    edit_->setFocus();
    QTRY_VERIFY(edit_->hasFocus());
    edit_->selectAll();
    QTest::keyClicks(edit_, text);
    other_->setFocus();
    QTRY_VERIFY(!edit_->hasFocus());
  }

 private slots:
  void cleanup() {
    delete window_;
    window_ = nullptr;
    messages_.clear();
  }

  void frequencySpinStepsAlongTheGrid() {
    Make(kEditEqFrequency, 20, 20000);
    QSignalSpy notices(spin_, &CNumSpin::changeNotice);
    QVERIFY(spin_->SetValue(1000));
    QCOMPARE(edit_->text(), QStringLiteral("1000"));
    QTest::mouseClick(spin_, Qt::LeftButton, Qt::NoModifier, Upper());
    QCOMPARE(edit_->Value(), 1030);
    QCOMPARE(edit_->text(), QStringLiteral("1030"));
    QCOMPARE(notices.count(), 1);
    QCOMPARE(notices.at(0).at(0).toInt(), 2585);

    QVERIFY(spin_->SetValue(1000));
    QTest::mouseClick(spin_, Qt::LeftButton, Qt::NoModifier, Lower());
    QCOMPARE(edit_->Value(), 972);
    QCOMPARE(notices.count(), 2);

    // At the ends of the range nothing moves and nothing is reported.
    QVERIFY(spin_->SetValue(20000));
    QTest::mouseClick(spin_, Qt::LeftButton, Qt::NoModifier, Upper());
    QCOMPARE(edit_->Value(), 20000);
    QCOMPARE(notices.count(), 2);
  }

  void heldButtonReportsAtMostEveryFourHundredMilliseconds() {
    Make(kEditGainDb, 0, 60);
    QVERIFY(spin_->SetValue(0));
    QSignalSpy notices(spin_, &CNumSpin::changeNotice);
    QTest::mousePress(spin_, Qt::LeftButton, Qt::NoModifier, Upper());
    QVERIFY(spin_->Held());
    QElapsedTimer clock;
    clock.start();
    QTest::qWait(1250);
    const qint64 held = clock.elapsed();
    const int whileHeld = static_cast<int>(notices.count());
    const int valueAtRelease = edit_->Value();
    QTest::mouseRelease(spin_, Qt::LeftButton, Qt::NoModifier, Upper());
    QVERIFY2(valueAtRelease >= 8, "the held button repeats its steps");
    QVERIFY(whileHeld >= 1);
    QVERIFY2(whileHeld <= held / NumSpinState::kRepeatIntervalMs,
             qPrintable(QStringLiteral("%1 notices in %2 ms").arg(whileHeld).arg(held)));
    // The final value is reported at release unless the last tick already carried it.
    QVERIFY(notices.count() == whileHeld || notices.count() == whileHeld + 1);
    QVERIFY(!spin_->Held());
  }

  void outOfRangeValuesAreRefusedWithTheMessage() {
    Make(kEditGainDb, 0, 60);
    QVERIFY(spin_->SetValue(30));
    QVERIFY(!spin_->SetValue(61));
    QCOMPARE(edit_->Value(), 30);
    QCOMPARE(messages_, QStringList{QStringLiteral("2584:Data err")});
    chinese_ = true;
    QVERIFY(!spin_->SetValue(-1));
    QCOMPARE(messages_.last(), QStringLiteral("2584:数据错误"));
  }

  void typedTextIsCommittedWhenTheEditLosesTheFocus() {
    Make(kEditGainDb, 0, 60);
    edit_->SetScale(1);
    edit_->SetOffset(60);
    QVERIFY(spin_->SetValue(30));
    QCOMPARE(edit_->text(), QStringLiteral("-30dB"));
    QSignalSpy notices(edit_, &CNumEdit::changeNotice);
    Type(QStringLiteral("OFF"));
    QCOMPARE(edit_->Value(), 0);
    QCOMPARE(edit_->text(), QStringLiteral("-60dB"));
    QCOMPARE(notices.count(), 1);
    QCOMPARE(notices.at(0).at(0).toInt(), 2584);
    Type(QStringLiteral("5"));
    QCOMPARE(edit_->Value(), 60);
    QCOMPARE(edit_->text(), QStringLiteral("0dB"));

    // A spin step starts from typed text that was not committed yet.
    edit_->setFocus();
    QTRY_VERIFY(edit_->hasFocus());
    edit_->selectAll();
    QTest::keyClicks(edit_, QStringLiteral("-20"));
    QVERIFY(edit_->Dirty());
    QTest::mouseClick(spin_, Qt::LeftButton, Qt::NoModifier, Upper());
    QCOMPARE(edit_->Value(), 41);
  }

  void unfocusedEditShowsTheCodeWithoutCommitting() {
    Make(kEditEqGain, 0, 400);
    edit_->SetScale(0.1);
    edit_->SetOffset(20);
    QVERIFY(edit_->SetValue(260));
    QCOMPARE(edit_->text(), QStringLiteral("6.0"));
    QVERIFY(!edit_->SetValue(401));
    QCOMPARE(edit_->Value(), 260);
    QSignalSpy notices(edit_, &CNumEdit::changeNotice);
    edit_->setFocus();
    QTRY_VERIFY(edit_->hasFocus());
    other_->setFocus();
    QTRY_VERIFY(!edit_->hasFocus());
    QCOMPARE(notices.count(), 0);  // nothing typed, nothing committed
  }

  void aFocusedSliderHighlightsItsEdit() {
    Make(kEditGainDb, 0, 60);
    auto* slider = new BitmapSlider(8650, Qt::Vertical, window_);
    slider->setGeometry(170, 10, 24, 80);
    slider->AttachEdit(edit_);
    slider->show();
    other_->setFocus();
    QTRY_VERIFY(other_->hasFocus());
    const QColor rest = edit_->palette().color(QPalette::Text);
    QCOMPARE(rest, QColor(Qt::white));
    slider->setFocus();
    QTRY_VERIFY(slider->hasFocus());
    QCOMPARE(edit_->palette().color(QPalette::Text), QColor(Qt::black));
    other_->setFocus();
    QTRY_VERIFY(!slider->hasFocus());
    QCOMPARE(edit_->palette().color(QPalette::Text), rest);
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::NumEditSpinTest)
#include "NumEditSpinTest.moc"
