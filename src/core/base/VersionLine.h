#pragma once
// What `--version` prints, the same for every program of the project.

#include <string>
#include <string_view>

namespace vantor {

// "PROGRAM VERSION (commit COMMIT)" and a newline; an empty commit reads "unknown".
std::string VersionLine(std::string_view program, std::string_view version,
                        std::string_view commit);

}  // namespace vantor
