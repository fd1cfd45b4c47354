#include "ui/app/CommandLine.h"

#include "measure/MeasurementFile.h"

namespace vantor {

bool IsRegistrationToken(const QString& token) {
  if (token.size() < 2 || (token[0] != QLatin1Char('/') && token[0] != QLatin1Char('-'))) {
    return false;
  }
  const QString word = token.mid(1);
  return word.compare(QLatin1String("RegServer"), Qt::CaseInsensitive) == 0 ||
         word.compare(QLatin1String("UnregServer"), Qt::CaseInsensitive) == 0;
}

bool IsRegistrationCommand(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    if (argv[i] != nullptr && IsRegistrationToken(QString::fromLocal8Bit(argv[i]))) return true;
  }
  return false;
}

QStringList ArgumentsOf(int argc, const char* const* argv) {
  QStringList list;
  for (int i = 0; i < argc; ++i) {
    if (argv[i] != nullptr) list.append(QString::fromLocal8Bit(argv[i]));
  }
  return list;
}

namespace {

// "--name value" or "--name=value"; advances i past what it used.
bool TakeValue(const QStringList& args, int& i, const QString& name, QString& value,
               QString& error) {
  const QString& a = args[i];
  if (a == name) {
    if (i + 1 >= args.size()) {
      error = QStringLiteral("%1 needs a value").arg(name);
      return true;
    }
    value = args[++i];
    return true;
  }
  if (a.startsWith(name + QLatin1Char('='))) {
    value = a.mid(name.size() + 1);
    return true;
  }
  return false;
}

// The toolkit's own options, which it takes out of the arguments when it starts; with one
// dash or two, a value separate or after "=".
constexpr const char* kToolkitOptionsWithValue[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "style",  "stylesheet",
    "display",     "geometry",           "qmljsdebugger"};
constexpr const char* kToolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// Advances i past a toolkit option (and its value); false when `a` is none.
bool SkipToolkitOption(const QStringList& args, int& i, QString& error) {
  const QString& a = args[i];
  QString word = a;
  if (word.startsWith(QLatin1String("--"))) {
    word = word.mid(2);
  } else if (word.startsWith(QLatin1Char('-'))) {
    word = word.mid(1);
  } else {
    return false;
  }
  for (const char* flag : kToolkitFlags) {
    if (word == QLatin1String(flag)) return true;
  }
  const QString name = word.section(QLatin1Char('='), 0, 0);
  for (const char* option : kToolkitOptionsWithValue) {
    if (name != QLatin1String(option)) continue;
    if (word.contains(QLatin1Char('='))) return true;
    if (i + 1 >= args.size()) {
      error = QStringLiteral("%1 needs a value").arg(a);
    } else {
      ++i;
    }
    return true;
  }
  return false;
}

}  // namespace

LaunchOptions ParseCommandLine(const QStringList& arguments) {
  LaunchOptions o;
  for (int i = 0; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    QString value;
    QString error;
    if (IsRegistrationToken(a)) {
      o.action = LaunchOptions::Action::kExit;
      return o;
    }
    if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
      o.action = LaunchOptions::Action::kUsage;
      return o;
    }
    if (a == QLatin1String("--version")) {
      o.action = LaunchOptions::Action::kVersion;
      return o;
    }
    if (a == QLatin1String("--sample-tune")) {
      o.sampleTune = true;
      continue;
    }
    if (a == QLatin1String("--demo")) {
      o.demo = true;
      continue;
    }
    if (a == QLatin1String("--trace")) {
      o.trace = true;
      continue;
    }
    if (TakeValue(arguments, i, QStringLiteral("--lang"), value, error)) {
      if (error.isEmpty()) {
        const QString lang = value.toLower();
        if (lang == QLatin1String("zh")) {
          o.chinese = true;
        } else if (lang == QLatin1String("en")) {
          o.chinese = false;
        } else {
          error = QStringLiteral("--lang takes en or zh, not \"%1\"").arg(value);
        }
      }
    } else if (TakeValue(arguments, i, QStringLiteral("--demo-state"), value, error)) {
      if (error.isEmpty() && value.isEmpty())
        error = QStringLiteral("--demo-state needs a file name");
      o.demoState = value;
      o.demo = true;
    } else if (TakeValue(arguments, i, QStringLiteral("--measurements"), value, error)) {
      if (error.isEmpty() && value.isEmpty())
        error = QStringLiteral("--measurements needs a file name");
      o.measurements = value;
    } else if (TakeValue(arguments, i, QStringLiteral("--screenshot"), value, error)) {
      if (error.isEmpty() && value.isEmpty())
        error = QStringLiteral("--screenshot needs a file name");
      o.screenshotPath = value;
    } else if (SkipToolkitOption(arguments, i, error)) {
      // The toolkit reads it when it starts.
    } else {
      error = QStringLiteral("unknown option \"%1\"").arg(a);
    }
    if (!error.isEmpty()) {
      o.action = LaunchOptions::Action::kError;
      o.error = error;
      return o;
    }
  }
  return o;
}

QString UsageText() {
  return QStringLiteral(
      "usage: vantor [--lang en|zh] [--demo] [--demo-state FILE] [--trace]\n"
      "              [--screenshot FILE.png] [--sample-tune] [--measurements FILE]\n"
      "  --lang en|zh        language at start (default zh)\n"
      "  --demo              work with a simulated processor instead of USB hardware\n"
      "  --demo-state FILE   keep the simulated processor's memory in FILE between runs\n"
      "                      (implies --demo)\n"
      "  --trace             print the frames exchanged with the processor on stderr\n"
      "                      (also VANTOR_TRACE=1; VANTOR_TRACE=all adds the idle polls)\n"
      "  --screenshot FILE   draw the main window once start-up (and with --demo the\n"
      "                      read-back) has finished, write it as PNG and exit\n"
      "  --sample-tune       start with an example tuning on the eight outputs (with\n"
      "                      --demo: in the simulated processor's memory)\n"
      "  --measurements FILE keep the measurements in FILE (default: beside the\n"
      "                      --demo-state file, else measurements.vmeas in the\n"
      "                      user's data folder)\n"
      "  --help              this text\n"
      "  --version           the version and the commit this program was built from\n"
      "  /RegServer, /UnregServer  accepted for compatibility; exit at once\n"
      "Options of the toolkit (-platform NAME, -style NAME, ...) are passed on to it.\n");
}

std::optional<std::filesystem::path> MeasurementFileOf(const LaunchOptions& options) {
  auto path = [](const QString& p) { return std::filesystem::path(p.toStdU16String()); };
  if (!options.measurements.isEmpty()) return path(options.measurements);
  if (options.demo && !options.demoState.isEmpty()) {
    return MeasurementFileFor(path(options.demoState));
  }
  return DefaultMeasurementFile();
}

}  // namespace vantor
