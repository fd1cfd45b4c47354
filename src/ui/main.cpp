// vantor: the tuning application.

#include <QApplication>
#include <cstdio>

#include "VantorBuildInfo.h"
#include "base/VersionLine.h"
#include "ui/app/AppSettings.h"
#include "ui/app/CommandLine.h"
#include "ui/app/NamedWindows.h"
#include "ui/app/VantorApp.h"

int main(int argc, char** argv) {
  // Registration requests only update a registration this program does not have.
  if (vantor::IsRegistrationCommand(argc, argv)) return 0;

  // Answered before the toolkit starts: help, the version and mistakes need no display.
  const vantor::LaunchOptions options =
      vantor::ParseCommandLine(vantor::ArgumentsOf(argc, argv).mid(1));
  switch (options.action) {
    case vantor::LaunchOptions::Action::kExit:
      return 0;
    case vantor::LaunchOptions::Action::kUsage:
      std::fputs(vantor::UsageText().toLocal8Bit().constData(), stdout);
      return 0;
    case vantor::LaunchOptions::Action::kListWindows:
      for (const QString& name : vantor::WindowNames()) std::printf("%s\n", qPrintable(name));
      return 0;
    case vantor::LaunchOptions::Action::kVersion:
      std::fputs(vantor::VersionLine("vantor", VANTOR_VERSION_TEXT, VANTOR_COMMIT_TEXT).c_str(),
                 stdout);
      return 0;
    case vantor::LaunchOptions::Action::kError:
      std::fprintf(stderr, "vantor: %s\n%s", options.error.toLocal8Bit().constData(),
                   vantor::UsageText().toLocal8Bit().constData());
      return 2;
    case vantor::LaunchOptions::Action::kRun:
      break;
  }

  vantor::CVantorApp::PrepareProcess();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("TRX-620-Max"));
  QApplication::setOrganizationName(QLatin1String(vantor::settings::kOrganisation));
  // Lets the desktop match the window with the installed menu entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.vantor.Vantor"));

  vantor::CVantorApp vantorApp(options);
  if (!vantorApp.InitInstance()) return vantorApp.ExitCode() != 0 ? vantorApp.ExitCode() : 1;
  return vantorApp.Run();
}
