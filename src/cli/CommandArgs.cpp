#include "cli/CommandArgs.h"

#include <cctype>
#include <charconv>
#include <ostream>

#include "cli/CliText.h"

namespace vantor::cli {

std::string SeeHelp(const std::string& command, bool chinese) {
  return Say2(chinese, " (参见 vantorctl ", " (see vantorctl ") + command + " --help)\n";
}

bool WantsHelp(const std::vector<std::string>& args) {
  for (const auto& a : args) {
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

bool SplitArgs(const std::vector<std::string>& args, const std::map<std::string, bool>& known,
               std::map<std::string, std::string>& options, std::vector<std::string>& positional,
               std::string& error, bool chinese) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 1 && a[0] == '-' && std::isdigit(static_cast<unsigned char>(a[1])) == 0) {
      const auto found = known.find(a);
      if (found == known.end()) {
        error = Say2(chinese, "未知选项 '", "unknown option '") + a + "'";
        return false;
      }
      if (found->second) {
        if (i + 1 >= args.size()) {
          error = a + Say2(chinese, " 需要一个值", " needs a value");
          return false;
        }
        options[a] = args[++i];
      } else {
        options[a] = "";
      }
    } else {
      positional.push_back(a);
    }
  }
  return true;
}

std::optional<int> WholeInt(std::string_view s) {
  int v = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
  return v;
}

std::optional<int> OutputOption(const std::map<std::string, std::string>& options,
                                const std::string& command, bool chinese, std::ostream& err) {
  const auto found = options.find("--output");
  const std::string text = found == options.end() ? std::string() : found->second;
  if (text.size() == 1 && text[0] >= '1' && text[0] <= '8') return text[0] - '1';
  err << "vantorctl " << command << ": "
      << Say2(chinese, "--output 取 1..8，不是 '", "--output takes 1..8, not '") << text << "'\n";
  return std::nullopt;
}

}  // namespace vantor::cli
