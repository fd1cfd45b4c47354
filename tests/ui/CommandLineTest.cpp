// The application's command line is read and answered before the window system is needed:
// help, the version, registration tokens and mistakes work where no display exists, and
// the toolkit's own options are let through to it.

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include "ui/app/CommandLine.h"

namespace vantor {

class CommandLineTest : public QObject {
  Q_OBJECT

 private:
  struct Run {
    bool finished = false;
    bool crashed = false;
    int code = -1;
    QString out;
    QString err;
  };

  // The program on a machine without a display: the X11 window system asked for, and no
  // display to reach.
  static Run RunWithoutDisplay(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VANTOR_EXE), args);
    Run r;
    r.finished = p.waitForFinished(30000);
    if (!r.finished) p.kill();
    r.crashed = p.exitStatus() == QProcess::CrashExit;
    r.code = p.exitCode();
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
  }

 private slots:
  void helpVersionAndMistakesNeedNoDisplay() {
    const Run help = RunWithoutDisplay({QStringLiteral("--help")});
    QVERIFY(help.finished && !help.crashed);
    QCOMPARE(help.code, 0);
    QVERIFY2(help.out.startsWith(QStringLiteral("usage: vantor")), qPrintable(help.out));
    QVERIFY(help.out.contains(QStringLiteral("--version")));

    const Run version = RunWithoutDisplay(
        {QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("--version")});
    QVERIFY(version.finished && !version.crashed);
    QCOMPARE(version.code, 0);
    static const QRegularExpression line(QStringLiteral(
        "^vantor \\d+\\.\\d+\\.\\d+ \\(commit ([0-9a-f]{12}(-dirty)?|unknown)\\)\\n$"));
    QVERIFY2(line.match(version.out).hasMatch(), qPrintable(version.out));

    const Run bad = RunWithoutDisplay({QStringLiteral("--frobnicate")});
    QVERIFY(bad.finished && !bad.crashed);
    QCOMPARE(bad.code, 2);
    QVERIFY(bad.err.contains(QStringLiteral("unknown option \"--frobnicate\"")));
    QVERIFY(bad.err.contains(QStringLiteral("usage: vantor")));

    const Run registration = RunWithoutDisplay({QStringLiteral("/RegServer")});
    QVERIFY(registration.finished && !registration.crashed);
    QCOMPARE(registration.code, 0);

    // What these runs got past: starting the window itself here fails.
    const Run window = RunWithoutDisplay({});
    QVERIFY(window.finished);
    QVERIFY(window.crashed || window.code != 0);
  }

  void versionIsAnActionOfItsOwn() {
    QCOMPARE(ParseCommandLine({QStringLiteral("--version")}).action,
             LaunchOptions::Action::kVersion);
    // The first of help, version and a mistake decides.
    QCOMPARE(ParseCommandLine({QStringLiteral("--version"), QStringLiteral("--bogus")}).action,
             LaunchOptions::Action::kVersion);
    QCOMPARE(ParseCommandLine({QStringLiteral("--bogus"), QStringLiteral("--version")}).action,
             LaunchOptions::Action::kError);
  }

  void theToolkitsOptionsAreLetThrough() {
    const LaunchOptions o = ParseCommandLine(
        {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--lang"),
         QStringLiteral("en"), QStringLiteral("-style=fusion"), QStringLiteral("--reverse"),
         QStringLiteral("-qwindowtitle"), QStringLiteral("--demo"), QStringLiteral("--trace")});
    QCOMPARE(o.action, LaunchOptions::Action::kRun);
    QVERIFY(!o.chinese);
    // "--demo" was the title's value, not the option.
    QVERIFY(!o.demo);
    QVERIFY(o.trace);

    const LaunchOptions missing = ParseCommandLine({QStringLiteral("--platform")});
    QCOMPARE(missing.action, LaunchOptions::Action::kError);
    QVERIFY(missing.error.contains(QStringLiteral("--platform")));
    QCOMPARE(ParseCommandLine({QStringLiteral("-platforms"), QStringLiteral("x")}).action,
             LaunchOptions::Action::kError);
    QCOMPARE(ParseCommandLine({QStringLiteral("-frobnicate")}).action,
             LaunchOptions::Action::kError);
  }

  void theMeasurementsLiveWhereAskedOrBesideTheDemosMemory() {
    const LaunchOptions asked =
        ParseCommandLine({QStringLiteral("--demo-state"), QStringLiteral("/tmp/unit.vsim"),
                          QStringLiteral("--measurements=/tmp/car.vmeas")});
    QCOMPARE(asked.action, LaunchOptions::Action::kRun);
    QCOMPARE(MeasurementFileOf(asked), std::optional<std::filesystem::path>("/tmp/car.vmeas"));
    const LaunchOptions demo =
        ParseCommandLine({QStringLiteral("--demo-state"), QStringLiteral("/tmp/unit.vsim")});
    QCOMPARE(MeasurementFileOf(demo), std::optional<std::filesystem::path>("/tmp/unit.vsim.vmeas"));
    QCOMPARE(ParseCommandLine({QStringLiteral("--measurements")}).action,
             LaunchOptions::Action::kError);
    QCOMPARE(ParseCommandLine({QStringLiteral("--measurements=")}).action,
             LaunchOptions::Action::kError);
  }

  void rawArgumentsAreTakenAsTheyCome() {
    const char* argv[] = {"vantor", "--lang", "en", nullptr, "--screenshot=/tmp/é.png"};
    const QStringList list = ArgumentsOf(5, argv);
    QCOMPARE(list, (QStringList{QStringLiteral("vantor"), QStringLiteral("--lang"),
                                QStringLiteral("en"), QStringLiteral("--screenshot=/tmp/é.png")}));
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::CommandLineTest)
#include "CommandLineTest.moc"
