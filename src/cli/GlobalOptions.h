#pragma once
// Options that come before the command: language, the simulated processor and traces.

#include <optional>
#include <string>
#include <vector>

namespace vantor::cli {

struct GlobalOptions {
  bool chinese = false;  // the tool speaks English unless asked
  bool sim = false;
  std::optional<std::string> simState;   // memory of the simulated processor, kept between runs
  std::optional<std::string> simFaults;  // e.g. "seed=7,drop=0.01,resend=0.05"
  bool trace = false;
  // What is left: the command and its arguments.
  std::vector<std::string> rest;
};

// Takes the global options off the front of `args`. On a bad option returns nothing and
// sets `error` to a one-line reason.
std::optional<GlobalOptions> ParseGlobalOptions(const std::vector<std::string>& args,
                                                std::string& error);

}  // namespace vantor::cli
