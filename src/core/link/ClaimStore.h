#pragma once
// Claims on device paths, shared by every running copy of the program: a copy that has a
// device open claims its path, and other copies do not connect to a claimed device on
// their own when it is plugged in.

#include <string>

namespace vantor {

class ClaimStore {
 public:
  virtual ~ClaimStore() = default;
  // True when no running copy holds a claim on the path.
  virtual bool IsPathUnclaimed(const std::string& path) = 0;
  virtual bool ClaimPath(const std::string& path) = 0;
  virtual void ReleaseClaim(const std::string& path) = 0;
};

}  // namespace vantor
