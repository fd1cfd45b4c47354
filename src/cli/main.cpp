#include <iostream>
#include <string>
#include <vector>

#include "VantorBuildInfo.h"
#include "cli/CliApp.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  vantor::cli::CliEnvironment environment;
  environment.version = VANTOR_VERSION_TEXT;
  environment.commit = VANTOR_COMMIT_TEXT;
  return vantor::cli::RunCli(args, std::cout, std::cerr, environment);
}
