#pragma once
// The check every file the tool writes passes before anything is read or sent: it has a
// name, and it is none of the files the same command reads (compared as files, so that a
// link or a "./" form of an input is caught as well).

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace vantor::cli {

struct GlobalOptions;

// Why `output` may not be written, in the chosen language; nothing when it may.
std::optional<std::string> OutputProblem(const std::filesystem::path& output,
                                         const std::vector<std::filesystem::path>& inputs,
                                         bool chinese);

// The simulated processor's memory file (--sim-state) is read when a device command starts
// and written while it runs, so no file the command reads or writes may be that file.
// kExitOk, or kExitUsage with the reason written after `prefix`.
int CheckSimStateApart(const std::string& prefix, const std::filesystem::path& path, bool output,
                       const GlobalOptions& options, std::ostream& err);

}  // namespace vantor::cli
