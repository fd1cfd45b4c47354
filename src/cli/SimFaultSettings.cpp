#include "cli/SimFaultSettings.h"

#include <charconv>

namespace vantor::cli {

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
      const auto r = std::from_chars(value.data(), value.data() + value.size(), settings.seed);
      if (r.ec != std::errc() || r.ptr != value.data() + value.size()) {
        error = "--sim-faults: bad seed '" + std::string(value) + "'";
        return std::nullopt;
      }
      continue;
    }
    double chance = 0;
    const auto r = std::from_chars(value.data(), value.data() + value.size(), chance);
    if (r.ec != std::errc() || r.ptr != value.data() + value.size() || chance < 0 || chance > 1) {
      error = "--sim-faults: bad chance '" + std::string(value) + "' for " + std::string(name) +
              " (expected 0..1)";
      return std::nullopt;
    }
    if (name == "drop") {
      settings.rates.dropReply = chance;
    } else if (name == "corrupt") {
      settings.rates.corruptChecksum = chance;
    } else if (name == "resend") {
      settings.rates.resend = chance;
    } else if (name == "split") {
      settings.rates.splitReply = chance;
    } else if (name == "garbage") {
      settings.rates.garbageBefore = chance;
    } else if (name == "empty") {
      settings.rates.emptyData = chance;
    } else if (name == "unplug") {
      settings.rates.unplug = chance;
    } else {
      error = "--sim-faults: unknown fault '" + std::string(name) + "'";
      return std::nullopt;
    }
  }
  return settings;
}

}  // namespace vantor::cli
