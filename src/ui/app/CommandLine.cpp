#include "ui/app/CommandLine.h"

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
    } else if (TakeValue(arguments, i, QStringLiteral("--screenshot"), value, error)) {
      if (error.isEmpty() && value.isEmpty())
        error = QStringLiteral("--screenshot needs a file name");
      o.screenshotPath = value;
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
      "              [--screenshot FILE.png] [--sample-tune]\n"
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
      "  /RegServer, /UnregServer  accepted for compatibility; exit at once\n");
}

}  // namespace vantor
