// The application shell: command line, the fixed frameless window, the main form's
// channel selection and language, and the program itself run as a user would.

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "base/LittleEndian.h"
#include "model/DataDefine.h"
#include "model/KTV_Data.h"
#include "sim/SimulatedProcessor.h"
#include "ui/app/CommandLine.h"
#include "ui/app/DeviceHost.h"
#include "ui/app/FrameTrace.h"
#include "ui/app/MainFrame.h"
#include "ui/app/VantorApp.h"
#include "ui/app/VantorDoc.h"
#include "ui/app/VantorView.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/FStatic.h"
#include "ui/dialogs/SourceSaveDlg.h"
#include "ui/panels/GraphPanel.h"
#include "ui/panels/StripPanel.h"
#include "ui/panels/TopBarPanel.h"

namespace vantor {

class ApplicationTest : public QObject {
  Q_OBJECT

 private:
  static int RunProgram(const QStringList& args, QString* output = nullptr,
                        const QString& scaleFactor = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!scaleFactor.isEmpty()) env.insert(QStringLiteral("QT_SCALE_FACTOR"), scaleFactor);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VANTOR_EXE), args);
    if (!p.waitForFinished(60000)) {
      p.kill();
      return -1;
    }
    if (output != nullptr) *output = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  }

 private slots:
  void registrationTokensNeedASlashOrDashInAnyCase() {
    QVERIFY(IsRegistrationToken(QStringLiteral("/RegServer")));
    QVERIFY(IsRegistrationToken(QStringLiteral("-UnregServer")));
    QVERIFY(IsRegistrationToken(QStringLiteral("/unregserver")));
    QVERIFY(IsRegistrationToken(QStringLiteral("-REGSERVER")));
    QVERIFY(!IsRegistrationToken(QStringLiteral("RegServer")));
    QVERIFY(!IsRegistrationToken(QStringLiteral("/RegServers")));
    QVERIFY(!IsRegistrationToken(QStringLiteral("/")));
    const char* argv[] = {"vantor", "--lang", "en", "/regserver"};
    QVERIFY(IsRegistrationCommand(4, argv));
    QVERIFY(!IsRegistrationCommand(3, argv));
  }

  void optionsAreReadAndMistakesRefused() {
    LaunchOptions o = ParseCommandLine({});
    QCOMPARE(o.action, LaunchOptions::Action::kRun);
    QVERIFY(o.chinese);
    QVERIFY(o.screenshotPath.isEmpty());

    o = ParseCommandLine({QStringLiteral("--lang"), QStringLiteral("en"),
                          QStringLiteral("--screenshot"), QStringLiteral("/tmp/a.png")});
    QCOMPARE(o.action, LaunchOptions::Action::kRun);
    QVERIFY(!o.chinese);
    QCOMPARE(o.screenshotPath, QStringLiteral("/tmp/a.png"));
    o = ParseCommandLine({QStringLiteral("--lang=ZH"), QStringLiteral("--sample-tune")});
    QVERIFY(o.chinese);
    QVERIFY(o.sampleTune);

    QCOMPARE(ParseCommandLine({QStringLiteral("--lang"), QStringLiteral("fr")}).action,
             LaunchOptions::Action::kError);
    QCOMPARE(ParseCommandLine({QStringLiteral("--lang")}).action, LaunchOptions::Action::kError);
    QCOMPARE(ParseCommandLine({QStringLiteral("--screenshot=")}).action,
             LaunchOptions::Action::kError);
    const LaunchOptions bad = ParseCommandLine({QStringLiteral("--frobnicate")});
    QCOMPARE(bad.action, LaunchOptions::Action::kError);
    QVERIFY(bad.error.contains(QStringLiteral("--frobnicate")));
    QCOMPARE(ParseCommandLine({QStringLiteral("-UnregServer")}).action,
             LaunchOptions::Action::kExit);
  }

  void demoOptionsAndTraceLevels() {
    LaunchOptions o = ParseCommandLine(
        {QStringLiteral("--demo-state"), QStringLiteral("/tmp/u.vsim"), QStringLiteral("--trace")});
    QCOMPARE(o.action, LaunchOptions::Action::kRun);
    QVERIFY(o.demo);
    QVERIFY(o.trace);
    QCOMPARE(o.demoState, QStringLiteral("/tmp/u.vsim"));
    QCOMPARE(ParseCommandLine({QStringLiteral("--demo-state=")}).action,
             LaunchOptions::Action::kError);

    QCOMPARE(TraceLevelFrom(false, nullptr), TraceLevel::kOff);
    QCOMPARE(TraceLevelFrom(false, "0"), TraceLevel::kOff);
    QCOMPARE(TraceLevelFrom(false, "1"), TraceLevel::kEdits);
    QCOMPARE(TraceLevelFrom(true, nullptr), TraceLevel::kEdits);
    QCOMPARE(TraceLevelFrom(true, "all"), TraceLevel::kAll);

    // A band write of output 1, and the idle poll's answer, which the trace leaves out.
    const std::vector<std::uint8_t> write = {0xA2, 0xA2, 0xA2, 0xA3, 0xB3, 0x01, 0x00, 0x03,
                                             0x01, 0x05, 0x00, 0x00, 0x00, 0x00, 0xB6, 0xAA};
    QCOMPARE(QString::fromStdString(FormatTraceLine(FrameDirection::kSent, write)),
             QStringLiteral("> write slot 0 block 3 index 1 item 5 link 0 L=0 | "
                            "A2 A2 A2 A3 B3 01 00 03 01 05 00 00 00 00 B6 AA"));
    const std::vector<std::uint8_t> poll = {0xA2, 0xA2, 0xA2, 0xA3, 0x66, 0x01, 0x00, 0x04,
                                            0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xAA};
    QVERIFY(IsStatusPollTraffic(FrameDirection::kReceived, poll));
    QVERIFY(!IsStatusPollTraffic(FrameDirection::kSent, poll));
    QVERIFY(!IsStatusPollTraffic(FrameDirection::kSent, write));
  }

  void theFrameIsFixedBorderlessAndMasked() {
    ProgramState state;
    CVantorDoc doc(state);
    doc.Data().LoadOutputs();
    CMainFrame frame(doc);
    frame.View().OnInitialUpdate();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(frame.size(), QSize(1284, 690));
    QCOMPARE(frame.minimumSize(), frame.maximumSize());
    QVERIFY(frame.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(frame.mask().boundingRect(), QRect(2, 2, 1280, 686));
    QCOMPARE(frame.windowTitle(), QStringLiteral("TRX-560-MAX"));

    frame.move(300, 200);
    frame.OnDisplayChanged();
    QCOMPARE(frame.pos(), QPoint(0, 0));
    QCOMPARE(frame.size(), QSize(1284, 690));
  }

  void draggingTheBodyMovesTheWindow() {
    ProgramState state;
    CVantorDoc doc(state);
    CMainFrame frame(doc);
    frame.View().OnInitialUpdate();
    frame.move(100, 100);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const QPoint start = frame.pos();
    CVantorView& view = frame.View();
    const QPoint grip(200, 20);  // the top bar
    QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, grip);
    const QPoint to = grip + QPoint(40, 25);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(view.mapToGlobal(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, to);
    QCOMPARE(frame.pos(), start + QPoint(40, 25));
  }

  void selectButtonsChooseTheShownOutput() {
    ProgramState state;
    CVantorDoc doc(state);
    doc.Data().LoadOutputs();
    CMainFrame frame(doc);
    CVantorView& view = frame.View();
    view.OnInitialUpdate();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(view.GraphRow().Graph().Mode(), kGraphModeOutput);
    QCOMPARE(view.GraphRow().Graph().Model().OutputIndex(), 0);
    QCOMPARE(view.Strips().SelectButton(0).State(), 1);

    QTest::mouseClick(&view.Strips().SelectButton(3), Qt::LeftButton);
    QCOMPARE(view.CurrentChannel(), 3);
    QCOMPARE(state.currentOutput.load(), 3);
    QCOMPARE(view.GraphRow().Graph().Model().OutputIndex(), 3);
    QCOMPARE(view.Strips().SelectButton(3).State(), 1);
    QCOMPARE(view.Strips().SelectButton(0).State(), 0);

    // Pressing the current channel's button again changes nothing.
    view.GraphRow().Graph().Model().MouseMove(
        {doc.Data().Output(3).Filter(1).HandleRect().Center().x,
         doc.Data().Output(3).Filter(1).HandleRect().Center().y});
    QVERIFY(view.GraphRow().Graph().Model().CurrentFilter() != nullptr);
    QTest::mouseClick(&view.Strips().SelectButton(3), Qt::LeftButton);
    QVERIFY(view.GraphRow().Graph().Model().CurrentFilter() != nullptr);
    QCOMPARE(view.Strips().SelectButton(3).State(), 1);
  }

  void crossoverDragsReachLinkedOutputs() {
    ProgramState state;
    CVantorDoc doc(state);
    doc.Data().LoadOutputs();
    CMainFrame frame(doc);
    CVantorView& view = frame.View();
    view.OnInitialUpdate();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    doc.Data().Links().SetGroup(1, 0);  // outputs 0 and 1 linked

    CFStatic& graph = view.GraphRow().Graph();
    const Point c = doc.Data().Output(0).HighPass().HandleRect().Center();
    graph.Model().MouseMove(c);
    graph.Model().ButtonDown(c);
    graph.Model().MouseMove({c.x + 200, c.y});
    graph.Model().ButtonUp({c.x + 200, c.y});
    const int hz = doc.Data().Output(0).HighPass().Frequency();
    QVERIFY(hz > 100);
    QTRY_COMPARE(doc.Data().Output(1).HighPass().Frequency(), hz);
    QCOMPARE(doc.Data().Output(2).HighPass().Frequency(), 20);
  }

  void languageToggleRelabelsTheMenu() {
    ProgramState state;
    CVantorDoc doc(state);
    CMainFrame frame(doc);
    CVantorView& view = frame.View();
    view.OnInitialUpdate();
    const auto actions = view.TopBar().SystemMenu().actions();
    // Its own entries come first, all working; the editing entries follow (EditingTest).
    QVERIFY(actions.size() > 4);
    for (int i = 0; i < 4; ++i) QVERIFY(actions[i]->isEnabled());
    QCOMPARE(actions[0]->text(), QStringLiteral("固件更新"));
    QCOMPARE(actions[1]->text(), QStringLiteral("参数报表"));
    QCOMPARE(actions[2]->text(), QStringLiteral("英文"));
    actions[2]->trigger();
    QVERIFY(!state.chinese.load());
    QCOMPARE(actions[0]->text(), QStringLiteral("Firmware Update"));
    QCOMPARE(actions[1]->text(), QStringLiteral("Parameter report"));
    QCOMPARE(actions[2]->text(), QStringLiteral("Chinese"));
    QCOMPARE(actions[3]->text(), QStringLiteral("About"));
    view.ToggleLanguage();
    QCOMPARE(actions[3]->text(), QStringLiteral("关于"));
  }

  // The message boxes' buttons and the file chooser are Qt's: they follow the language too.
  void qtsOwnTextsFollowTheLanguage() {
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    {
      ProgramState state;
      CVantorDoc doc(state);
      CMainFrame frame(doc);
      CVantorView& view = frame.View();
      view.OnInitialUpdate();
      QCOMPARE(cancel(), QStringLiteral("取消"));
      view.ToggleLanguage();
      QCOMPARE(cancel(), QStringLiteral("Cancel"));
      view.ToggleLanguage();
      QCOMPARE(cancel(), QStringLiteral("取消"));
    }
    // A form that goes takes its translation with it.
    QCOMPARE(cancel(), QStringLiteral("Cancel"));
  }

  void theCloseButtonShutsDownAndCloses() {
    ProgramState state;
    CVantorDoc doc(state);
    CMainFrame frame(doc);
    frame.View().OnInitialUpdate();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    TwoStateButton* close = nullptr;
    for (auto* b : frame.View().findChildren<TwoStateButton*>()) {
      if (b->Id() == TopBarPanel::kCloseId) close = b;
    }
    QVERIFY(close != nullptr);
    QSignalSpy closing(&frame.View(), &CVantorView::closeRequested);
    QVERIFY(!frame.View().ClosingHandled());
    QTest::mouseClick(close, Qt::LeftButton);
    QCOMPARE(closing.count(), 1);
    QVERIFY(frame.View().ClosingHandled());
    QVERIFY(!frame.isVisible());
  }

  void registrationRunsExitAtOnce() {
    QCOMPARE(RunProgram({QStringLiteral("/RegServer")}), 0);
    QCOMPARE(RunProgram({QStringLiteral("-unregserver")}), 0);
  }

  void badOptionsEndWithUsage() {
    QString err;
    QCOMPARE(RunProgram({QStringLiteral("--lang"), QStringLiteral("xx")}, &err), 2);
    QVERIFY(err.contains(QStringLiteral("usage")));
  }

  void screenshotWritesTheWholeWindow() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const char* lang : {"en", "zh"}) {
      const QString path = dir.filePath(QStringLiteral("shot-%1.png").arg(QLatin1String(lang)));
      QCOMPARE(RunProgram({QStringLiteral("--lang"), QLatin1String(lang),
                           QStringLiteral("--screenshot"), path, QStringLiteral("--sample-tune")}),
               0);
      const QImage image(path);
      QCOMPARE(image.size(), QSize(1284, 690));
      // The form's colour shows in its body.
      QCOMPARE(image.pixelColor(640, 500), QColor(0xEC, 0xEE, 0xF5));
      QCOMPARE(image.pixelColor(5, 300), QColor(0xE3, 0xE4, 0xEE));
    }
    QCOMPARE(RunProgram({QStringLiteral("--screenshot"),
                         dir.filePath(QStringLiteral("no/such/dir/x.png"))}),
             1);
  }

  void anOpenedWindowIsThePictureWithItsCaption() {
    QTemporaryDir dir;
    for (const char* lang : {"en", "zh"}) {
      const QString path = dir.filePath(QStringLiteral("save-%1.png").arg(QLatin1String(lang)));
      QCOMPARE(RunProgram({QStringLiteral("--demo"), QStringLiteral("--lang"), QLatin1String(lang),
                           QStringLiteral("--open"), QStringLiteral("presets-save"),
                           QStringLiteral("--screenshot"), path}),
               0);
      const QImage image(path);
      QCOMPARE(image.size(), SourceSaveDlg::kSize + QSize(0, CVantorApp::kPictureCaptionHeight));
      // The dialog's body in the form's colour under the caption.
      QCOMPARE(image.pixelColor(5, CVantorApp::kPictureCaptionHeight + 5),
               QColor(0xE3, 0xE4, 0xEE));
    }
  }

  void theDemoIsConnectedAndReadBackBeforeTheScreenshot() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("demo.png"));
    QString err;
    QCOMPARE(RunProgram({QStringLiteral("--demo"), QStringLiteral("--lang"), QStringLiteral("en"),
                         QStringLiteral("--trace"), QStringLiteral("--screenshot"), path},
                        &err),
             0);
    const QImage image(path);
    QCOMPARE(image.size(), QSize(1284, 690));
    // The connect button shows its connected (green) face.
    const QColor face = image.pixelColor(336, 30);
    QVERIFY2(face.green() > face.red() + 40, qPrintable(face.name()));
    // The trace shows the identity read and the read-back of output 7, not the idle polls.
    QVERIFY2(err.contains(QStringLiteral("vantor: > read slot 0 block 4 index 136")),
             qPrintable(err.left(400)));
    QVERIFY(err.contains(QStringLiteral("vantor: > read slot 0 block 3 index 7")));
    QVERIFY(err.contains(QStringLiteral("vantor: < data slot 0 block 3 index 7")));
    QVERIFY(!err.contains(QStringLiteral("block 4 index 3 ")));
  }

  void theDemoProcessorKeepsItsMemoryInItsFile() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("unit.vsim"));
    const QString shot = dir.filePath(QStringLiteral("s.png"));
    {
      auto unit = sim::SimulatedProcessor::Create();
      unit->Modify(
          [](ProgramState& m) { le::PutI16(m.Live(), rec::OutputOffset(3) + rec::kOutGain, 33); });
      QCOMPARE(unit->SaveMemory(file.toStdString()), sim::SimFileStatus::kOk);
    }
    QCOMPARE(RunProgram({QStringLiteral("--demo-state"), file, QStringLiteral("--sample-tune"),
                         QStringLiteral("--screenshot"), shot}),
             0);
    auto unit = sim::SimulatedProcessor::Create();
    QCOMPARE(unit->LoadMemory(file.toStdString()), sim::SimFileStatus::kOk);
    // The file's tuning was used (the example tuning is only for a unit without one).
    QCOMPARE(le::GetI16(unit->Record(0), rec::OutputOffset(3) + rec::kOutGain), 33);
    int firstType = -1;
    unit->Inspect([&](const ProgramState& m) { firstType = m.SpeakerTypes()[0]; });
    QCOMPARE(firstType, 1);  // the example tuning would have made it 5

    // A damaged file is refused and left as it is.
    QFile damaged(file);
    QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("not a processor memory");
    damaged.close();
    QString err;
    QCOMPARE(
        RunProgram({QStringLiteral("--demo-state"), file, QStringLiteral("--screenshot"), shot},
                   &err),
        2);
    QVERIFY(err.contains(file));
    QVERIFY(damaged.open(QIODevice::ReadOnly));
    QCOMPARE(damaged.readAll(), QByteArray("not a processor memory"));
  }

  void theDemoFileFollowsTheUnitWhileItRunsAndIsNotShared() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("unit.vsim"));
    std::string error;
    auto host = DeviceHost::Demo({file.toStdString(), false}, false, &error);
    QVERIFY2(host != nullptr, error.c_str());
    host->Unit()->Modify([](ProgramState& m) { m.Slot(2)[0] = 'R'; });
    // No save is asked for: the change reaches the file on its own, as a crash would find it.
    const auto slotInFile = [&] {
      auto reader = sim::SimulatedProcessor::Create();
      return reader->LoadMemory(file.toStdString()) == sim::SimFileStatus::kOk
                 ? reader->Record(2)[0]
                 : std::uint8_t{0};
    };
    QTRY_COMPARE_WITH_TIMEOUT(slotInFile(), std::uint8_t{'R'}, 5000);

    // A second program on the same file is refused, with the reason (the program prints it
    // and exits with 2, as for a damaged file).
    std::string second;
    QVERIFY(DeviceHost::Demo({file.toStdString(), false}, false, &second) == nullptr);
    QCOMPARE(second,
             file.toStdString() + ": the simulated device file is in use by another program");
    host->Unit()->Modify([](ProgramState& m) { m.Slot(2)[0] = 'S'; });
    QVERIFY(host->SaveDemoState(false, &error));
    QCOMPARE(slotInFile(), std::uint8_t{'S'});
  }

  void aScaledDisplayDoesNotScaleTheForm() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("scaled.png"));
    QCOMPARE(RunProgram({QStringLiteral("--screenshot"), path}, nullptr, QStringLiteral("1.5")), 0);
    QCOMPARE(QImage(path).size(), QSize(1284, 690));
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::ApplicationTest)
#include "ApplicationTest.moc"
