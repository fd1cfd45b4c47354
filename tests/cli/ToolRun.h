#pragma once
// Runs vantorctl in-process and keeps what it printed.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/CliApp.h"
#include "cli/ExitCodes.h"
#include "cli/PresetImage.h"
#include "connection/LinkRig.h"

namespace vantor::cli::testing {

struct ToolRun {
  int code = -1;
  std::string out;
  std::string err;
  std::vector<std::string> lines;

  // Standard error holds exactly one line.
  bool OneErrorLine() const { return !err.empty() && err.find('\n') == err.size() - 1; }
};

inline ToolRun RunTool(const std::vector<std::string>& args,
                       const CliEnvironment& environment = {}) {
  std::ostringstream out;
  std::ostringstream err;
  ToolRun r;
  r.code = RunCli(args, out, err, environment);
  r.out = out.str();
  r.err = err.str();
  std::istringstream in(r.out);
  for (std::string line; std::getline(in, line);) r.lines.push_back(line);
  return r;
}

inline std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
}

// A preset file loaded as the tool loads it; a test failure and nothing when it cannot be.
inline std::unique_ptr<Program> OpenProgram(const std::string& path) {
  std::string error;
  auto image = OpenPresetFile(path, false, error);
  EXPECT_TRUE(image.has_value()) << error;
  return image ? std::move(image->program) : nullptr;
}
// Tests on preset files in a folder of their own.
class PresetFiles : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (dir.Path() / name).string(); }
  // A fresh single-preset file, made by the tool.
  std::string NewFile(const std::string& name) {
    const ToolRun r = RunTool({"preset", "new", Path(name)});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    return Path(name);
  }
  vantor::testing::TempDir dir;
};

}  // namespace vantor::cli::testing
