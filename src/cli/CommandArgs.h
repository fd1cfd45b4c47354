#pragma once
// Argument helpers the file commands share: options split from positional words, the
// help switch, and the pointer to a command's help.

#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::cli {

// " (see vantorctl COMMAND --help)\n" in the chosen language.
std::string SeeHelp(const std::string& command, bool chinese);

// True when --help or -h is among the words.
bool WantsHelp(const std::vector<std::string>& args);

// Splits off the options named in `known` (true: the option takes a value); every other word
// is positional, and so is a word like "-3" that reads as a negative number. False with a
// one-line reason on an unknown option or a missing value.
bool SplitArgs(const std::vector<std::string>& args, const std::map<std::string, bool>& known,
               std::map<std::string, std::string>& options, std::vector<std::string>& positional,
               std::string& error, bool chinese);

// A whole decimal number and nothing else ("12", "-3"); nothing for anything else.
std::optional<int> WholeInt(std::string_view s);

// The value of --output, "1".."8", as the channel index 0..7. Otherwise nothing, and the
// complaint is written to `err` after "vantorctl COMMAND: ".
std::optional<int> OutputOption(const std::map<std::string, std::string>& options,
                                const std::string& command, bool chinese, std::ostream& err);

}  // namespace vantor::cli
