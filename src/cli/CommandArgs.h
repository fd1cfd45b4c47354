#pragma once
// Argument handling the file commands share: options split from positional words, the
// "--help" test and the pointer to a command's help.

#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vantor::cli {

// Splits off the options named in `known` (true: takes a value); every other word is
// positional. A word starting with '-' and a digit is a number, not an option. False, and
// `error` set, on an unknown option or a missing value.
bool SplitArgs(const std::vector<std::string>& args, const std::map<std::string, bool>& known,
               std::map<std::string, std::string>& options, std::vector<std::string>& positional,
               std::string& error, bool chinese);

// " (see vantorctl COMMAND --help)" and a line end.
std::string SeeHelp(const std::string& command, bool chinese);

bool WantsHelp(const std::vector<std::string>& args);

// The value of --output, "1".."8", as the channel index 0..7. Otherwise nothing, and the
// complaint is written to `err` after "vantorctl COMMAND: ".
std::optional<int> OutputOption(const std::map<std::string, std::string>& options,
                                const std::string& command, bool chinese, std::ostream& err);

}  // namespace vantor::cli
