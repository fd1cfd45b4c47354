// Form-wide rules of the main window: every numeric field shows its widest value whole, the
// keyboard goes into an edit only when the person clicked into it, a numeric edit offers no
// context menu, and the preset menu opens under its button.

#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "UiTestSupport.h"
#include "link/ConnectionController.h"
#include "model/KTV_Data.h"
#include "tuning/DelayFields.h"
#include "ui/QtText.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/BitmapSlider.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/controls/TwoStateButton.h"
#include "ui/panels/DelayPanel.h"
#include "ui/panels/StripPanel.h"
#include "ui/panels/TopBarPanel.h"

namespace vantor {

using uitest::Form;

namespace {

// The line edit keeps this many pixels free on each side of its text.
constexpr int kLineEditMargin = 2;

// Whether the keyboard is free: no numeric edit, and no slider (which lights its edit and
// takes the arrow keys), holds it.
bool KeysAreFree(QString* holder) {
  QWidget* f = QApplication::focusWidget();
  if (qobject_cast<CNumEdit*>(f) == nullptr && qobject_cast<BitmapSlider*>(f) == nullptr) {
    return true;
  }
  *holder = QString::fromLatin1(f->metaObject()->className());
  if (auto* e = qobject_cast<CNumEdit*>(f)) *holder += QStringLiteral(" %1").arg(e->Id());
  return false;
}

// Types into whatever holds the keyboard, as a person at the keyboard does.
void TypeAtTheKeyboard(QWidget& window, const QString& text) {
  QWidget* target = QApplication::focusWidget();
  if (target == nullptr) target = &window;
  QTest::keyClicks(target, text);
  QTest::keyClick(QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &window,
                  Qt::Key_Tab);
}

}  // namespace

class FormKeyboardAndFieldsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Form> form_;
  CVantorView& View() { return form_->View(); }

 private slots:
  void cleanup() { form_.reset(); }

  void everyNumericFieldShowsItsWidestValueWhole() {
    form_ = std::make_unique<Form>();
    QVERIFY(form_->Start());
    int checked = 0;
    for (bool chinese : {true, false}) {
      if (form_->state.chinese.load() != chinese) View().ToggleLanguage();
      for (DelayUnit unit :
           {DelayUnit::kMilliseconds, DelayUnit::kCentimetres, DelayUnit::kInches}) {
        View().Delays().ChooseUnit(unit);
        const auto edits = View().findChildren<CNumEdit*>();
        QVERIFY(edits.size() >= 12);
        for (CNumEdit* e : edits) {
          const NumEditState& s = e->State();
          const QFontMetrics metrics(e->font());
          QString widest;
          int widestPx = 0;
          for (int code = s.Minimum(); code <= s.Maximum(); ++code) {
            const QString text = Q(FormatEditCode(s.Scale(), code));
            const int px = metrics.horizontalAdvance(text);
            if (px > widestPx) {
              widestPx = px;
              widest = text;
            }
          }
          const QMargins m = e->textMargins();
          const int room = e->width() - 2 * kLineEditMargin - m.left() - m.right();
          QVERIFY2(widestPx <= room,
                   qPrintable(QStringLiteral("field %1 (%2): \"%3\" takes %4 px, the field has %5")
                                  .arg(e->Id())
                                  .arg(chinese ? QStringLiteral("zh") : QStringLiteral("en"))
                                  .arg(widest)
                                  .arg(widestPx)
                                  .arg(room)));
          ++checked;
        }
      }
    }
    QVERIFY(checked > 0);
    // The master level's minus sign in particular.
    QVERIFY(View().Strips().MasterSpin().SetValue(15));
    QCOMPARE(View().Strips().MasterEdit().text(), QStringLiteral("-45dB"));
  }

