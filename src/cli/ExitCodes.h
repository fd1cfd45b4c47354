#pragma once

namespace vantor::cli {

// What vantorctl returns; scripts rely on these numbers.
enum ExitCode : int {
  kExitOk = 0,
  kExitUsage = 1,
  kExitFile = 2,
  kExitDevice = 3,
};

}  // namespace vantor::cli
