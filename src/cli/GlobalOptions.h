#pragma once
// Options that come before the command: language, the simulated processor and traces.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantor {
class HidBackend;
}

namespace vantor::cli {

// Makes the transport to real processors; tests hand in a backend of their own.
using UsbBackendFactory = std::function<std::unique_ptr<HidBackend>()>;

struct GlobalOptions {
  bool chinese = false;  // the tool speaks English unless asked
  bool sim = false;
  std::optional<std::string> simState;   // memory of the simulated processor, kept between runs
  std::optional<std::string> simFaults;  // e.g. "seed=7,drop=0.01,resend=0.05"
  bool trace = false;
  // Not an option: set by the caller of the tool (null: hidapi).
  UsbBackendFactory usbBackend;
  // What is left: the command and its arguments.
  std::vector<std::string> rest;
};

// Takes the global options off the front of `args`. On a bad option returns nothing and
// sets `error` to a one-line reason.
std::optional<GlobalOptions> ParseGlobalOptions(const std::vector<std::string>& args,
                                                std::string& error);

}  // namespace vantor::cli