  void theKeyboardGoesIntoAnEditOnlyWhenClickedInto() {
    auto unit = uitest::InstantUnit();
    form_ = std::make_unique<Form>(unit);
    QVERIFY(form_->StartLive());
    QString holder;
    QVERIFY2(KeysAreFree(&holder), qPrintable(QStringLiteral("after start-up: ") + holder));

    // Typing with CH2 shown changes no output.
    View().SelectChannel(1);
    const int gain0 = form_->Data().Output(0).GainCode();
    const int gain1 = form_->Data().Output(1).GainCode();
    TypeAtTheKeyboard(*form_->frame, QStringLiteral("-10"));
    QTest::qWait(50);
    QCOMPARE(form_->Data().Output(0).GainCode(), gain0);
    QCOMPARE(form_->Data().Output(1).GainCode(), gain1);

    // A language switch from the system menu.
    for (QAction* a : View().TopBar().SystemMenu().actions()) {
      if (a->text() == QStringLiteral("英文")) a->trigger();
    }
    QVERIFY(!form_->state.chinese.load());
    QVERIFY2(KeysAreFree(&holder), qPrintable(QStringLiteral("after the language: ") + holder));

    // A reconnect: disconnect and connect again with the connect button.
    QTest::mouseClick(&View().TopBar().ConnectButton(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(View().Controller().Phase(), ConnectionPhase::kClosed, 5000);
    QTest::mouseClick(&View().TopBar().ConnectButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(
        View().StartupSettled() && View().Controller().Phase() == ConnectionPhase::kLive, 10000);
    QApplication::setActiveWindow(form_->frame.get());
    QVERIFY(QTest::qWaitForWindowActive(form_->frame.get()));
    QVERIFY2(KeysAreFree(&holder), qPrintable(QStringLiteral("after a reconnect: ") + holder));

    // Clicked into CH1's gain: the edit takes the keys. Selecting CH2 ends the edit, and
    // what was typed stays CH1's.
    View().SelectChannel(0);
    CNumEdit& edit = View().Strips().GainEdit(0);
    QTest::mouseClick(&edit, Qt::LeftButton, Qt::NoModifier, QPoint(10, 8));
    QTRY_VERIFY(edit.hasFocus());
    QTest::keyClicks(&edit, QStringLiteral("-10"));
    QTest::mouseClick(&View().Strips().SelectButton(1), Qt::LeftButton);
    QCOMPARE(View().CurrentChannel(), 1);
    QVERIFY(!edit.hasFocus());
    QCOMPARE(form_->Data().Output(0).GainCode(), 50);
    QCOMPARE(form_->Data().Output(1).GainCode(), gain1);
    QVERIFY2(KeysAreFree(&holder), qPrintable(QStringLiteral("after selecting: ") + holder));
    TypeAtTheKeyboard(*form_->frame, QStringLiteral("-20"));
    QTest::qWait(50);
    QCOMPARE(form_->Data().Output(0).GainCode(), 50);
    QCOMPARE(form_->Data().Output(1).GainCode(), gain1);
  }

  void aNumericEditOffersNoMenuAndKeepsItsValue() {
    form_ = std::make_unique<Form>();
    QVERIFY(form_->Start());
    CNumEdit& master = View().Strips().MasterEdit();
    QVERIFY(View().Strips().MasterSpin().SetValue(15));
    const int level = form_->Data().MasterVolume();
    bool menuShown = false;
    // The toolkit's menu would run until closed; close whatever pops up and note it.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&menuShown] {
      if (QWidget* popup = QApplication::activePopupWidget()) {
        menuShown = true;
        popup->close();
      }
    });
    closer.start(50);
    QTest::mouseClick(&master, Qt::RightButton, Qt::NoModifier, QPoint(8, 8));
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(8, 8),
                           master.mapToGlobal(QPoint(8, 8)));
    QApplication::sendEvent(&master, &menu);
    QTest::qWait(150);
    QVERIFY(!menuShown);
    View().setFocus();
    QCOMPARE(master.text(), QStringLiteral("-45dB"));
    QCOMPARE(master.Value(), 15);
    QCOMPARE(form_->Data().MasterVolume(), level);
  }

  void thePresetMenuOpensUnderThePresetButton() {
    form_ = std::make_unique<Form>();
    QVERIFY(form_->Start());
    TwoStateButton& button = View().TopBar().PresetButton();
    // The frame placed so that the button lies well inside the screen, where the menu fits.
    const QPoint want(120, 120);
    form_->frame->move(form_->frame->pos() + want - button.mapToGlobal(QPoint(0, 0)));
    QTRY_COMPARE(button.mapToGlobal(QPoint(0, 0)), want);
    QMenu& menu = View().TopBar().PresetMenu();
    for (QAction* a : menu.actions()) QVERIFY(a->isEnabled());
    QTest::mouseClick(&button, Qt::LeftButton);
    QTRY_VERIFY(menu.isVisible());
    const QRect under = menu.geometry();
    menu.close();
    QVERIFY2(
        qAbs(under.left() - want.x()) <= 2,
        qPrintable(QStringLiteral("menu at x %1, button at x %2").arg(under.left()).arg(want.x())));
    const int buttonBottom = want.y() + button.height();
    QVERIFY2(
        under.top() >= buttonBottom && under.top() <= buttonBottom + 8,
        qPrintable(
            QStringLiteral("menu at y %1, button bottom %2").arg(under.top()).arg(buttonBottom)));
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::FormKeyboardAndFieldsTest)
#include "FormKeyboardAndFieldsTest.moc"
