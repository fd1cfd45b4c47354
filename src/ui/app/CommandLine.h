#pragma once
// The program's command line, read and answered before the toolkit starts, so that help,
// the version, registration tokens and mistakes need no display. "RegServer" and
// "UnregServer" after "/" or "-" (any case) end the program wherever they stand. The
// toolkit's own options (-platform NAME, -style NAME, ...) are let through for it.

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

namespace vantor {

struct LaunchOptions {
  enum class Action { kRun, kExit, kUsage, kVersion, kError };
  Action action = Action::kRun;
  bool chinese = true;      // --lang zh (the default) or en
  QString screenshotPath;   // --screenshot FILE.png: draw once, write the image, exit
  bool sampleTune = false;  // --sample-tune: start with an example tuning
  bool demo = false;        // --demo: a simulated processor is plugged in at start-up
  QString demoState;        // --demo-state FILE: the simulated processor's memory (implies --demo)
  QString measurements;     // --measurements FILE: where the measurements are kept
  bool trace = false;       // --trace: the link's frames on standard error
  QString error;            // what was wrong, for kError
};

// True when the raw arguments (program name first) hold a registration token.
bool IsRegistrationCommand(int argc, const char* const* argv);
bool IsRegistrationToken(const QString& token);

// The arguments without the program name.
LaunchOptions ParseCommandLine(const QStringList& arguments);
// The raw arguments, program name first, as text; needs no application object.
QStringList ArgumentsOf(int argc, const char* const* argv);

QString UsageText();

// Where the measurements are kept: the file asked for, beside the simulated processor's
// memory file, or in the user's data folder (nothing when there is none).
std::optional<std::filesystem::path> MeasurementFileOf(const LaunchOptions& options);

}  // namespace vantor
