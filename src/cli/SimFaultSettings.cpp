#include "cli/SimFaultSettings.h"

#include <charconv>
#include <cmath>

namespace vantor::cli {
namespace {

// The seven faults drawn at random, by name, and where their chance goes.
struct RandomFault {
  std::string_view name;
  double sim::SimFaultRates::*rate;
};
constexpr RandomFault kRandomFaults[] = {
    {"drop", &sim::SimFaultRates::dropReply},
    {"corrupt", &sim::SimFaultRates::corruptChecksum},
    {"resend", &sim::SimFaultRates::resend},
    {"split", &sim::SimFaultRates::splitReply},
    {"garbage", &sim::SimFaultRates::garbageBefore},
    {"empty", &sim::SimFaultRates::emptyData},
    {"unplug", &sim::SimFaultRates::unplug},
};

// The faults that happen once, at the N-th frame they apply to.
struct OnceFault {
  std::string_view name;
  sim::SimFault (*make)(int onFrame);
};
constexpr OnceFault kOnceFaults[] = {
    {"stop", &sim::SimFault::StopAnswering},
    {"babble", &sim::SimFault::Babble},
    {"noreturn", &sim::SimFault::NoReturn},
};

template <typename T>
bool WholeNumber(std::string_view text, T& value) {
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && r.ec == std::errc() && r.ptr == text.data() + text.size();
}

}  // namespace

std::optional<SimFaultSettings> ParseSimFaultSettings(std::string_view text, std::string& error) {
  SimFaultSettings settings;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::string_view pair =
        text.substr(start, comma == std::string_view::npos ? text.size() - start : comma - start);
    start = comma == std::string_view::npos ? text.size() : comma + 1;
    const std::size_t eq = pair.find('=');
    if (eq == std::string_view::npos) {
      error = "--sim-faults: '" + std::string(pair) + "' is not name=value";
      return std::nullopt;
    }
    const std::string_view name = pair.substr(0, eq);
    const std::string_view value = pair.substr(eq + 1);
    if (name == "seed") {
      if (!WholeNumber(value, settings.seed)) {
        error = "--sim-faults: bad seed '" + std::string(value) + "'";
        return std::nullopt;
      }
      continue;
    }
    if (name == "identity") {
      settings.once.push_back(sim::SimFault::WrongIdentity(std::string(value)));
      continue;
    }
    bool known = false;
    for (const OnceFault& f : kOnceFaults) {
      if (name != f.name) continue;
      int frame = 0;
      if (!WholeNumber(value, frame) || frame < 1) {
        error = "--sim-faults: bad frame '" + std::string(value) + "' for " + std::string(name) +
                " (expected 1, 2, ...)";
        return std::nullopt;
      }
      settings.once.push_back(f.make(frame));
      known = true;
    }
    for (const RandomFault& f : kRandomFaults) {
      if (name != f.name) continue;
      double chance = 0;
      const auto r = std::from_chars(value.data(), value.data() + value.size(), chance);
      // from_chars also reads "nan" and "inf"; no chance is either.
      if (r.ec != std::errc() || r.ptr != value.data() + value.size() || !std::isfinite(chance) ||
          chance < 0 || chance > 1) {
        error = "--sim-faults: bad chance '" + std::string(value) + "' for " + std::string(name) +
                " (expected 0..1)";
        return std::nullopt;
      }
      settings.rates.*f.rate = chance;
      known = true;
    }
    if (!known) {
      error = "--sim-faults: unknown fault '" + std::string(name) + "'";
      return std::nullopt;
    }
  }
  return settings;
}

std::string SimFaultHelp() {
  return "  FAULTS (comma-separated):\n"
         "    drop|corrupt|resend|split|garbage|empty|unplug=0..1   chance per frame\n"
         "    stop|babble=N       at the N-th frame: stop answering / send garbage\n"
         "    noreturn=N          the N-th firmware start packet: never back on USB\n"
         "    identity=TEXT       answer the identity read with TEXT\n"
         "    seed=N              seed of the random faults\n";
}

}  // namespace vantor::cli
