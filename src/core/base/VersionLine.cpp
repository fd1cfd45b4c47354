#include "base/VersionLine.h"

namespace vantor {

std::string VersionLine(std::string_view program, std::string_view version,
                        std::string_view commit) {
  std::string line(program);
  line += ' ';
  line += version;
  line += " (commit ";
  line += commit.empty() ? std::string_view("unknown") : commit;
  line += ")\n";
  return line;
}

}  // namespace vantor
