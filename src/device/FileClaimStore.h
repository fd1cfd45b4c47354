#pragma once
// Device claims as files, one per claimed path, holding the claiming process's id. A claim
// whose process has ended (a copy that crashed) counts as unclaimed, so it cannot block
// automatic connection for ever.

#include <filesystem>

#include "link/ClaimStore.h"

namespace vantor {

class FileClaimStore : public ClaimStore {
 public:
  // Claims live in `folder` (created if needed); by default the runtime directory.
  explicit FileClaimStore(std::filesystem::path folder);
  FileClaimStore();

  bool IsPathUnclaimed(const std::string& path) override;
  bool ClaimPath(const std::string& path) override;
  void ReleaseClaim(const std::string& path) override;

 private:
  std::filesystem::path FileFor(const std::string& path) const;

  std::filesystem::path m_folder;
};

}  // namespace vantor
