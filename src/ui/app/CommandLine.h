#pragma once
// The program's command line. "RegServer" and "UnregServer" after "/" or "-" (any case)
// are looked for before the toolkit starts, so they end the program even where no display
// exists; the options are read afterwards from the arguments the toolkit left.

#include <QString>
#include <QStringList>

namespace vantor {

struct LaunchOptions {
  enum class Action { kRun, kExit, kUsage, kError };
  Action action = Action::kRun;
  bool chinese = true;      // --lang zh (the default) or en
  QString screenshotPath;   // --screenshot FILE.png: draw once, write the image, exit
  bool sampleTune = false;  // --sample-tune: start with an example tuning
  bool demo = false;        // --demo: a simulated processor is plugged in at start-up
  QString demoState;        // --demo-state FILE: the simulated processor's memory (implies --demo)
  bool trace = false;       // --trace: the link's frames on standard error
  QString error;            // what was wrong, for kError
};

// True when the raw arguments (program name first) hold a registration token.
bool IsRegistrationCommand(int argc, const char* const* argv);
bool IsRegistrationToken(const QString& token);

// The arguments without the program name.
LaunchOptions ParseCommandLine(const QStringList& arguments);

QString UsageText();

}  // namespace vantor
