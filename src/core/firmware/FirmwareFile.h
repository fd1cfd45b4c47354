#pragma once
// The firmware file the user chose and the image last loaded from it. The path outlives a
// run: the front end keeps it with its settings and hands it back at start-up, so an
// update without browsing uses the last file chosen.

#include <optional>
#include <string>

#include "firmware/FirmwareImage.h"

namespace vantor {

class FirmwareFile {
 public:
  explicit FirmwareFile(std::string rememberedPath = {});

  // The browse button: `chosen` is what the open-file dialog returned (none: cancelled).
  // A file that does not exist is not taken. True when a file was taken; Path() and
  // FolderText() are then what the front end stores.
  bool ChooseFirmwareFile(const std::optional<std::string>& chosen);
  const std::string& Path() const { return m_path; }
  void SetPath(std::string path) { m_path = std::move(path); }
  // The working directory followed by "/DataFile/*.bin", set when a file is chosen; stored
  // beside the path and used for nothing else.
  const std::string& FolderText() const { return m_folder; }
  void SetFolderText(std::string text) { m_folder = std::move(text); }

  // Reads the file at the path. A file that cannot be read makes the path forgotten, so
  // the next start without browsing fails the same way. On any refusal no image is held.
  FirmwareLoadResult LoadFirmwareImage();
  const std::optional<FirmwareImage>& Image() const { return m_image; }

 private:
  std::string m_path;
  std::string m_folder;
  std::optional<FirmwareImage> m_image;
};

}  // namespace vantor
