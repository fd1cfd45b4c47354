#include "cli/GlobalOptions.h"

namespace vantor::cli {

std::optional<GlobalOptions> ParseGlobalOptions(const std::vector<std::string>& args,
                                                std::string& error) {
  GlobalOptions o;
  std::size_t i = 0;
  auto value = [&](const std::string& name) -> std::optional<std::string> {
    if (i + 1 >= args.size()) {
      error = name + " needs a value";
      return std::nullopt;
    }
    return args[++i];
  };
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--lang") {
      const auto v = value(a);
      if (!v) return std::nullopt;
      if (*v != "zh" && *v != "en") {
        error = "--lang takes zh or en, not '" + *v + "'";
        return std::nullopt;
      }
      o.chinese = *v == "zh";
    } else if (a == "--sim") {
      o.sim = true;
    } else if (a == "--sim-state") {
      const auto v = value(a);
      if (!v) return std::nullopt;
      o.simState = *v;
    } else if (a == "--sim-faults") {
      const auto v = value(a);
      if (!v) return std::nullopt;
      o.simFaults = *v;
    } else if (a == "--trace") {
      o.trace = true;
    } else {
      break;
    }
  }
  if ((o.simState || o.simFaults) && !o.sim) {
    error = "--sim-state and --sim-faults need --sim";
    return std::nullopt;
  }
  o.rest.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
  return o;
}

}  // namespace vantor::cli
